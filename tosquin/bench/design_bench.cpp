// Designing the shipped example project: the whole `calcular` run (every
// bisection round rebuilds its class lists and breakpoints).
#include "common/canvas.h"
#include "common/ports.h"
#include "common/provision.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph.h"
#include "tosquin/engine/profile.h"
#include "tosquin/engine/project_files.h"
#include "tosquin/engine/reference_files.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace velmora;
using namespace velmora::tosquin;

void BM_CalcularExample(benchmark::State& state) {
    const std::filesystem::path shipped = TOSQUIN_DATA_DIR;
    const auto db = std::filesystem::temp_directory_path() / "velmora-tosquin-bench";
    provision_reference_files(shipped, db);
    Document doc;
    doc.carpetadatos = db;
    leerarchivos(doc);
    nuevoproyecto(doc);
    abrir(doc, shipped / "examples" / "quebrada_honda.lin");
    RecordingCanvas canvas;
    dibujargrafica(doc, canvas);
    ScriptedMessages messages;
    for (auto _ : state) {
        canvas.calls.clear();
        canvas.ops.clear();
        benchmark::DoNotOptimize(calcular(doc, messages, &canvas, true));
    }
    std::filesystem::remove_all(db);
}
BENCHMARK(BM_CalcularExample)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The budget program's readers: one target per file, chosen by
// VELMORA_FUZZ_FILE (a project extension such as ".com", or the name of a
// catalogue file). The input replaces that file of the example project or of
// the catalogue folder; the program then starts, opens the example and builds
// its report, the steps that use what was read.
#include "fuzz/fuzz_support.h"

#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "budget/engine/report.h"

namespace {

using namespace velmora;
namespace fs = std::filesystem;

const std::string kFile = VELMORA_FUZZ_FILE;
bool project_file() { return kFile.front() == '.'; }

struct Setup {
    fs::path files, project, target;
};

const Setup& setup() {
    static const Setup s = [] {
        Setup out;
        out.files = fuzz::scratch() / "Files";
        fuzz::copy_files(fuzz::data_dir() / "budget", out.files);
        const fs::path projects = fuzz::scratch() / "Projects";
        fuzz::copy_files(fuzz::data_dir() / "budget" / "examples", projects);
        out.project = projects / "los_pinos.bfl";
        out.target = project_file() ? fs::path(out.project).replace_extension(kFile) : out.files / kFile;
        return out;
    }();
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    velmora::fuzz::seed_corpus(*argc, *argv, setup().target);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Setup& s = setup();
    fuzz::write_file(s.target, data, size);
    budget::Document doc;
    doc.files_dir = s.files;
    doc.projects_dir = s.project.parent_path();
    doc.today = "11/12/2026";
    ScriptedMessages messages;
    messages.set_default_yes(false);
    // The counts of the works catalogue and the bill quantities are read
    // strictly; a value that is not a number stops the command with a
    // conversion error naming its file.
    try {
        if (!fuzz::expect_file_errors([&] {
                budget::inicializardatos(doc, messages);
                budget::inicializar(doc);
                budget::cargarproyecto(doc, s.project);
            }))
            return 0;
        fuzz::expect_file_errors([&] {
            budget::diametros(doc);
            budget::rebuild_report(doc);
        });
    } catch (const ConversionError&) {
    }
    return 0;
}

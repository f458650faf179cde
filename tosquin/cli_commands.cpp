// `velmora tosquin calc` and the Tosquin demo.
#include "cli/args.h"
#include "cli/registry.h"
#include "common/canvas.h"
#include "common/errors.h"
#include "common/ports.h"
#include "common/provision.h"
#include "common/textfile.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph.h"
#include "tosquin/engine/profile.h"
#include "tosquin/engine/project_files.h"
#include "tosquin/engine/reference_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::tosquin;

namespace {

bool same_file(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// The window's start-up, "Open" and design, headless. Throws FileError on
// unreadable input.
RunResult design_project(Document& doc, const fs::path& lin, Messages& messages, Canvas& canvas) {
    leerarchivos(doc);
    nuevoproyecto(doc);
    abrir(doc, lin);
    dibujargrafica(doc, canvas);
    return calcular(doc, messages, &canvas, true);
}

int run_tosquin(const std::vector<std::string>& words) {
    cli::Args args(words, {"data", "csv", "answer"});
    const auto& pos = args.positional();
    if (pos.size() != 2 || pos[0] != "calc") throw cli::UsageError("expected: calc PROJECT.lin");
    const fs::path lin = pos[1];
    const fs::path data = args.require("data");
    const fs::path csv = args.require("csv");
    const bool yes = args.choice("answer", {"yes", "no"}, "yes") == "yes";

    for (const char* ext : {".lin", ".des", ".top"})
        if (same_file(csv, fs::path(lin).replace_extension(ext)))
            throw cli::UsageError("the CSV file must not be one of the project's own files");
    if (!fs::is_directory(data)) {
        std::fprintf(stderr, "Error: the database folder \"%s\" does not exist\n", data.string().c_str());
        return 2;
    }
    if (!fs::is_regular_file(lin)) {
        std::fprintf(stderr, "Error: the project file \"%s\" does not exist\n", lin.string().c_str());
        return 2;
    }

    StreamMessages messages(stderr, "Tosquin", yes);
    Document doc;
    doc.carpetadatos = data;
    RecordingCanvas canvas;
    RunResult result;
    try {
        result = design_project(doc, lin, messages, canvas);
    } catch (const FileError& e) {
        messages.error(e.what());
        return 2;
    }
    try {
        textfile::write_lines(csv, sheet_lines(doc));
    } catch (const FileError& e) {
        messages.error(e.what());
        return 2;
    }
    if (result != RunResult::Completed) return 1;
    std::printf("%s\n", cost_text(doc).c_str());
    return 0;
}

int demo_tosquin(const cli::DemoContext& ctx) {
    const fs::path shipped = ctx.data_dir / "tosquin";
    const fs::path database = ctx.out_dir / "Database";
    provision_reference_files(shipped, database);
    std::vector<fs::path> projects;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(shipped / "examples", ec))
        if (e.path().extension() == ".lin") projects.push_back(e.path());
    std::sort(projects.begin(), projects.end());
    if (projects.empty()) {
        std::printf("Tosquin  no example project in %s\n", (shipped / "examples").string().c_str());
        return 1;
    }
    int status = 0;
    for (const auto& lin : projects) {
        StreamMessages messages(stdout, "Tosquin", true);
        Document doc;
        doc.carpetadatos = database;
        SvgCanvas canvas(doc.graph.width, doc.graph.height);
        try {
            RunResult result = design_project(doc, lin, messages, canvas);
            const std::string base = lin.stem().string();
            textfile::write_lines(ctx.out_dir / (base + " -SpreadSheet.csv"), sheet_lines(doc));
            textfile::write_text(ctx.out_dir / (base + ".svg"), canvas.document(), textfile::Encoding::Utf8);
            guardararchivos(doc, ctx.out_dir / lin.filename());
            int stretches = 0;
            for (int r = 1; r < doc.StringGrid1.row_count(); ++r)
                if (doc.StringGrid1(0, r).rfind("Section", 0) != 0) ++stretches;
            std::printf("Tosquin  %s: %d section(s), %d stretch(es), %s -> %s\n", lin.filename().string().c_str(),
                        doc.nsecciones, stretches,
                        result == RunResult::Completed ? cost_text(doc).c_str() : "design stopped",
                        ctx.out_dir.string().c_str());
            if (result != RunResult::Completed) status = 1;
        } catch (const std::exception& e) {
            std::printf("Tosquin  %s: %s\n", lin.filename().string().c_str(), e.what());
            status = 1;
        }
    }
    return status;
}

const cli::Registration registration{
    {"tosquin", "calc PROJECT.lin --data DATABASE_DIR --csv OUT.csv [--answer yes|no]", &run_tosquin},
    {"Tosquin", &demo_tosquin}};

}  // namespace

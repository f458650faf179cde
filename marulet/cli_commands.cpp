// `velmora marulet calc` and the Marulet demo.
#include "cli/args.h"
#include "cli/registry.h"
#include "common/errors.h"
#include "common/ports.h"
#include "common/provision.h"
#include "common/textfile.h"
#include "marulet/engine/calculation.h"
#include "marulet/engine/project_files.h"
#include "marulet/engine/reference_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::marulet;

namespace {

constexpr const char* kUsage =
    "calc PROJECT.sew --data DATABASE_DIR --csv OUT.csv [--view current|future] [--answer yes|no]";

int exit_status(Outcome outcome) { return outcome == Outcome::Done ? 0 : 1; }

int run_marulet(const std::vector<std::string>& words) {
    cli::Args args(words, {"data", "csv", "view", "answer"});
    const auto& pos = args.positional();
    if (pos.size() != 2 || pos[0] != "calc") throw cli::UsageError("expected: marulet " + std::string(kUsage));
    const fs::path project = pos[1];
    const fs::path database = args.require("data");
    const fs::path csv = args.require("csv");
    const bool future = args.choice("view", {"current", "future"}, "current") == "future";
    const bool yes = args.choice("answer", {"yes", "no"}, "yes") == "yes";

    StreamMessages messages(stderr, "Marulet", yes);
    NullProgress progress;
    Document doc;
    try {
        start_up(doc, database);
        if (!fs::is_regular_file(project))
            throw FileError(textfile::file_message(project, "the project file does not exist"));
        open_project(doc, project, 1);
    } catch (const FileError& e) {
        std::fprintf(stderr, "Error: %s\n", e.what());
        return 2;
    }

    Outcome outcome = calcular(doc, messages, progress);
    if (outcome == Outcome::Refused || outcome == Outcome::Stopped) return 1;
    if (future) {
        Outcome view = view_future(doc, messages, progress);
        if (view == Outcome::Stopped) return 1;
        if (view != Outcome::Done) outcome = view;
    }
    try {
        write_text_export(doc, csv);
    } catch (const FileError& e) {
        std::fprintf(stderr, "Error: %s\n", e.what());
        return 1;
    }
    return exit_status(outcome);
}

int demo_marulet(const cli::DemoContext& ctx) {
    const fs::path shipped = ctx.data_dir / "marulet";
    const fs::path database = ctx.out_dir / "Database";
    fs::create_directories(database);
    provision_reference_files(shipped, database);
    std::vector<fs::path> projects;
    if (fs::is_directory(shipped / "examples"))
        for (const auto& entry : fs::directory_iterator(shipped / "examples"))
            if (entry.path().extension() == ".sew") projects.push_back(entry.path());
    std::sort(projects.begin(), projects.end());
    if (projects.empty()) {
        std::printf("Marulet  no example projects in %s\n", (shipped / "examples").string().c_str());
        return 1;
    }
    int status = 0;
    for (const auto& project : projects) {
        StreamMessages messages(stderr, "Marulet", true);
        NullProgress progress;
        Document doc;
        try {
            start_up(doc, database);
            open_project(doc, project, 1);
            Outcome outcome = calcular(doc, messages, progress);
            if (outcome != Outcome::Done) {
                std::printf("Marulet  %s: not designed\n", project.filename().string().c_str());
                status = 1;
                continue;
            }
            const std::string base = project.stem().string();
            write_text_export(doc, ctx.out_dir / (base + " -SpreadSheet.csv"));
            double low = 1e300, high = -1e300;
            const int nl = data_rows(doc);
            for (int k = 0; k < nl; ++k) {
                low = std::min(low, doc.pendiente[static_cast<size_t>(k)]);
                high = std::max(high, doc.pendiente[static_cast<size_t>(k)]);
            }
            double outlet_flow = 0;
            for (const auto& route : doc.RutaList)
                outlet_flow = std::max(outlet_flow, doc.actual.qacumulado[static_cast<size_t>(route.back() - 1)]);
            if (view_future(doc, messages, progress) == Outcome::Done) {
                write_text_export(doc, ctx.out_dir / (base + " -SpreadSheet (future).csv"));
                double future_flow = 0;
                for (const auto& route : doc.RutaList)
                    future_flow = std::max(future_flow, doc.futuro.qacumulado[static_cast<size_t>(route.back() - 1)]);
                std::printf("Marulet  %s: %d pipes, %zu routes, design slopes %.3f-%.3f %%, outlet flow %.2f L/s "
                            "now, %.2f L/s at the end of the period -> %s\n",
                            project.filename().string().c_str(), nl, doc.RutaList.size(), low, high, outlet_flow,
                            future_flow, ctx.out_dir.string().c_str());
            } else {
                status = 1;
            }
        } catch (const std::exception& e) {
            std::printf("Marulet  %s: %s\n", project.filename().string().c_str(), e.what());
            status = 1;
        }
    }
    return status;
}

const cli::Registration registration{{"marulet", kUsage, &run_marulet}, {"Marulet", &demo_marulet}};

}  // namespace

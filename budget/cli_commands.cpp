// `velmora budget report ...` and the budget demo.
#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "budget/engine/report_export.h"
#include "cli/args.h"
#include "cli/registry.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/provision.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace velmora::budget {
namespace {

constexpr const char* kNoticeTitle = "Budget";

enum class Stage { Ok, Unreadable, Stopped };

struct Priced {
    Stage stage = Stage::Ok;
    std::string message;
};

// Loads the catalogues as at start, opens the project and rebuilds the
// report. Messages go to `messages`; a failure is returned, not thrown.
Priced price_project(Document& doc, const fs::path& bfl, Messages& messages) {
    try {
        inicializardatos(doc, messages);
        inicializar(doc);
    } catch (const std::exception& e) {
        return {Stage::Unreadable, e.what()};
    }
    check_component_bills(doc, messages);
    try {
        doc.project_file = bfl;
        cargarproyecto(doc, bfl);
    } catch (const FileError& e) {
        return {Stage::Unreadable, e.what()};
    } catch (const std::exception& e) {
        return {Stage::Stopped, e.what()};
    }
    doc.report_outdated = true;
    doc.saved = true;
    try {
        reports_tab_shown(doc);
    } catch (const std::exception& e) {
        return {Stage::Stopped, e.what()};
    }
    return {};
}

int run_budget(const std::vector<std::string>& words) {
    if (words.empty() || words[0] != "report") throw cli::UsageError("expected the command 'report'");
    cli::Args args(std::vector<std::string>(words.begin() + 1, words.end()), {"data", "csv-dir", "xlsx"});
    if (args.positional().size() != 1) throw cli::UsageError("expected one project file (PROJECT.bfl)");
    fs::path bfl = args.positional()[0];
    Document doc;
    doc.files_dir = args.require("data");
    fs::path csv_dir = args.require("csv-dir");
    auto xlsx = args.get("xlsx");
    doc.projects_dir = bfl.parent_path();

    StreamMessages messages(stderr, kNoticeTitle, false);
    Priced priced = price_project(doc, bfl, messages);
    if (priced.stage != Stage::Ok) {
        messages.error(priced.message);
        return priced.stage == Stage::Unreadable ? 2 : 1;
    }
    try {
        fs::create_directories(csv_dir);
        write_report_csv(doc, csv_dir);
        if (xlsx) write_report_workbook(doc, *xlsx);
    } catch (const std::exception& e) {
        messages.error(e.what());
        return 1;
    }
    return 0;
}

int demo_budget(const cli::DemoContext& ctx) {
    fs::path shipped = ctx.data_dir / "budget";
    fs::path files = ctx.out_dir / "Files";
    fs::create_directories(files);
    provision_reference_files(shipped, files);
    int status = 0;
    std::vector<fs::path> projects;
    for (const auto& entry : fs::directory_iterator(shipped / "examples"))
        if (entry.path().extension() == ".bfl") projects.push_back(entry.path());
    std::sort(projects.begin(), projects.end());
    for (const auto& bfl : projects) {
        Document doc;
        doc.files_dir = files;
        doc.projects_dir = ctx.out_dir;
        StreamMessages messages(stderr, kNoticeTitle, false);
        Priced priced = price_project(doc, bfl, messages);
        if (priced.stage != Stage::Ok) {
            messages.error(priced.message);
            status = 1;
            continue;
        }
        fs::path csv_dir = ctx.out_dir / bfl.stem();
        fs::create_directories(csv_dir);
        write_report_csv(doc, csv_dir);
        fs::path book = report_workbook_name(doc);
        write_report_workbook(doc, book);
        const Grid& b = doc.SG14;
        std::printf("budget   %s: %d components priced, total %s -> %s\n", bfl.filename().string().c_str(),
                    b.row_count() - 16,
                    numtext::format_fixed(numtext::read_lenient(b(4, b.row_count() - 1)), 2, true).c_str(),
                    book.string().c_str());
    }
    return status;
}

const cli::Registration registration{
    {"budget", "report PROJECT.bfl --data FILES_DIR --csv-dir OUT_DIR [--xlsx OUT.xlsx]", &run_budget},
    {"budget", &demo_budget}};

}  // namespace
}  // namespace velmora::budget

// `velmora kelvaro calc`: designs a project headless, and the Kelvaro demo.
#include "cli/args.h"
#include "cli/registry.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/canvas.h"
#include "common/ports.h"
#include "common/provision.h"
#include "common/textfile.h"
#include "kelvaro/engine/design.h"
#include "kelvaro/engine/options.h"
#include "kelvaro/engine/plan_drawing.h"
#include "kelvaro/engine/profile_drawing.h"
#include "kelvaro/engine/project_files.h"
#include "kelvaro/engine/results_export.h"
#include "terrain/contours.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::kelvaro;

namespace {

enum Exit { kDone = 0, kStopped = 1, kUnreadable = 2 };
constexpr int kProfilesWidth = 1600;
constexpr int kProfilesHeight = 900;

struct CalcRequest {
    fs::path project, data, csv, xlsx, profiles_svg;
    bool answer_yes = true;
    fs::path plan_svg;
    std::string contours;  // contour interval; empty: no contour lines
};

// The plan as the plan view draws it (pipelines, node labels, boxes), on a
// drawing area of (largest x + 50) x (largest y + 50), then the contour lines
// at the requested interval.
void write_plan_svg(const Document& doc, const fs::path& file, const std::string& contours) {
    const PlanArea area = plan_drawing_size(doc);
    SvgCanvas svg(area.width, area.height);
    draw_plan(svg, doc, nullptr, 1, 1);
    if (!contours.empty()) {
        terrain::PlanLists plan;
        plan.tramosx = doc.tramosx;
        plan.tramosy = doc.tramosy;
        plan.tramosz = doc.tramosz;
        plan.tramosnudos = doc.tramosnudos;
        terrain::ContourMap map(terrain::Designer::Kelvaro);
        map.definirmalla(plan, svg, contours);
    }
    textfile::write_bytes_atomic(file, svg.document());
}

// Opens the project as "Open" does with the first filter, runs "To Calculate"
// and writes the exports. Messages go to `messages`.
int design_project(const CalcRequest& req, Messages& messages, Document& doc) {
    try {
        doc.carpetadatos = req.data;
        fs::create_directories(req.data);
        ensure_option_files(req.data);
        becoming_active(doc);
        ProjectFiles files = read_project(req.project, true);
        // The two project values are read strictly by the calculation: a value
        // that is no number makes the project file unreadable.
        fs::path bra = req.project;
        bra.replace_extension(".bra");
        const std::pair<int, const std::string*> values[] = {{2, &files.min_pressure}, {3, &files.unit_flow}};
        for (const auto& [line, text] : values)
            if (!numtext::is_number(*text))
                throw FileError("File \"" + bra.string() + "\": line " + std::to_string(line) + ": '" + *text +
                                "' is not a valid floating point value");
        apply_project(doc, std::move(files));
        after_open(doc);
    } catch (const FileError& e) {
        messages.error(e.what());
        return kUnreadable;
    } catch (const ConversionError& e) {
        messages.error(e.what());
        return kUnreadable;
    }
    NullProgress progress;
    if (to_calculate(doc, messages, progress) != CalcResult::Done) return kStopped;
    try {
        if (!req.csv.empty()) write_results_csv(doc, req.csv);
        if (!req.xlsx.empty()) write_results_workbook(doc, req.xlsx);
        if (!req.plan_svg.empty()) write_plan_svg(doc, req.plan_svg, req.contours);
        if (!req.profiles_svg.empty()) {
            // The profiles as the "Profiles" tab draws them on a 1600 x 900 area.
            SvgCanvas canvas(kProfilesWidth, kProfilesHeight);
            dibujarperfiles(doc, canvas, kProfilesWidth, kProfilesHeight, 1, 1, ProfileOptions{});
            textfile::write_bytes_atomic(req.profiles_svg, canvas.document());
        }
    } catch (const FileError& e) {
        messages.error(e.what());
        return kUnreadable;
    } catch (const ConversionError& e) {
        messages.error(e.what());
        return kUnreadable;
    }
    return kDone;
}

int run_kelvaro(const std::vector<std::string>& words) {
    cli::Args args(words, {"data", "csv", "xlsx", "answer", "profiles-svg", "plan-svg", "contours"});
    const auto& pos = args.positional();
    if (pos.size() != 2 || pos[0] != "calc") throw cli::UsageError("expected: kelvaro calc PROJECT.bra --data DIR --csv OUT.csv");
    CalcRequest req;
    req.project = pos[1];
    req.data = args.require("data");
    req.csv = args.require("csv");
    if (auto x = args.get("xlsx")) req.xlsx = *x;
    if (auto svg = args.get("profiles-svg")) req.profiles_svg = *svg;
    req.answer_yes = args.choice("answer", {"yes", "no"}, "yes") == "yes";
    if (auto svg = args.get("plan-svg")) req.plan_svg = *svg;
    if (auto interval = args.get("contours")) {
        if (req.plan_svg.empty()) throw cli::UsageError("--contours needs --plan-svg");
        if (!terrain::interval_redraws(*interval, terrain::Designer::Kelvaro))
            throw cli::UsageError("--contours: a whole number from 1 to " +
                                  std::to_string(terrain::max_contour_interval(terrain::Designer::Kelvaro)));
        req.contours = *interval;
    }
    StreamMessages messages(stderr, "Information", req.answer_yes);
    Document doc;
    return design_project(req, messages, doc);
}

int demo_kelvaro(const cli::DemoContext& ctx) {
    const fs::path shipped = ctx.data_dir / "kelvaro";
    const fs::path database = ctx.out_dir / "Database";
    fs::create_directories(database);
    provision_reference_files(shipped, database);
    int status = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(shipped / "examples", ec)) {
        if (entry.path().extension() != ".bra") continue;
        const std::string stem = entry.path().stem().string();
        CalcRequest req;
        req.project = entry.path();
        req.data = database;
        req.csv = ctx.out_dir / (stem + ".csv");
        req.xlsx = ctx.out_dir / (stem + ".xlsx");
        req.profiles_svg = ctx.out_dir / (stem + "_profiles.svg");
        req.plan_svg = ctx.out_dir / (stem + "_plan.svg");
        req.contours = "10";
        StreamMessages messages(stdout, "Information", true);
        Document doc;
        const int rc = design_project(req, messages, doc);
        if (rc != kDone) {
            status = 1;
            continue;
        }
        const Grid& res = doc.ZCSG5;
        const int total = res.row_count() - 1;
        double lowest = 1e300;
        for (int r = 2; r < total; ++r) lowest = std::min(lowest, numtext::read_lenient(res(18, r)));
        std::printf("Kelvaro  %s: %d pipes in %zu networks, %s m, cost %s, lowest residual pressure %s m -> %s\n",
                    stem.c_str(), total - 2, doc.redlista.size(), res(4, total).c_str(), res(12, total).c_str(),
                    numtext::format_fixed(lowest, 2).c_str(), req.csv.string().c_str());
    }
    return status;
}

const cli::Registration registration{
    {"kelvaro", "calc PROJECT.bra --data DATABASE_DIR --csv OUT.csv [--xlsx OUT.xlsx] [--answer yes|no] "
     "[--profiles-svg OUT.svg] [--plan-svg OUT.svg [--contours N]]", &run_kelvaro},
    {"Kelvaro", &demo_kelvaro}};

}  // namespace

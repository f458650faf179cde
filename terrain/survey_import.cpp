#include "terrain/survey_import.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>

namespace velmora::terrain {
namespace {

// The columns an import reads in the exported view.
struct ImportColumns {
    int x, y, elevation_from, elevation_to, distance, households;
};

bool import_columns(SurveyView view, ImportColumns& out) {
    const SurveyColumns& c = survey_columns(view);
    switch (view) {
        case SurveyView::Planimetry:
            out = {c.total_x, c.total_y, c.elevation_from, c.elevation_to, c.distance, c.households};
            return true;
        case SurveyView::TotalCoordinates:
            out = {c.to_x, c.to_y, c.from_z, c.to_z, c.distance, c.households};
            return true;
        case SurveyView::Altimetry:
            return false;
    }
    return false;
}

double cell_number(const Grid& g, int col, int row) { return numtext::read_lenient(g.cell(col, row)); }

int data_end(const Grid& survey) {
    for (int r = 2; r < survey.row_count(); ++r)
        if (cell_number(survey, 2, r) == 0) return r;
    return survey.row_count();
}

std::string rounded_text(double v) { return numtext::format_int(static_cast<long long>(std::nearbyint(v))); }

struct Placement {
    double min_x, min_y, kx, ky;
    int height;

    std::string x_text(double x) const { return rounded_text((x - min_x) * kx + 30); }
    std::string y_text(double y) const { return rounded_text(height - 50 - (y - min_y) * ky); }
};

Placement placement(const Grid& survey, const ImportColumns& c, int end, PlanArea area, double start_min) {
    double min_x = start_min, min_y = start_min, max_x = 0, max_y = 0;
    for (int r = 2; r < end; ++r) {
        double x = cell_number(survey, c.x, r), y = cell_number(survey, c.y, r);
        min_x = std::min(min_x, x);
        max_x = std::max(max_x, x);
        min_y = std::min(min_y, y);
        max_y = std::max(max_y, y);
    }
    Placement p{};
    p.min_x = min_x;
    p.min_y = min_y;
    p.kx = max_x == min_x ? 100 : (area.width - 100) / (max_x - min_x);
    p.ky = max_y == min_y ? 100 : (area.height - 100) / (max_y - min_y);
    p.height = area.height;
    return p;
}

// The pipeline being built, one entry per point in each list.
struct Pipeline {
    std::vector<std::string> x, y, z, node, flag;
    bool empty() const { return x.empty(); }
    void add(std::string px, std::string py, std::string pz, std::string pn, bool with_flag) {
        x.push_back(std::move(px));
        y.push_back(std::move(py));
        z.push_back(std::move(pz));
        node.push_back(std::move(pn));
        if (with_flag) flag.push_back("i");
    }
    void close_into(PlanLists& plan, bool with_flag) {
        plan.tramosx.push_back(std::move(x));
        plan.tramosy.push_back(std::move(y));
        plan.tramosz.push_back(std::move(z));
        plan.tramosnudos.push_back(std::move(node));
        if (with_flag) plan.tramossentido.push_back(std::move(flag));
        *this = Pipeline{};
    }
};

}  // namespace

bool import_survey_kelvaro(const Grid& survey, SurveyView view, PlanArea area, Grid& ZCSG4, PlanLists& plan,
                           BoxLists& boxes) {
    ImportColumns c{};
    if (!import_columns(view, c)) return false;
    const int end = data_end(survey);
    const Placement at = placement(survey, c, end, area, 1e10);

    plan.clear();
    boxes.clear();
    const std::string source_x = at.x_text(0), source_y = at.y_text(0);
    const std::string source_z = rounded_text(cell_number(survey, c.elevation_from, 2));
    const std::string& source_node = survey.cell(1, 2);
    boxes.bpbx.push_back(source_x);
    boxes.bpby.push_back(source_y);
    boxes.bpbnudos.push_back(source_node);
    boxes.bpblibre.push_back("n");

    Pipeline line;
    line.add(source_x, source_y, source_z, source_node, false);
    for (int r = 2; r < end; ++r) {
        line.add(at.x_text(cell_number(survey, c.x, r)), at.y_text(cell_number(survey, c.y, r)),
                 numtext::format_general(cell_number(survey, c.elevation_to, r)), survey.cell(2, r), false);
        line.close_into(plan, false);
        if (r + 1 >= end) break;  // the pipeline after the last row would stay empty
        // The next pipeline starts at the "To" point of the shot that ended
        // where the next shot starts (the last such shot).
        const double next_from = cell_number(survey, 1, r + 1);
        int found = -1;
        for (int k = 2; k < end; ++k)
            if (cell_number(survey, 2, k) == next_from) found = k;
        if (found >= 0) {
            line.add(at.x_text(cell_number(survey, c.x, found)), at.y_text(cell_number(survey, c.y, found)),
                     rounded_text(cell_number(survey, c.elevation_to, found)), survey.cell(2, found), false);
        } else if (next_from == cell_number(survey, 1, 2)) {
            // A further shot from the source: its pipeline starts at the source.
            line.add(source_x, source_y, source_z, source_node, false);
        }
    }

    int table_end = 2;
    while (table_end < survey.row_count() && cell_number(survey, 1, table_end) != 0) ++table_end;
    ZCSG4.clear_rows_from(2);
    ZCSG4.set_row_count(table_end);
    for (int r = 2; r < table_end; ++r) {
        ZCSG4.set_cell(0, r, survey.cell(0, r));
        ZCSG4.set_cell(1, r, survey.cell(1, r));
        ZCSG4.set_cell(2, r, survey.cell(2, r));
        ZCSG4.set_cell(3, r, survey.cell(c.distance, r));
        ZCSG4.set_cell(4, r, survey.cell(c.elevation_from, r));
        ZCSG4.set_cell(5, r, survey.cell(c.elevation_to, r));
        ZCSG4.set_cell(6, r, survey.cell(c.households, r));
        ZCSG4.set_cell(7, r, "1");
    }
    return true;
}

bool import_survey_marulet(const Grid& survey, SurveyView view, PlanArea area, Grid& SG4, PlanLists& plan) {
    ImportColumns c{};
    if (!import_columns(view, c)) return false;
    const int end = data_end(survey);
    const Placement at = placement(survey, c, end, area, 0);

    plan.clear();
    const std::string origin_x = at.x_text(0), origin_y = at.y_text(0);
    const std::string origin_z = rounded_text(cell_number(survey, c.elevation_from, 2));
    Pipeline line;
    line.add(origin_x, origin_y, origin_z, survey.cell(1, 2), true);
    for (int r = 2; r < end; ++r) {
        line.add(at.x_text(cell_number(survey, c.x, r)), at.y_text(cell_number(survey, c.y, r)),
                 numtext::format_general(cell_number(survey, c.elevation_to, r)), survey.cell(2, r), true);
        const double next_from = cell_number(survey, 1, r + 1);
        const bool last = r == end - 1;
        if (next_from != cell_number(survey, 2, r) || !last) {
            line.close_into(plan, true);
            for (int k = 2; k < end; ++k)
                if (cell_number(survey, 2, k) == next_from)
                    line.add(at.x_text(cell_number(survey, c.x, k)), at.y_text(cell_number(survey, c.y, k)),
                             rounded_text(cell_number(survey, c.elevation_to, k)), survey.cell(2, k), true);
            // A further shot from the first station starts at the origin.
            if (line.empty() && !last && next_from == cell_number(survey, 1, 2))
                line.add(origin_x, origin_y, origin_z, survey.cell(1, 2), true);
        }
    }
    if (!line.empty()) line.close_into(plan, true);

    int last_from = 1;
    for (int r = 2; r < survey.row_count(); ++r)
        if (cell_number(survey, 1, r) != 0) last_from = r;
    SG4.set_row_count(last_from + 1);
    for (int r = 2; r <= last_from; ++r) {
        SG4.set_cell(0, r, survey.cell(0, r));
        SG4.set_cell(1, r, survey.cell(1, r));
        SG4.set_cell(2, r, survey.cell(2, r));
        SG4.set_cell(3, r, survey.cell(c.distance, r));
        SG4.set_cell(4, r, survey.cell(c.elevation_from, r));
        SG4.set_cell(5, r, survey.cell(c.elevation_to, r));
        SG4.set_cell(6, r, survey.cell(c.households, r));
    }
    return true;
}

}  // namespace velmora::terrain

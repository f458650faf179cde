#include "terrain/survey_import.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::terrain;

namespace {

struct Shot {
    std::string from, to, households, elevation_from, elevation_to, distance, x, y;
};

// Shots 1->2, 2->3 and a second one from the source, 1->4; then an empty row.
const std::vector<Shot> kTree = {
    {"1", "2", "4", "1000.4", "1003.25", "50", "10", "50"},
    {"2", "3", "2", "1003.25", "1010.5", "40", "40", "50"},
    {"1", "4", "3", "1000.4", "995.75", "30", "20", "10"},
};

// The shots in the columns of the view (the reduced cells of a planimetry
// book, or the typed cells of a total coordinates book).
Grid book_of(const std::vector<Shot>& shots, SurveyView view) {
    SurveyBook book;
    book.set_view(view);
    const SurveyColumns& c = survey_columns(view);
    book.ZCSG1.set_row_count(static_cast<int>(shots.size()) + 3);
    for (size_t k = 0; k < shots.size(); ++k) {
        const int r = static_cast<int>(k) + 2;
        const Shot& s = shots[k];
        book.ZCSG1.set_cell(0, r, std::to_string(r - 1));
        book.ZCSG1.set_cell(c.from, r, s.from);
        book.ZCSG1.set_cell(c.to, r, s.to);
        book.ZCSG1.set_cell(c.households, r, s.households);
        book.ZCSG1.set_cell(c.distance, r, s.distance);
        if (view == SurveyView::Planimetry) {
            book.ZCSG1.set_cell(c.elevation_from, r, s.elevation_from);
            book.ZCSG1.set_cell(c.elevation_to, r, s.elevation_to);
            book.ZCSG1.set_cell(c.total_x, r, s.x);
            book.ZCSG1.set_cell(c.total_y, r, s.y);
        } else {
            book.ZCSG1.set_cell(c.from_z, r, s.elevation_from);
            book.ZCSG1.set_cell(c.to_z, r, s.elevation_to);
            book.ZCSG1.set_cell(c.to_x, r, s.x);
            book.ZCSG1.set_cell(c.to_y, r, s.y);
        }
    }
    return book.ZCSG1;
}

using Lists = std::vector<std::vector<std::string>>;

}  // namespace

// Plan 600 x 400. Kelvaro's extents start at 1e10 / 0: X 10..40, Y 10..50,
// kx = 500 / 30, ky = 300 / 40; the source at survey 0, 0 lands at
// (round(-10 * 500/30 + 30), round(350 + 10 * 7.5)) = (-137, 425).
TEST(SurveyImport, KelvaroFillsPlanBoxesAndInputTable) {
    for (SurveyView view : {SurveyView::Planimetry, SurveyView::TotalCoordinates}) {
        Grid survey = book_of(kTree, view);
        Grid table(10, 30, 2, 0);
        table.set_cell(3, 20, "old");
        PlanLists plan;
        plan.tramosx = {{"1", "2", "3"}};
        BoxLists boxes;
        boxes.bpbx = {"9", "9"};
        ASSERT_TRUE(import_survey_kelvaro(survey, view, {600, 400}, table, plan, boxes));

        EXPECT_EQ(plan.tramosx, (Lists{{"-137", "30"}, {"30", "530"}, {"-137", "197"}}));
        EXPECT_EQ(plan.tramosy, (Lists{{"425", "50"}, {"50", "50"}, {"425", "350"}}));
        EXPECT_EQ(plan.tramosz, (Lists{{"1000", "1003.25"}, {"1003", "1010.5"}, {"1000", "995.75"}}));
        EXPECT_EQ(plan.tramosnudos, (Lists{{"1", "2"}, {"2", "3"}, {"1", "4"}}));
        EXPECT_TRUE(plan.tramossentido.empty());
        EXPECT_EQ(boxes.bpbx, std::vector<std::string>{"-137"});
        EXPECT_EQ(boxes.bpby, std::vector<std::string>{"425"});
        EXPECT_EQ(boxes.bpbnudos, std::vector<std::string>{"1"});
        EXPECT_EQ(boxes.bpblibre, std::vector<std::string>{"n"});

        EXPECT_EQ(table.row_count(), 5);
        EXPECT_EQ(table.row(2, 0, 8), (std::vector<std::string>{"1", "1", "2", "50", "1000.4", "1003.25", "4", "1"}));
        EXPECT_EQ(table.row(4, 0, 8), (std::vector<std::string>{"3", "1", "4", "30", "1000.4", "995.75", "3", "1"}));
        EXPECT_EQ(table.cell(3, 20), "");
    }
}

// Marulet's extents start at 0: X 0..40, Y 0..50, kX = 12.5, kY = 6; the
// origin lands at (30, 350). Every point is flagged "i".
TEST(SurveyImport, MaruletFillsPlanAndPipeTable) {
    Grid survey = book_of(kTree, SurveyView::Planimetry);
    Grid table(11, 50, 2, 1);
    for (int r = 2; r < 50; ++r) table.set_cell(7, r, "PVC");
    PlanLists plan;
    ASSERT_TRUE(import_survey_marulet(survey, SurveyView::Planimetry, {600, 400}, table, plan));
    EXPECT_EQ(plan.tramosx, (Lists{{"30", "155"}, {"155", "530"}, {"30", "280"}}));
    EXPECT_EQ(plan.tramosy, (Lists{{"350", "50"}, {"50", "50"}, {"350", "290"}}));
    EXPECT_EQ(plan.tramosz, (Lists{{"1000", "1003.25"}, {"1003", "1010.5"}, {"1000", "995.75"}}));
    EXPECT_EQ(plan.tramosnudos, (Lists{{"1", "2"}, {"2", "3"}, {"1", "4"}}));
    EXPECT_EQ(plan.tramossentido, (Lists{{"i", "i"}, {"i", "i"}, {"i", "i"}}));
    EXPECT_EQ(table.row_count(), 5);
    EXPECT_EQ(table.row(3, 0, 8), (std::vector<std::string>{"2", "2", "3", "40", "1003.25", "1010.5", "2", "PVC"}));
}

TEST(SurveyImport, TraverseOfFiveShotsGivesFiveTwoPointPipelines) {
    std::vector<Shot> traverse;
    for (int k = 1; k <= 5; ++k)
        traverse.push_back({std::to_string(k), std::to_string(k + 1), "1", "", "", "10", std::to_string(10 * k), "0"});
    Grid survey = book_of(traverse, SurveyView::TotalCoordinates);
    Lists nodes{{"1", "2"}, {"2", "3"}, {"3", "4"}, {"4", "5"}, {"5", "6"}};
    PlanLists kelvaro_plan, marulet_plan;
    BoxLists boxes;
    Grid t1(10, 30, 2, 0), t2(11, 30, 2, 1);
    import_survey_kelvaro(survey, SurveyView::TotalCoordinates, {1000, 500}, t1, kelvaro_plan, boxes);
    import_survey_marulet(survey, SurveyView::TotalCoordinates, {1000, 500}, t2, marulet_plan);
    EXPECT_EQ(kelvaro_plan.tramosnudos, nodes);
    EXPECT_EQ(marulet_plan.tramosnudos, nodes);
    // Each pipeline begins where the previous one ended.
    for (size_t k = 1; k < 5; ++k) EXPECT_EQ(marulet_plan.tramosx[k][0], marulet_plan.tramosx[k - 1][1]);
    EXPECT_EQ(t1.row_count(), 7);
    EXPECT_EQ(t2.row_count(), 7);
}

TEST(SurveyImport, AltimetryExportsNothing) {
    Grid survey = book_of(kTree, SurveyView::Planimetry);
    Grid table(10, 30, 2, 0);
    PlanLists plan;
    plan.tramosx = {{"5"}};
    BoxLists boxes;
    EXPECT_FALSE(import_survey_kelvaro(survey, SurveyView::Altimetry, {600, 400}, table, plan, boxes));
    EXPECT_FALSE(import_survey_marulet(survey, SurveyView::Altimetry, {600, 400}, table, plan));
    EXPECT_EQ(plan.tramosx, Lists{{"5"}});
    EXPECT_EQ(table.row_count(), 30);
}

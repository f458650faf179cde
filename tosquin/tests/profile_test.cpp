#include "tosquin/tests/fixture.h"

#include "tosquin/engine/predetermined.h"
#include "tosquin/engine/profile.h"
#include "tosquin/engine/survey.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace velmora::tosquin::testing {
namespace {

const std::string kBadPaste =
    "Review the separators or the characters! you should use only numbers and \".\" decimal separator. Do not use "
    "thousands separator";

void type_stations(Document& doc, const std::vector<Station>& stations) {
    doc.SG2.set_row_count(static_cast<int>(stations.size()) + 1);
    for (size_t i = 0; i < stations.size(); ++i)
        doc.SG2.set_row(static_cast<int>(i) + 1, {std::to_string(i + 1), numtext::format_general(stations[i].x),
                                                  numtext::format_general(stations[i].z)});
    doc.Edit2 = std::to_string(stations.size());
}

TEST(NuevoproyectoTest, ResetsTheProject) {
    Fixture f;
    f.profile(falling_line(1000, 100, 100), 2, 5);
    f.box(500);
    f.doc.has_file = true;
    f.doc.archivoproyecto = f.dir / "old.lin";
    f.doc.Edit1 = "old";
    f.doc.cambios = true;
    f.doc.tramosfijos.set_row(1, {"1", "2", "PVC", "160"});
    ASSERT_EQ(f.run(), RunResult::Completed);
    nuevoproyecto(f.doc);
    EXPECT_EQ(f.doc.nsecciones, 1);
    EXPECT_TRUE(f.doc.seccionesx.empty());
    EXPECT_FALSE(f.doc.has_file);
    EXPECT_EQ(f.doc.Edit1, "");
    EXPECT_EQ(f.doc.Edit2, "1");
    EXPECT_EQ(f.doc.SG2.row_count(), 2500);
    EXPECT_EQ(f.doc.SG2.row(1), (std::vector<std::string>{"1", "", ""}));
    EXPECT_EQ(f.doc.SG2.row(0), (std::vector<std::string>{"No", "Acc Dist [m]", "Elev [m]"}));
    EXPECT_EQ(f.doc.StringGrid1(0, 1), "");
    EXPECT_EQ(f.doc.StringGrid1(5, 0), "P [PSI]");
    EXPECT_EQ(f.doc.tramosfijos(3, 1), "");
    EXPECT_FALSE(f.doc.graph.present);
    EXPECT_FALSE(f.doc.cambios);
    EXPECT_EQ(f.doc.disenado, 0);
}

TEST(LeaveTabTest, ValidationMessagesAndTheThreeStationMinimum) {
    struct Case {
        std::string name, flow;
        int stations;
        std::vector<std::string> messages;
        bool allowed;
    } cases[] = {
        {"", "", 3, {"Enter the project name and the flow."}, false},
        {"", "2", 3, {"Enter the project name."}, false},
        {"Line", "", 3, {"Enter the flow."}, false},
        {"Line",
         "",
         2,
         {"Enter the flow. The number of stations should be greater than two",
          "Number of stations should be greater than two"},
         false},
        {"Line", "2", 2, {"Number of stations should be greater than two"}, false},
        {"Line", "2", 3, {}, true},
    };
    for (const auto& c : cases) {
        Fixture f;
        nuevoproyecto(f.doc);
        f.doc.carpetaproyectos = f.dir / "Projects";
        f.doc.Edit1 = c.name;
        f.doc.Edit3 = c.flow;
        std::vector<Station> st{{0, 1000}, {100, 950}, {200, 900}};
        st.resize(static_cast<size_t>(c.stations));
        type_stations(f.doc, st);
        EXPECT_EQ(leave_tab(f.doc, f.messages), c.allowed) << c.name << c.flow << c.stations;
        EXPECT_EQ(f.messages.texts(), c.messages) << c.name << c.flow << c.stations;
        if (c.allowed) {
            EXPECT_EQ(f.doc.listacam, (std::vector<std::string>{"0", "100", "200"}));
            EXPECT_EQ(f.doc.listacota, (std::vector<std::string>{"1000", "950", "900"}));
            EXPECT_EQ(f.doc.nestaciones, 3);
            EXPECT_EQ(f.doc.seccionesx, (std::vector<std::string>{"0.00", "200.00"}));
            EXPECT_EQ(f.doc.seccionesz, (std::vector<std::string>{"1000.00", "900.00"}));
            EXPECT_EQ(f.doc.caudal, 2);
            EXPECT_EQ(f.doc.presionresidual, 3);
            EXPECT_EQ(f.doc.archivoproyecto, f.dir / "Projects" / "Line.lin");
        }
    }
}

TEST(PrepararperfilTest, KeepsTheFileAndRetriesAfterARefusal) {
    Fixture f;
    nuevoproyecto(f.doc);
    f.doc.Edit1 = "Line";
    f.doc.Edit3 = "two";
    type_stations(f.doc, {{0, 1000}, {100, 950}, {200, 900}});
    EXPECT_FALSE(leave_tab(f.doc, f.messages));
    EXPECT_EQ(f.messages.records().back().kind, "error");
    EXPECT_EQ(f.messages.records().back().text, "'two' is not a valid floating point value");
    // Corrected: the profile is prepared on the next attempt.
    f.doc.Edit3 = "2";
    f.doc.has_file = true;
    f.doc.archivoproyecto = "/projects/line.lin";
    EXPECT_TRUE(leave_tab(f.doc, f.messages));
    EXPECT_EQ(f.doc.caudal, 2);
    EXPECT_EQ(f.doc.archivoproyecto, "/projects/line.lin");
    EXPECT_EQ(f.doc.seccionesx.size(), 2u);
    EXPECT_FALSE(f.doc.commands.open);
}

TEST(MainPipelineTest, RecalculatesOnlyWhenMarked) {
    Fixture f;
    nuevoproyecto(f.doc);
    f.doc.Edit1 = "Line";
    f.doc.Edit3 = "2";
    type_stations(f.doc, {{0, 1000}, {500, 960}, {1000, 900}});
    ASSERT_TRUE(leave_tab(f.doc, f.messages));
    f.doc.recalcular = true;
    ASSERT_TRUE(show_main_pipeline(f.doc, f.messages, f.canvas));
    EXPECT_EQ(f.doc.StringGrid1(1, 1), "Q= 2.00 l/s");
    EXPECT_FALSE(show_main_pipeline(f.doc, f.messages, f.canvas));
    f.doc.Edit3 = "1.5";
    f.doc.recalcular = true;
    ASSERT_TRUE(show_main_pipeline(f.doc, f.messages, f.canvas));
    EXPECT_EQ(f.doc.StringGrid1(1, 1), "Q= 1.50 l/s");
    EXPECT_FALSE(f.doc.recalcular);

    // A predetermined dialog closed with changes redoes the design.
    f.doc.tramosfijos.set_row(1, {"100", "300", "PVC", "250"});
    EXPECT_FALSE(after_predetermined_dialog(f.doc, f.messages, f.canvas));
    EXPECT_EQ(f.doc.ntramosfijos, 1);
    f.doc.cambios = true;
    EXPECT_TRUE(after_predetermined_dialog(f.doc, f.messages, f.canvas));
    bool forced = false;
    for (int r = 2; r < f.doc.StringGrid1.row_count(); ++r) forced = forced || f.doc.StringGrid1(5, r) == "250";
    EXPECT_TRUE(forced);
}

TEST(ProfilePasteTest, WritesWhatFitsAndChecksTheValues) {
    const std::string same = "review the values for accumulated distance or elevation for ";
    struct Case {
        std::string clipboard;
        int rows_after;
        std::vector<std::string> messages;  // the first two, and the bad-paste notice last
        bool bad;
        std::vector<std::string> row3;
    } cases[] = {
        // One more cell than the table has columns: only the cells that fit.
        {"0\t1000\t9\r\n100\t990\t9\r\n200\t980\t9\r\n", 4, {}, false, {"3", "200", "980"}},
        {"0\t1000\n100\t990\n200\t980\n300\t970", 5, {}, false, {"3", "200", "980"}},
        // Two rows: the table keeps its 2500 rows, whose empty cells are
        // equal and not numbers; Cancel ends the pair checks.
        {"0\t1000\r\n100\t990\r\n", 2500, {same + "3and 4, are the same", same + "4and 5, are the same"}, true,
         {"3", "", ""}},
        {"0\t1000\r\n100\t1,000\r\n200\t980\r\n", 4, {kBadPaste}, true, {"3", "200", "980"}},
        {"0\t1000\r\n100\t1000\r\n200\t980\r\n", 4, {same + "1and 2, are the same"}, false, {"3", "200", "980"}},
    };
    for (const auto& c : cases) {
        Fixture f;
        nuevoproyecto(f.doc);
        f.messages.answer_next(Answer::Ok);
        f.messages.answer_next(Answer::Cancel);
        paste_profile(f.doc, f.messages, c.clipboard, 1, 1);
        EXPECT_EQ(f.doc.SG2.row_count(), c.rows_after) << c.clipboard;
        EXPECT_EQ(f.doc.SG2.row(3), c.row3) << c.clipboard;
        std::vector<std::string> texts = f.messages.texts();
        EXPECT_EQ(!texts.empty() && texts.back() == kBadPaste, c.bad) << c.clipboard;
        if (texts.size() > 2) texts.resize(2);
        EXPECT_EQ(texts, c.messages) << c.clipboard;
        EXPECT_EQ(f.doc.SG2(0, 0), "No");
    }
}

TEST(ProfilePasteTest, PasteAtTheHeaderStartsBelowIt) {
    Fixture f;
    nuevoproyecto(f.doc);
    paste_profile(f.doc, f.messages, "0\t1000\r\n100\t990\r\n200\t980\r\n", 1, 0);
    EXPECT_EQ(f.doc.SG2.row(0), (std::vector<std::string>{"No", "Acc Dist [m]", "Elev [m]"}));
    EXPECT_EQ(f.doc.SG2.row(1), (std::vector<std::string>{"1", "0", "1000"}));
    EXPECT_EQ(f.doc.Edit2, "3");
}

TEST(StationTableTest, KeysAndRowCommands) {
    Fixture f;
    nuevoproyecto(f.doc);
    type_stations(f.doc, {{0, 1000}, {100, 990}});
    f.doc.SG2.set_row_count(2500);
    station_key_released(f.doc, Key::Digit, 1, 2);
    EXPECT_EQ(f.doc.SG2.row_count(), 3);
    station_key_released(f.doc, Key::Other, 2, 2);
    EXPECT_EQ(f.doc.SG2(2, 2), "");
    station_key_released(f.doc, Key::Arrow, 1, 2);
    EXPECT_EQ(f.doc.SG2(1, 2), "100");
    add_station(f.doc);
    EXPECT_EQ(f.doc.SG2(0, 3), "3");
    EXPECT_EQ(f.doc.Edit2, "3");
    insert_station(f.doc, 1);
    EXPECT_EQ(f.doc.SG2.row(1), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(f.doc.SG2(1, 2), "0");
    delete_station(f.doc, 1);
    EXPECT_EQ(f.doc.SG2(1, 1), "0");
    EXPECT_TRUE(f.doc.cambios);
}

TEST(SurveyTest, ReducesATypedShot) {
    Fixture f;
    nuevoproyecto(f.doc);
    f.doc.LFE = "1";
    f.doc.Edit6 = "1000";
    f.doc.SG3.set_row(2, {"1", "0", "1", "1.000", "1.500", "", "90", "0", "0", "1.50"});
    reduce_survey_row(f.doc, 2);
    const Grid& b = f.doc.SG3;
    EXPECT_EQ(b(5, 2), "2");
    EXPECT_EQ(b(12, 2), "100");
    EXPECT_EQ(b(11, 2), "1000");
    EXPECT_EQ(b(14, 2), "100");
    EXPECT_EQ(f.doc.SG2.row(1), (std::vector<std::string>{"1", "0", "1000"}));
    EXPECT_EQ(f.doc.SG2(1, 2), "100");
    EXPECT_EQ(f.doc.SG2(2, 2), "1000");

    // A shot from the point the first one sighted, inclined: the distance
    // takes one sine and the length factor, the height the double angle.
    f.doc.LFE = "1.03";
    f.doc.SG3.set_row(3, {"2", "1", "2", "1.200", "1.700", "", "95", "30", "0", "1.45"});
    reduce_survey_row(f.doc, 3);
    const double z = 95.5 * std::numbers::pi / 180;
    EXPECT_EQ(b(5, 3), "2.2");
    EXPECT_EQ(b(10, 3), "1000");
    EXPECT_EQ(b(13, 3), "100");
    const double partial = numtext::round_to(0.5 * 200 * std::sin(z) * 1.03, 2);
    EXPECT_EQ(b(12, 3), numtext::format_general(partial));
    EXPECT_EQ(b(11, 3), numtext::format_general(numtext::round_to(1.45 + 1000 + 0.5 * 100 * std::sin(2 * z) - 1.7, 2)));
    EXPECT_EQ(b(14, 3), numtext::format_general(partial + 100));
    EXPECT_EQ(f.doc.Edit2, "2");
    EXPECT_EQ(f.doc.maximo, 3);

    // Back to the profile data: the station table keeps the rows in use.
    set_input_mode(f.doc, InputMode::ProfileData);
    EXPECT_EQ(f.doc.SG2.row_count(), 3);
    survey_key_released(f.doc, Key::Other, 9, 3);
    EXPECT_EQ(b(9, 3), "");
    survey_key_released(f.doc, Key::Digit, 9, 3);
    EXPECT_EQ(b(11, 3), numtext::format_general(numtext::round_to(1000 + 0.5 * 100 * std::sin(2 * z) - 1.7, 2)));
}

TEST(SurveyTest, PasteReducesEveryRowInOrder) {
    Fixture f;
    nuevoproyecto(f.doc);
    set_input_mode(f.doc, InputMode::SurveyBook);
    f.doc.LFE = "1";
    f.doc.Edit6 = "1200";
    f.doc.Edit7 = "50";
    // Upper readings as pasted (not recomputed); row 4 starts from point 1.
    const std::string clipboard =
        "0\t1\t1\t1.5\t2.1\t90\t0\t0\t1.5\r\n"
        "1\t2\t1\t1.5\t2.0\t90\t0\t0\t1.5\r\n"
        "1\t3\t1\t1.5\t2.0\t90\t0\t0\t1.5\r\n";
    paste_survey(f.doc, clipboard, 1, 2);
    const Grid& b = f.doc.SG3;
    EXPECT_EQ(b(5, 2), "2.1");
    EXPECT_EQ(b(12, 2), "120");
    EXPECT_EQ(b(14, 2), "170");
    EXPECT_EQ(b(13, 3), "170");
    EXPECT_EQ(b(14, 3), "270");
    EXPECT_EQ(b(13, 4), "170");
    EXPECT_EQ(b(14, 4), "270");
    EXPECT_EQ(f.doc.SG2.row_count(), 5);
    EXPECT_EQ(f.doc.SG2.row(1), (std::vector<std::string>{"1", "50", "1200"}));
    EXPECT_EQ(f.doc.SG2.row(4), (std::vector<std::string>{"4", "270", "1200"}));
    EXPECT_EQ(f.doc.Edit2, "4");
}

}  // namespace
}  // namespace velmora::tosquin::testing

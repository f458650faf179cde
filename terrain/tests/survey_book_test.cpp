#include "terrain/survey_book.h"

#include "common/errors.h"
#include "common/ports.h"
#include "common/textfile.h"
#include "common/tests/test_dir.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;
using namespace velmora::terrain;

namespace {

// Cells of a row from column 1 ("From #") on.
void put(SurveyBook& book, int row, const std::vector<std::string>& cells) { book.ZCSG1.set_row(row, cells, 1); }

void key_at(SurveyBook& book, int col, int row) {
    book.select_cell(col, row);
    book.key_released();
}

}  // namespace

TEST(SurveyBook, HeadersPerView) {
    struct Case {
        SurveyView view;
        std::vector<std::string> row0, row1;
        std::vector<Merge> some_merges;
    } cases[] = {
        {SurveyView::Planimetry,
         {"Pipe #", "Node", "", "Stadia Wires", "", "", "Zenith", "", "", "Azimuth", "", "", "H.I.", "Households",
          "Elevation", "", "Distance", "Partial Coordinates", "", "Total Coordinates", ""},
         {"", "From #", "To #", "Lower", "Middle", "Upper", "Deg", "Min", "Sec", "Deg", "Min", "Sec", "", "", "From",
          "To", "", "X", "Y", "X", "Y"},
         {{0, 0, 1, 2}, {1, 0, 2, 1}, {3, 0, 3, 1}, {13, 0, 1, 2}, {19, 0, 2, 1}}},
        {SurveyView::Altimetry,
         {"Pipe #", "Node", "", "Stadia Wires", "", "", "Zenith", "", "", "H.I.", "Elevation", "", "Distance"},
         {"", "From #", "To #", "Lower", "Middle", "Upper", "Deg", "Min", "Sec", "", "From", "To", ""},
         {{9, 0, 1, 2}, {10, 0, 2, 1}, {12, 0, 1, 2}}},
        {SurveyView::TotalCoordinates,
         {"Pipe #", "Node", "", "Distance", "Households", "Total coordinates - From", "", "",
          "Total coordinates - to", "", ""},
         {"", "From #", "To #", "", "", "X", "Y", "Z", "X", "Y", "Z"},
         {{3, 0, 1, 2}, {5, 0, 3, 1}, {8, 0, 3, 1}}},
    };
    SurveyBook book;
    book.set_view(SurveyView::Planimetry);  // from another view back: no stale headers
    for (const auto& c : cases) {
        book.set_view(c.view);
        EXPECT_EQ(book.ZCSG1.col_count(), static_cast<int>(c.row0.size()));
        EXPECT_EQ(book.ZCSG1.row(0), c.row0);
        EXPECT_EQ(book.ZCSG1.row(1), c.row1);
        EXPECT_TRUE(book.ZCSG1.cell(static_cast<int>(c.row0.size()), 0).empty()) << "old header left beyond";
        for (const auto& m : c.some_merges) {
            const Merge* found = book.ZCSG1.merge_at(m.col, m.row);
            ASSERT_NE(found, nullptr) << m.col;
            EXPECT_EQ(*found, m);
        }
    }
    EXPECT_EQ(SurveyBook(Designer::Kelvaro).view_caption(SurveyView::TotalCoordinates), "Total coordinates");
    EXPECT_EQ(SurveyBook(Designer::Marulet).view_caption(SurveyView::TotalCoordinates), "Coordenadas totales");
}

TEST(SurveyBook, CreatedWithThreeShotRowsAndTheBoxesInitialText) {
    SurveyBook book;
    EXPECT_EQ(book.ZCSG1.row_count(), 5);
    EXPECT_EQ(book.ZCSG1.fixed_rows(), 2);
    EXPECT_EQ(book.LFE(), "1.03");
    EXPECT_EQ(book.initial_elevation(), "1000");
    EXPECT_TRUE(book.salvado());
    EXPECT_EQ(book.view(), SurveyView::Planimetry);
}

// Lower 1.000, Middle 1.250 (Upper computed 1.500), H.I. 1.5: at zenith 90 the
// distance is f x 50.00 and the elevation changes by H.I. - 1.25; at zenith 85
// the sight rises 100 x 0.25 x sin(170) = 4.34 m more.
TEST(SurveyBook, StadiaReductionOnKeyRelease) {
    struct Case {
        SurveyView view;
        const char* factor;
        std::vector<std::string> zenith;
        const char* distance;
        const char* elevation_to;
    } cases[] = {
        {SurveyView::Planimetry, "1.03", {"90", "0", "0"}, "51.5", "1000.25"},
        {SurveyView::Planimetry, "1", {"90", "0", "0"}, "50", "1000.25"},
        {SurveyView::Altimetry, "1.1", {"90", "0", "0"}, "55", "1000.25"},
        {SurveyView::Planimetry, "1", {"85", "0", "0"}, "49.81", "1004.59"},
        {SurveyView::Altimetry, "1.03", {"84", "59", "60"}, "51.3", "1004.59"},
        {SurveyView::Altimetry, "1", {"95", "0", "0"}, "49.81", "995.91"},
    };
    for (const auto& c : cases) {
        SurveyBook book;
        book.set_view(c.view);
        book.set_LFE(c.factor);
        const auto& k = survey_columns(c.view);
        book.ZCSG1.set_cell(k.from, 2, "1");
        book.ZCSG1.set_cell(k.to, 2, "2");
        book.ZCSG1.set_cell(k.lower, 2, "1.000");
        book.ZCSG1.set_cell(k.middle, 2, "1.250");
        book.ZCSG1.set_cell(k.upper, 2, "9");  // replaced on a key release
        book.ZCSG1.set_row(2, c.zenith, k.zenith);
        book.ZCSG1.set_cell(k.hi, 2, "1.5");
        key_at(book, k.middle, 2);
        const std::string label = std::string(c.factor) + " " + c.zenith[0];
        EXPECT_EQ(book.ZCSG1.cell(k.upper, 2), "1.5") << label;
        EXPECT_EQ(book.ZCSG1.cell(k.distance, 2), c.distance) << label;
        EXPECT_EQ(book.ZCSG1.cell(k.elevation_from, 2), "1000") << label;
        EXPECT_EQ(book.ZCSG1.cell(k.elevation_to, 2), c.elevation_to) << label;
        EXPECT_FALSE(book.salvado());
        EXPECT_TRUE(book.export_enabled());
    }
}

TEST(SurveyBook, KeyReleaseRulesPerView) {
    // Planimetry computes only on a row with a "To #"; altimetry always; the
    // total coordinates view never.
    struct Case {
        SurveyView view;
        const char* to;
        bool computes;
    } cases[] = {{SurveyView::Planimetry, "", false},
                 {SurveyView::Planimetry, "0", false},
                 {SurveyView::Planimetry, "2", true},
                 {SurveyView::Altimetry, "", true},
                 {SurveyView::TotalCoordinates, "2", false}};
    for (const auto& c : cases) {
        SurveyBook book;
        book.set_view(c.view);
        book.ZCSG1.set_row(2, {"1", c.to, "1", "1.5", "9"}, 1);  // Lower, Middle, Upper in 3-5
        key_at(book, 4, 2);
        EXPECT_EQ(book.ZCSG1.cell(5, 2) == "2", c.computes) << static_cast<int>(c.view) << " to=" << c.to;
        EXPECT_FALSE(book.salvado());
        EXPECT_TRUE(book.export_enabled());
    }
}

TEST(SurveyBook, ElevationsAndCoordinatesChainThroughTheNodes) {
    SurveyBook book;
    book.ZCSG1.set_row_count(6);
    //                 From To  Lower  Mid    Upper Zenith      Azimuth    H.I.  HH
    put(book, 2, {"1", "2", "1.0", "1.25", "", "90", "0", "0", "90", "0", "0", "1.5", "4"});
    put(book, 3, {"2", "3", "2.0", "2.5", "", "85", "0", "0", "0", "0", "0", "1.4", "2"});
    put(book, 4, {"7", "4", "1.0", "1.5", "", "90", "0", "0", "0", "0", "0", "1.5", "1"});
    book.ZCSG1.set_cell(14, 4, "1200");  // "From #" 7 ends no shot: typed value stays
    key_at(book, 4, 2);
    key_at(book, 4, 3);
    // One key release computes Elevation To before looking up Elevation From,
    // so the first uses what the cell held (empty): 0 + 1.4 - 2.5 + 8.68.
    EXPECT_EQ(book.ZCSG1.cell(14, 3), "1000.25");
    EXPECT_EQ(book.ZCSG1.cell(15, 3), "7.58");
    key_at(book, 4, 3);
    EXPECT_EQ(book.ZCSG1.cell(15, 3), "1007.83");
    EXPECT_EQ(book.ZCSG1.cell(16, 3), "102.61");
    key_at(book, 4, 4);
    EXPECT_EQ(book.ZCSG1.cell(14, 4), "1200");
    EXPECT_EQ(book.ZCSG1.cell(15, 4), "1200");

    // Coordinates of every data row: row 2 heads east, row 3 north from its end.
    EXPECT_DOUBLE_EQ(book.Celda(17, 2), 51.5);
    EXPECT_NEAR(book.Celda(18, 2), 0, 1e-12);
    EXPECT_NEAR(book.Celda(17, 3), 0, 1e-12);
    EXPECT_DOUBLE_EQ(book.Celda(18, 3), 102.61);
    EXPECT_DOUBLE_EQ(book.Celda(19, 3), 51.5);
    EXPECT_DOUBLE_EQ(book.Celda(20, 3), 102.61);
    EXPECT_DOUBLE_EQ(book.Celda(20, 4), 103);  // unconnected: its own offsets
    EXPECT_EQ(book.end_of_data(), 5);
}

TEST(SurveyBook, PasteReducesEveryPastedRow) {
    SurveyBook book;
    book.set_initial_elevation("250");
    const std::string clip =
        "1\t2\t1.0\t1.25\t1.5\t90\t0\t0\t90\t0\t0\t1.5\t4\r\n"
        "2\t3\t2.0\t2.5\t3.0\t85\t0\t0\t0\t0\t0\t1.4\t2\r\n"
        "2\t4\t0.5\t1.0\t1.5\t90\t30\t0\t270\t0\t0\t1.45\t1\r\n"
        "3\t5\t1\t1.1\t1.3\t90\t0\t0\t180\t0\t0\t1.5\t0\r\n"
        "ignored after the last carriage return";
    book.paste(clip, 1, 2);
    EXPECT_EQ(book.ZCSG1.row_count(), 6) << "the table grows to take the pasted lines";
    EXPECT_EQ(book.ZCSG1.column(0, 2), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(book.ZCSG1.column(5, 2), (std::vector<std::string>{"1.5", "3.0", "1.5", "1.3"})) << "Upper kept";
    EXPECT_EQ(book.ZCSG1.column(16, 2), (std::vector<std::string>{"51.5", "102.61", "103", "41.2"}));
    EXPECT_EQ(book.ZCSG1.column(14, 2), (std::vector<std::string>{"250", "250.25", "250.25", "257.83"}));
    EXPECT_EQ(book.ZCSG1.column(15, 2), (std::vector<std::string>{"250.25", "257.83", "249.83", "258.23"}));
    EXPECT_NEAR(book.Celda(19, 4), 51.5 - 103, 1e-9);
    EXPECT_NEAR(book.Celda(19, 5), 51.5, 1e-9);
    EXPECT_NEAR(book.Celda(20, 5), 102.61 - 41.2, 1e-9);
    EXPECT_TRUE(book.export_enabled());
    EXPECT_FALSE(book.salvado()) << "pasted data counts as unsaved";

    // Marulet drops the lines below the last row instead of growing.
    SurveyBook marulet(Designer::Marulet);
    marulet.paste(clip, 1, 2);
    EXPECT_EQ(marulet.ZCSG1.row_count(), 5);
    EXPECT_EQ(marulet.ZCSG1.cell(2, 4), "4");
}

TEST(SurveyBook, PasteInOtherViews) {
    SurveyBook alt;
    alt.set_view(SurveyView::Altimetry);
    alt.paste("1\t2\t1.0\t1.25\t1.5\t85\t0\t0\t1.5\tx\tx\tx\tx\r\n", 1, 2);
    EXPECT_EQ(alt.ZCSG1.row(2), (std::vector<std::string>{"1", "1", "2", "1.0", "1.25", "1.5", "85", "0", "0", "1.5",
                                                          "1000", "1004.59", "51.3"}));
    EXPECT_EQ(alt.ZCSG1.cell(13, 2), "") << "cells beyond the view's columns are not pasted";

    SurveyBook total;
    total.set_view(SurveyView::TotalCoordinates);
    total.paste("a\tb\r\n\t\r\n", 1, 3);
    EXPECT_EQ(total.ZCSG1.row(3, 0, 3), (std::vector<std::string>{"2", "a", "b"}));
    EXPECT_EQ(total.ZCSG1.cell(7, 2), "") << "nothing computed in the total coordinates view";
    EXPECT_EQ(total.ZCSG1.cell(0, 4), "3") << "pipe numbers come from the view switch";
}

TEST(SurveyBook, ANonNumericLengthFactorStopsTheReduction) {
    SurveyBook book;
    book.set_LFE("1,03");
    book.ZCSG1.set_row(2, {"1", "2", "1", "1.5"}, 1);
    book.select_cell(3, 2);
    EXPECT_THROW(book.key_released(), ConversionError);
    EXPECT_THROW(book.paste("1\t2\r\n", 1, 2), ConversionError);
}

TEST(SurveyBook, SurFileRoundTripIsByteIdentical) {
    velmora::testing::TempDir dir;
    SurveyBook book;
    put(book, 2, {"1", "2", "1.0", "1.25", "1.5", "90", "0", "0", "90", "0", "0", "1.5", "4"});
    put(book, 3, {"2", "3", "Peña Alta", "a,b", "say \"hi\""});
    book.select_cell(3, 2);
    book.key_released();
    book.write_sur(dir / "first.sur");
    const std::string first = textfile::read_bytes(dir / "first.sur");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 3) << "five rows save as three lines";
    EXPECT_NE(first.find("2,3,\"Pe\xF1" "a Alta\",\"a,b\",\"say \"\"hi\"\"\""), std::string::npos);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");

    SurveyBook again;
    again.set_LFE("2");
    again.read_sur(dir / "first.sur");
    EXPECT_TRUE(again.salvado());
    EXPECT_TRUE(again.export_enabled());
    EXPECT_EQ(again.ZCSG1.row_count(), 5);
    EXPECT_EQ(again.ZCSG1.cell(3, 3), "Peña Alta");
    EXPECT_EQ(again.ZCSG1.cell(0, 0), "Pipe #") << "header rows kept";
    again.write_sur(dir / "second.sur");
    EXPECT_EQ(textfile::read_bytes(dir / "second.sur"), first);
}

TEST(SurveyBook, ExtensionRule) {
    struct Case {
        const char* chosen;
        const char* ext;
        const char* written;
    } cases[] = {
        {"Village.txt", ".sur", "Village.txt.sur"}, {"Village", ".sur", "Village.sur"},
        {"Village.sur", ".sur", "Village.sur"},     {"dir/Village.SUR", ".sur", "dir/Village.SUR"},
        {"Village.xls", ".xlsx", "Village.xls.xlsx"}, {"Village.xlsx", ".xlsx", "Village.xlsx"},
    };
    for (const auto& c : cases) EXPECT_EQ(with_extension_rule(c.chosen, c.ext).string(), c.written) << c.chosen;
}

TEST(SurveyBook, OpenSaveAndCloseThroughTheDialogs) {
    velmora::testing::TempDir dir;
    textfile::write_lines(dir / "field.sur", {"1,1,2,1,1.5,2", "2,2,3"});

    SurveyBook book;
    ScriptedFileDialogs dialogs;
    dialogs.push(FileChoice{dir / "field.sur", 2});  // "All Files (*.*)": nothing happens
    dialogs.push(FileChoice{dir / "missing.sur", 1});
    dialogs.push(std::nullopt);
    EXPECT_FALSE(book.open(dialogs));
    EXPECT_FALSE(book.open(dialogs));
    EXPECT_FALSE(book.open(dialogs));
    EXPECT_EQ(book.ZCSG1.cell(1, 2), "");
    dialogs.push(FileChoice{dir / "field.sur", 1});
    EXPECT_TRUE(book.open(dialogs));
    EXPECT_EQ(book.ZCSG1.row_count(), 4);
    EXPECT_EQ(book.ZCSG1.cell(5, 2), "2");
    EXPECT_EQ(dialogs.requests()[0].filter, "Survey Book files (*.sur)|*.sur|All Files (*.*)|*.*");

    // Closing with unsaved changes asks; No keeps the file as it was.
    ScriptedMessages messages;
    book.set_initial_elevation("950");
    messages.answer_next(Answer::No);
    book.close(messages, dialogs);
    ASSERT_EQ(messages.records().size(), 1u);
    EXPECT_EQ(messages.records()[0], (MessageRecord{"question", "Warning", "Do you want to save the changes"}));
    EXPECT_EQ(dialogs.requests().size(), 4u) << "No does not save";

    messages.answer_next(Answer::Yes);
    dialogs.push(FileChoice{dir / "Village.txt", 1});
    book.close(messages, dialogs);
    EXPECT_EQ(dialogs.requests().back().filter, "Survey Book Files (*.sur)|*.sur|All Files (*.*)|*.*");
    EXPECT_TRUE(std::filesystem::exists(dir / "Village.txt.sur"));
    EXPECT_EQ(book.last_file(), dir / "Village.txt.sur");
    EXPECT_TRUE(book.salvado());
    book.close(messages, dialogs);
    EXPECT_EQ(messages.records().size(), 2u) << "a saved table closes without asking";
}

TEST(SurveyBook, DialogsStartInTheGivenFolder) {
    velmora::testing::TempDir dir;
    SurveyBook book;
    book.dialog_dir = dir.path();
    ScriptedFileDialogs dialogs;  // every dialog cancelled
    book.open(dialogs);
    book.save(dialogs);
    book.save_as_excel(dialogs);
    ASSERT_EQ(dialogs.requests().size(), 3u);
    for (const auto& request : dialogs.requests()) EXPECT_EQ(request.initial_dir, dir.path()) << request.title;
}

TEST(SurveyBook, SaveAsExcelKelvaroOnly) {
    velmora::testing::TempDir dir;
    ScriptedFileDialogs dialogs;
    SurveyBook book;
    book.ZCSG1.set_row(2, {"1", "1", "2", "1.0"});
    dialogs.push(FileChoice{dir / "book", 1});
    ASSERT_TRUE(book.save_as_excel(dialogs));
    EXPECT_EQ(dialogs.requests()[0].filter, "Excel files (*.xlsx)|*.xlsx|All Files (*.*)|*.*");
    EXPECT_EQ(textfile::read_bytes(dir / "book.xlsx").substr(0, 2), "PK");
    Workbook wb = book.workbook();
    ASSERT_EQ(wb.sheets().size(), 1u);
    const auto& cells = wb.sheets()[0].cells();
    EXPECT_EQ(cells.at({0, 19}).text, "Total Coordinates");
    EXPECT_TRUE(cells.at({0, 19}).bold);
    EXPECT_EQ(cells.at({1, 14}).text, "From");
    EXPECT_TRUE(cells.at({2, 3}).is_number);
    EXPECT_EQ(cells.at({2, 3}).number, 1.0);
    EXPECT_EQ(wb.sheets()[0].merges().size(), book.ZCSG1.merges().size());

    SurveyBook marulet(Designer::Marulet);
    EXPECT_FALSE(marulet.has_save_as_excel());
    EXPECT_FALSE(marulet.save_as_excel(dialogs));
    EXPECT_EQ(dialogs.requests().size(), 1u);
}

TEST(SurveyBook, ExportFlagsPerViewAndDesigner) {
    struct Case {
        Designer designer;
        SurveyView view;
        bool exported, exportedctotales;
    } cases[] = {
        {Designer::Kelvaro, SurveyView::Planimetry, true, false},
        {Designer::Kelvaro, SurveyView::Altimetry, false, false},
        {Designer::Kelvaro, SurveyView::TotalCoordinates, true, false},
        {Designer::Marulet, SurveyView::Planimetry, true, false},
        {Designer::Marulet, SurveyView::Altimetry, false, false},
        {Designer::Marulet, SurveyView::TotalCoordinates, false, true},
    };
    for (const auto& c : cases) {
        SurveyBook book(c.designer);
        book.set_view(c.view);
        book.ZCSG1.set_row(2, {"1", "1", "2"});
        key_at(book, 1, 2);
        book.export_data();
        EXPECT_EQ(book.exported(), c.exported);
        EXPECT_EQ(book.exportedctotales(), c.exportedctotales);
        EXPECT_EQ(book.exported_view(), c.view);
        book.begin_visit();
        EXPECT_FALSE(book.exported() || book.exportedctotales()) << "a new visit starts without an export";
    }
}

TEST(SurveyBook, SwitchingViewNumbersPipesAndDisablesExport) {
    SurveyBook kelvaro;
    kelvaro.ZCSG1.set_cell(0, 3, "x");
    key_at(kelvaro, 1, 2);
    kelvaro.set_view(SurveyView::Altimetry);
    EXPECT_FALSE(kelvaro.export_enabled());
    EXPECT_EQ(kelvaro.ZCSG1.column(0, 2), (std::vector<std::string>{"1", "2", "3"}));
    kelvaro.export_data();
    EXPECT_FALSE(kelvaro.exported()) << "the export button is disabled";

    SurveyBook marulet(Designer::Marulet);
    marulet.ZCSG1.set_cell(0, 3, "x");
    key_at(marulet, 1, 2);
    marulet.set_view(SurveyView::Altimetry);
    EXPECT_TRUE(marulet.export_enabled()) << "Marulet's buttons only switch the view";
    EXPECT_EQ(marulet.ZCSG1.cell(0, 3), "x");
}

// The four project files: round trip, Open with either filter, bad files.
#include "kelvaro/engine/project_files.h"

#include "common/errors.h"
#include "common/tests/test_dir.h"
#include "common/textfile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velmora::kelvaro {
namespace {

namespace fs = std::filesystem;

Document sample() {
    Document doc;
    doc.Edit1 = "Las Flores";
    doc.Edit2 = "12.5";
    doc.Edit3 = "0.0157";
    doc.consumosel = 2;
    doc.ZCSG4.set_row_count(4);
    doc.ZCSG4.set_row(2, {"1", "1", "2", "120.5", "2860.4", "2845", "3", "1"});
    doc.ZCSG4.set_row(3, {"2", "2", "node 3", "80", "2845", "2830", "", "1"});
    doc.bpbx = {"10", "55.5"};
    doc.bpby = {"20", "70"};
    doc.bpbnudos = {"1", "2"};
    doc.bpblibre = {"n", "y"};
    doc.tramosx = {{"10", "40", "80"}};
    doc.tramosy = {{"20", "45", "70"}};
    doc.tramosz = {{"2860.4", "2845", "2830"}};
    doc.tramosnudos = {{"1", "2", "node 3"}};
    return doc;
}

TEST(ProjectFiles, SaveAndOpenRoundTrip) {
    testing::TempDir dir;
    Document doc = sample();
    doc.cambios = true;
    ScriptedFileDialogs dialogs;
    ScriptedMessages messages;
    dialogs.push(FileChoice{dir / "Village.txt", 1});
    ASSERT_TRUE(save_command(doc, dialogs, messages));
    EXPECT_FALSE(doc.cambios);
    for (const char* ext : {".bra", ".ghd", ".crp", ".ghc"}) EXPECT_TRUE(fs::exists(dir / (std::string("Village") + ext)));
    EXPECT_EQ(textfile::read_bytes(dir / "Village.bra"), "Las Flores\r\n12.5\r\n0.0157\r\n2\r\n");
    EXPECT_EQ(textfile::read_lines(dir / "Village.ghd")[1], "2,2,\"node 3\",80,2845,2830,,1");
    EXPECT_EQ(dialogs.requests()[0].filter, "Main pipeline files (*.bra)|*.bra|All Files (*.*)|*.*");

    Document back;
    dialogs.push(FileChoice{dir / "Village.bra", 1});
    open_command(back, dialogs, messages);
    EXPECT_TRUE(messages.records().empty());
    EXPECT_EQ(back.Edit1, "Las Flores");
    EXPECT_EQ(back.Edit2, "12.5");
    EXPECT_EQ(back.consumosel, 2);
    for (int r = 2; r < 4; ++r) EXPECT_EQ(back.ZCSG4.row(r, 0, 8), doc.ZCSG4.row(r, 0, 8));
    EXPECT_EQ(back.bpbx, doc.bpbx);
    EXPECT_EQ(back.bpblibre, doc.bpblibre);
    EXPECT_EQ(back.tramosnudos, doc.tramosnudos);
    EXPECT_EQ(back.tramosz, doc.tramosz);
    EXPECT_EQ(back.numnudos, 2);  // "node 3" is no integer
    EXPECT_EQ(back.nudoraiz, "1");
    EXPECT_TRUE(back.calculate_enabled);

    // The second filter keeps the project values.
    Document other;
    other.Edit1 = "kept";
    dialogs.push(FileChoice{dir / "Village.bra", 2});
    open_command(other, dialogs, messages);
    EXPECT_EQ(other.Edit1, "kept");
    EXPECT_EQ(other.ZCSG4.row_count(), 4);
}

TEST(ProjectFiles, SaveWithoutNameAsksForOne) {
    Document doc = sample();
    doc.Edit1.clear();
    ScriptedFileDialogs dialogs;
    ScriptedMessages messages;
    EXPECT_FALSE(save_command(doc, dialogs, messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Enter the project name"});
    EXPECT_TRUE(dialogs.requests().empty());
}

TEST(ProjectFiles, EmptyBoxListsBeforeAnyCalculation) {
    Document doc = sample();
    doc.bpbx.clear(); doc.bpby.clear(); doc.bpbnudos.clear(); doc.bpblibre.clear();
    EXPECT_EQ(crp_lines(doc), (TextList{"", "", "", ""}));
}

TEST(ProjectFiles, BadFilesAreReportedByNameAndChangeNothing) {
    struct Case { const char* ext; std::string bytes; const char* expected_text; };
    const std::vector<Case> cases{
        {".bra", "Only\r\ntwo\r\n", "has 2 lines; 4 are needed"},
        {".ghd", "1,1,2\r\n", "line 1 has 3 values; 8 are needed"},
        {".ghd", std::string("\x01\x02\x00garbage\xff\x10", 10), "is not a text file"},
        {".crp", "0,1\r\n0\r\n1,2\r\nn,n\r\n", "line 2 has 1 values; line 1 has 2"},
        {".crp", "0\r\n", "has 1 lines; 4 are needed"},
        {".ghc", "1,2\r\n3,4\r\n5\r\n", "has 3 lines"},
        {".ghc", "1,2\r\n3,4\r\n5\r\n1\r\n", "line 3 has 1 values; line 1 has 2"},
    };
    for (const auto& c : cases) {
        testing::TempDir dir;
        Document saved = sample();
        write_project(saved, dir / "P.bra");
        {
            std::ofstream out(dir / (std::string("P") + c.ext), std::ios::binary);
            out << c.bytes;
        }
        std::map<std::string, std::string> before;
        for (const auto& e : fs::directory_iterator(dir.path())) before[e.path().filename()] = textfile::read_bytes(e.path());

        Document doc;
        doc.Edit1 = "current";
        doc.ZCSG4.set_cell(1, 2, "keep");
        ScriptedFileDialogs dialogs;
        ScriptedMessages messages;
        dialogs.push(FileChoice{dir / "P.bra", 1});
        open_command(doc, dialogs, messages);
        ASSERT_EQ(messages.records().size(), 1u) << c.ext << " " << c.expected_text;
        const std::string& text = messages.records()[0].text;
        EXPECT_NE(text.find(std::string("P") + c.ext), std::string::npos) << text;
        EXPECT_NE(text.find(c.expected_text), std::string::npos) << text;
        EXPECT_EQ(doc.Edit1, "current");
        EXPECT_EQ(doc.ZCSG4(1, 2), "keep");
        std::map<std::string, std::string> after;
        for (const auto& e : fs::directory_iterator(dir.path())) after[e.path().filename()] = textfile::read_bytes(e.path());
        EXPECT_EQ(after, before);
    }
}

TEST(ProjectFiles, EmptyRowsOfTheTableComeBackEmpty) {
    testing::TempDir dir;
    Document doc = sample();
    doc.ZCSG4.set_row_count(30);  // the table as the program starts, two pipes typed
    write_project(doc, dir / "P.bra");
    EXPECT_EQ(textfile::read_lines(dir / "P.ghd")[5], ",,,,,,,");
    ProjectFiles files = read_project(dir / "P.bra", true);
    ASSERT_EQ(files.rows.size(), 28u);
    EXPECT_EQ(files.rows[27], TextList(8, ""));
}

TEST(ProjectFiles, MissingTableStopsOpenButMissingBoxesAndPlanDoNot) {
    testing::TempDir dir;
    write_project(sample(), dir / "P.bra");
    fs::remove(dir / "P.crp");
    fs::remove(dir / "P.ghc");
    ProjectFiles files = read_project(dir / "P.bra", true);
    EXPECT_TRUE(files.boxes.empty());
    EXPECT_TRUE(files.plan.empty());
    fs::remove(dir / "P.ghd");
    EXPECT_THROW(read_project(dir / "P.bra", true), FileError);
}

TEST(NewCommand, AsksToSaveThenEmptiesTablesAndLists) {
    Document doc = sample();
    doc.cambios = true;
    ScriptedFileDialogs dialogs;  // the save dialog is cancelled
    ScriptedMessages messages;
    new_command(doc, dialogs, messages);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Would you like to save the changes?"});
    EXPECT_EQ(doc.ZCSG4(1, 2), "");
    EXPECT_EQ(doc.ZCSG4.row_count(), 4);
    EXPECT_TRUE(doc.bpbnudos.empty());
    EXPECT_TRUE(doc.tramosx.empty());
    EXPECT_EQ(doc.Edit1, "Las Flores");
}

}  // namespace
}  // namespace velmora::kelvaro

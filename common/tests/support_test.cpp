#include "common/canvas.h"
#include "common/folders.h"
#include "common/ports.h"
#include "common/provision.h"
#include "common/textfile.h"
#include "test_dir.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::TempDir;

TEST(Folders, ProgramFoldersUnderTheirRoots) {
    TempDir dir;
    Folders f(dir / "common", dir / "user");
    EXPECT_EQ(f.database_dir(Program::Kelvaro), dir / "common" / "Velmora" / "Kelvaro" / "Database");
    EXPECT_EQ(f.database_dir(Program::Budget), dir / "common" / "Velmora" / "Budget" / "Files");
    EXPECT_EQ(f.projects_dir(Program::Tosquin), dir / "user" / "Velmora" / "Tosquin" / "Projects");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "user" / "Velmora" / "Tosquin" / "Projects"));
}

TEST(Provision, CopiesAbsentFilesAndNeverOverwrites) {
    TempDir dir;
    std::filesystem::create_directories(dir / "shipped" / "examples");
    textfile::write_lines(dir / "shipped" / "pipes.csv", {"shipped"});
    textfile::write_lines(dir / "shipped" / "minpre", {"10"});
    textfile::write_lines(dir / "shipped" / "examples" / "demo.bra", {"x"});
    std::filesystem::create_directories(dir / "db");
    textfile::write_lines(dir / "db" / "pipes.csv", {"user's own"});
    auto copied = provision_reference_files(dir / "shipped", dir / "db");
    EXPECT_EQ(copied, std::vector<std::string>{"minpre"});
    EXPECT_EQ(textfile::read_lines(dir / "db" / "pipes.csv"), std::vector<std::string>{"user's own"});
    EXPECT_FALSE(std::filesystem::exists(dir / "db" / "demo.bra"));
    EXPECT_TRUE(provision_reference_files(dir / "nothing", dir / "db").empty());
}

TEST(Ports, ScriptedMessagesRecordInOrderAndAnswerFromTheScript) {
    ScriptedMessages m;
    m.answer_next(Answer::No);
    m.notice("Saved");
    EXPECT_EQ(m.question("Would you like to save the changes?"), Answer::No);
    EXPECT_EQ(m.question("Again?"), Answer::Yes);
    m.set_default_yes(false);
    EXPECT_EQ(m.confirm("Sure?"), Answer::Cancel);
    m.error("'x' is not a valid floating point value");
    std::vector<MessageRecord> expected = {
        {"notice", "", "Saved"},
        {"question", "Warning", "Would you like to save the changes?"},
        {"question", "Warning", "Again?"},
        {"confirm", "Warning", "Sure?"},
        {"error", "Error", "'x' is not a valid floating point value"},
    };
    EXPECT_EQ(m.records(), expected);
}

TEST(Ports, FilterStringsSplitIntoPairs) {
    auto f = parse_filter("Kelvaro files (*.bra)|*.bra|All files (*.*)|*.*");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].first, "Kelvaro files (*.bra)");
    EXPECT_EQ(f[1].second, "*.*");
    ScriptedFileDialogs d;
    d.push(FileChoice{"/tmp/a.bra", 2});
    EXPECT_EQ(d.open({"Open", "x|*.x", 1, "/tmp", "", "bra"})->filter_index, 2);
    EXPECT_FALSE(d.save({}).has_value());
    EXPECT_EQ(d.requests().size(), 2u);
}

TEST(Canvas, RecordingAndSvg) {
    RecordingCanvas rec;
    rec.set_pen({colors::kGreen, 1, PenStyle::Dot});
    rec.line(0, 0, 10, 5.5);
    rec.set_font({"Tahoma", 7});
    rec.text(3, 4, "1234");
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(rec.calls[0], "line 0 0 10 5.5 pen=#008000/1/dot");
    EXPECT_EQ(rec.calls[1], "text 3 4 \"1234\" font=Tahoma/7/#000000");
    EXPECT_EQ(rec.ops[1].font.name, "Tahoma");

    SvgCanvas svg(100, 50);
    svg.set_brush({colors::kRed});
    svg.polygon({{0, 0}, {10, 0}, {5, 5}});
    svg.set_font({"Arial", 8, true, false, false, 90});
    svg.text(1, 2, "a<b");
    std::string doc = svg.document();
    EXPECT_NE(doc.find("<polygon points=\"0,0 10,0 5,5\" fill=\"#ff0000\""), std::string::npos);
    EXPECT_NE(doc.find("a&lt;b"), std::string::npos);
    EXPECT_NE(doc.find("rotate(-90 1 2)"), std::string::npos);
    EXPECT_GT(svg.text_width("abcd"), svg.text_width("ab"));
}

// The `velmora survey reduce` command, run as the user runs it.
#include "common/commatext.h"
#include "common/tests/test_dir.h"
#include "common/textfile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <string>

namespace {

int run(const std::string& arguments, const std::filesystem::path& err) {
    std::string command = std::string(VELMORA_EXE) + " survey reduce " + arguments + " >/dev/null 2>" + err.string();
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> cells(const std::string& line) { return velmora::commatext::read_line(line); }

}  // namespace

TEST(SurveyReduceCommand, ReducesEveryShotAsAPasteDoes) {
    velmora::testing::TempDir dir;
    velmora::textfile::write_lines(dir / "in.sur", {
        "1,1,2,1.0,1.25,1.5,90,0,0,90,0,0,1.5,4,,,,,,,",
        "2,2,3,2.0,2.5,3.0,85,0,0,0,0,0,1.4,2",
        ",,,,,,,,,,,,,,,,,,,,",
    });
    ASSERT_EQ(run((dir / "in.sur").string() + " --length-factor 1 --initial-elevation 250 --out " +
                      (dir / "out.sur").string(),
                  dir / "err"),
              0);
    auto out = velmora::textfile::read_lines(dir / "out.sur");
    ASSERT_EQ(out.size(), 3u) << "the file's rows, no more";
    auto row2 = cells(out[0]), row3 = cells(out[1]);
    ASSERT_EQ(row2.size(), 21u);
    EXPECT_EQ(row2[16], "50");
    EXPECT_EQ(row2[14], "250");
    EXPECT_EQ(row2[15], "250.25");
    EXPECT_EQ(row2[17], "50");
    EXPECT_EQ(row3[14], "250.25");
    EXPECT_EQ(row3[15], "257.83");
    EXPECT_EQ(row3[16], "99.62");
    EXPECT_EQ(row3[19], "50");

    ASSERT_EQ(run((dir / "in.sur").string() + " --view altimetry --out " + (dir / "alt.sur").string(), dir / "err"), 0);
    auto alt = cells(velmora::textfile::read_lines(dir / "alt.sur")[0]);
    ASSERT_EQ(alt.size(), 13u);
    EXPECT_EQ(alt[10], "1000") << "default initial elevation";
    EXPECT_EQ(alt[12], "51.5") << "default length factor 1.03";
}

TEST(SurveyReduceCommand, RefusesUnreadableInputAndNonNumericFactor) {
    velmora::testing::TempDir dir;
    velmora::textfile::write_lines(dir / "in.sur", {"1,1,2"});
    struct Case {
        std::string arguments;
        std::string message;
    } cases[] = {
        {(dir / "missing.sur").string() + " --out " + (dir / "o.sur").string(), "missing.sur"},
        {(dir / "in.sur").string() + " --length-factor 1,03 --out " + (dir / "o.sur").string(),
         "the length factor '1,03' is not a number"},
        {(dir / "in.sur").string() + " --view sideways --out " + (dir / "o.sur").string(), "--view"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments, dir / "err"), 2) << c.arguments;
        EXPECT_NE(velmora::textfile::read_text(dir / "err").find(c.message), std::string::npos) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(dir / "o.sur"));
    }
}

#include "common/commatext.h"

#include <gtest/gtest.h>

using namespace velmora::commatext;
using V = std::vector<std::string>;

TEST(CommaText, WritesQuotingOnlyWhatNeedsIt) {
    EXPECT_EQ(write_line({"a", "b c", "d,e", "f\"g", "", "h\ti"}), "a,\"b c\",\"d,e\",\"f\"\"g\",,\"h\ti\"");
    EXPECT_EQ(write_line({""}), "\"\"");
    EXPECT_EQ(write_line({}), "");
    EXPECT_EQ(write_line({"", ""}), ",");
    EXPECT_EQ(write_line({"Ñandú", "1.5"}), "Ñandú,1.5");
}

TEST(CommaText, ReadsBothDialects) {
    struct Case { const char* line; V spaces; V commas; } cases[] = {
        {"a,b,c", {"a", "b", "c"}, {"a", "b", "c"}},
        {"a b,c", {"a", "b", "c"}, {"a b", "c"}},
        {"  a, b", {"a", "b"}, {"  a", " b"}},
        {"a,,b", {"a", "", "b"}, {"a", "", "b"}},
        {"a,", {"a", ""}, {"a", ""}},
        {"", {}, {}},
        {"\"\"", {""}, {""}},
        {"\"x y\",\"q\"\"r\"", {"x y", "q\"r"}, {"x y", "q\"r"}},
        {"\"open", {"open"}, {"open"}},
        {"\"ab\"cd", {"ab", "cd"}, {"ab", "cd"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read_line(c.line, Dialect::SpacesSeparate), c.spaces) << c.line;
        EXPECT_EQ(read_line(c.line, Dialect::CommasOnly), c.commas) << c.line;
    }
}

TEST(CommaText, AwkwardItemsRoundTrip) {
    V lists[] = {{"a b", "", "c,d", "\"", "\"\"", " lead", "trail ", "x\ty"}, {""}, {"", ""}, {"Node 1", "ñ°"}};
    for (const auto& items : lists) {
        EXPECT_EQ(read_line(write_line(items), Dialect::SpacesSeparate), items);
        EXPECT_EQ(read_line(write_line(items), Dialect::CommasOnly), items);
    }
}

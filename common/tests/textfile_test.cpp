#include "common/errors.h"
#include "common/textfile.h"
#include "test_dir.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace velmora;
using namespace velmora::textfile;
using velmora::testing::TempDir;

TEST(TextFile, Windows1252FileReadsWithAccentsAndWritesBackByteIdentical) {
    TempDir dir;
    // "Año 5°" and "Peña" in Windows-1252, CR LF line ends, with a euro sign.
    const std::string bytes = "A\xF1o 5\xB0\r\nPe\xF1" "a \x80\r\n";
    write_bytes_atomic(dir / "old.txt", bytes);
    Encoding enc;
    auto lines = read_lines(dir / "old.txt", &enc);
    EXPECT_EQ(enc, Encoding::Windows1252);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Año 5°");
    EXPECT_EQ(lines[1], "Peña €");
    write_lines(dir / "new.txt", lines);
    EXPECT_EQ(read_bytes(dir / "new.txt"), bytes);
}

TEST(TextFile, LineEndsAndEncodings) {
    EXPECT_EQ(split_lines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(split_lines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(split_lines(""), std::vector<std::string>{});
    EXPECT_EQ(utf8_to_cp1252("ñ°€✓"), "\xF1\xB0\x80?");
    TempDir dir;
    write_lines(dir / "u16.top", {"15,3", "0,0,Estación"}, Encoding::Utf16LeBom);
    std::string raw = read_bytes(dir / "u16.top");
    EXPECT_EQ(raw.substr(0, 4), std::string("\xFF\xFE" "1\0", 4));
    Encoding enc;
    EXPECT_EQ(read_lines(dir / "u16.top", &enc), (std::vector<std::string>{"15,3", "0,0,Estación"}));
    EXPECT_EQ(enc, Encoding::Utf16LeBom);
    write_text(dir / "u8.txt", "Peña\r\n", Encoding::Utf8);
    EXPECT_EQ(read_lines(dir / "u8.txt", &enc), std::vector<std::string>{"Peña"});
    EXPECT_EQ(enc, Encoding::Utf8);
}

// Text whose Windows-1252 bytes are also valid UTF-8 ("Ã±" is C3 B1, "ñ" in
// UTF-8) or begin like a byte-order mark would come back as other characters:
// it is written marked as UTF-8 (both found by fuzzing the survey book).
// Ordinary text stays Windows-1252.
TEST(TextFile, TextThatWouldReadBackAsUtf8IsWrittenMarked) {
    TempDir dir;
    for (const std::vector<std::string>& lines :
         {std::vector<std::string>{"Ã±", "1,2"}, {"Peña Ã±"}, {"ÓºÓº"}, {"plain"}, {"ï»¿1,é"}, {"ÿþ1,2"}}) {
        write_lines(dir / "t.sur", lines);
        EXPECT_EQ(read_lines(dir / "t.sur"), lines);
        write_text(dir / "t.txt", join_lines(lines));
        EXPECT_EQ(read_lines(dir / "t.txt"), lines);
    }
    write_lines(dir / "t.sur", {"Ã±"});
    EXPECT_EQ(read_bytes(dir / "t.sur"), "\xEF\xBB\xBF\xC3\x83\xC2\xB1\r\n");
    write_lines(dir / "t.sur", {"Peña Ã±"});
    EXPECT_EQ(read_bytes(dir / "t.sur"), "Pe\xF1" "a \xC3\xB1\r\n");
    // A UTF-8 mark before Windows-1252 bytes: they read as Windows-1252.
    write_bytes_atomic(dir / "mixed.txt", "\xEF\xBB\xBF" "1,\xE9\r\n");
    EXPECT_EQ(read_lines(dir / "mixed.txt"), std::vector<std::string>{"1,é"});
}

TEST(TextFile, ErrorsNameTheFile) {
    TempDir dir;
    try {
        read_lines(dir / "missing.bra");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.bra"), std::string::npos);
    }
}

TEST(TextFile, FailedWritesLeaveThePreviousFilesIntact) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    TempDir dir;
    write_lines(dir / "a.txt", {"old a"});
    write_lines(dir / "b.txt", {"old b"});
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(write_lines(dir / "a.txt", {"new a"}), FileError);
    AtomicGroup group;
    group.add_lines(dir / "a.txt", {"new a"});
    group.add_lines(dir / "b.txt", {"new b"});
    EXPECT_THROW(group.commit(), FileError);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(read_lines(dir / "a.txt"), std::vector<std::string>{"old a"});
    EXPECT_EQ(read_lines(dir / "b.txt"), std::vector<std::string>{"old b"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(TextFile, AGroupWithOneUnwritableFileChangesNothing) {
    // Works as root too: the second file's folder does not exist.
    TempDir dir;
    write_lines(dir / "a.txt", {"old a"});
    AtomicGroup group;
    group.add_lines(dir / "a.txt", {"new a"});
    group.add_lines(dir / "no-such-folder" / "b.txt", {"new b"});
    EXPECT_THROW(group.commit(), FileError);
    EXPECT_EQ(read_lines(dir / "a.txt"), std::vector<std::string>{"old a"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // A path below a regular file cannot be written either.
    EXPECT_THROW(write_lines(dir / "a.txt" / "child.txt", {"x"}), FileError);
    EXPECT_EQ(read_lines(dir / "a.txt"), std::vector<std::string>{"old a"});
}

TEST(TextFile, AGroupWithAFolderAsTargetChangesNothing) {
    TempDir dir;
    write_lines(dir / "a.txt", {"old a"});
    std::filesystem::create_directories(dir / "b.txt" / "inside");
    AtomicGroup group;
    group.add_lines(dir / "a.txt", {"new a"});
    group.add_lines(dir / "b.txt", {"new b"});
    EXPECT_THROW(group.commit(), FileError);
    EXPECT_EQ(read_lines(dir / "a.txt"), std::vector<std::string>{"old a"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(TextFile, AtomicGroupReplacesAllTogether) {
    TempDir dir;
    AtomicGroup group;
    group.add_lines(dir / "x.bfl", {"1"});
    group.add_lines(dir / "x.t1", {"2"});
    group.commit();
    EXPECT_EQ(read_lines(dir / "x.t1"), std::vector<std::string>{"2"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

#include "common/errors.h"
#include "common/textfile.h"
#include "launcher/engine/launcher.h"
#include "quenby/engine/quenby.h"
#include "test_dir.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmora;
using namespace velmora::launcher;
using velmora::testing::TempDir;

namespace {

// A system that serves fixed answers and records what was started and closed.
class FakeSystem : public LauncherSystem {
public:
    std::map<std::string, std::string> files;  // url -> body
    std::vector<std::string> log;
    std::string refuse_start;  // program file name whose start fails
    std::string fetch(const std::string& url) override {
        auto it = files.find(url);
        if (it == files.end()) throw std::runtime_error("Not Found");
        return it->second;
    }
    void start_elevated(const std::filesystem::path& program) override {
        if (program.filename() == refuse_start) throw std::runtime_error("The operation was canceled by the user");
        log.push_back("start " + program.filename().string());
    }
    void close_window(const std::string& caption) override { log.push_back("close " + caption); }
};

std::string update_list(const std::map<int, std::string>& stamps) {
    std::string text = "Program,Stamp\r\n";
    for (int row = 1; row <= 8; ++row) {
        auto it = stamps.find(row);
        text += "row" + std::to_string(row) + "," + (it == stamps.end() ? "0" : it->second) + "\r\n";
    }
    return text;
}

struct Installed {
    TempDir dir;
    // Every program file of rows 1-6 and 8 exists with a known stamp.
    Installed() {
        for (int row : {1, 2, 3, 4, 5, 6, 8}) {
            auto file = dir / program_row(row).stamp_path;
            std::filesystem::create_directories(file.parent_path());
            textfile::write_bytes_atomic(file, "program");
        }
    }
    std::int32_t stamp(int row) const { return file_stamp(dir / program_row(row).stamp_path); }
    CheckContext context() const { return {dir.path(), dir / "data" / "updates", "http://127.0.0.1:9"}; }
};

}  // namespace

TEST(Stamps, PackedLikeMsDosAndMissingIsMinusOne) {
    // 2024-03-15 13:45:58 -> date (44<<9)|(3<<5)|15, time (13<<11)|(45<<5)|29
    EXPECT_EQ(pack_stamp(2024, 3, 15, 13, 45, 58), static_cast<std::int32_t>((((44u << 9) | (3u << 5) | 15u) << 16) |
                                                                             ((13u << 11) | (45u << 5) | 29u)));
    TempDir dir;
    EXPECT_EQ(file_stamp(dir / "missing"), -1);
    textfile::write_bytes_atomic(dir / "f", "x");
    EXPECT_GT(file_stamp(dir / "f"), pack_stamp(2020, 1, 1, 0, 0, 0));
}

TEST(UpdateListParsing, ReadsColumnOneAndRefusesANonInteger) {
    auto list = parse_update_list(textfile::split_lines(update_list({{2, "123"}, {8, "-1"}})));
    EXPECT_EQ(list.stamps[2], 123);
    EXPECT_EQ(list.stamps[8], -1);
    try {
        parse_update_list(textfile::split_lines(update_list({{3, "12x"}})));
        FAIL();
    } catch (const CommandError& e) {
        EXPECT_STREQ(e.what(), "Update list, row 3: '12x' is not a valid integer value");
    }
    EXPECT_THROW(parse_update_list({"header", "a,1"}), CommandError);  // rows missing
    // Row 7 is not examined.
    auto lines = textfile::split_lines(update_list({}));
    lines[7] = "row7,unused";
    EXPECT_NO_THROW(parse_update_list(lines));
}

TEST(UpdateCheck, DecisionsAndTheirOrder) {
    struct Case {
        const char* name;
        std::map<int, int> newer;  // rows whose listed stamp is newer than installed
        Answer answer;
        CheckOutcome outcome;
        std::vector<std::string> log;
        std::vector<std::string> messages;
    };
    const std::string q = kUpdatesQuestion;
    Case cases[] = {
        {"nothing newer", {}, Answer::Yes, CheckOutcome::NoUpdates, {}, {kNoUpdates}},
        {"one program", {{2, 1}}, Answer::Yes, CheckOutcome::Started, {"close Kelvaro-Orvane", "start Sorvik"}, {q}},
        {"declined", {{2, 1}}, Answer::No, CheckOutcome::Declined, {}, {q}},
        {"updater only", {{8, 1}}, Answer::Yes, CheckOutcome::Started, {"start Quenby", "start Sorvik"}, {q}},
        {"launcher only", {{6, 1}}, Answer::Yes, CheckOutcome::Started, {"close Velmora - Orvane", "start Sorvik"}, {q}},
        {"several", {{5, 1}, {1, 1}, {8, 1}, {3, 1}}, Answer::Yes, CheckOutcome::Started,
         {"start Quenby", "close Tosquin - Orvane", "close Marulet-Orvane", "close Budget - Orvane", "start Sorvik"}, {q}},
    };
    for (const auto& c : cases) {
        Installed inst;
        std::map<int, std::string> stamps;
        for (int row : {1, 2, 3, 4, 5, 6, 8})
            stamps[row] = std::to_string(inst.stamp(row) + (c.newer.count(row) ? 1 : 0));
        FakeSystem sys;
        sys.files["http://127.0.0.1:9/updates/velmora/updates"] = update_list(stamps);
        ScriptedMessages msgs;
        msgs.answer_next(c.answer);
        EXPECT_EQ(check_for_updates(inst.context(), sys, msgs), c.outcome) << c.name;
        EXPECT_EQ(sys.log, c.log) << c.name;
        EXPECT_EQ(msgs.texts(), c.messages) << c.name;
        // The list is stored under the data folder, replacing an older copy.
        EXPECT_EQ(textfile::read_bytes(inst.dir / "data" / "updates"), update_list(stamps)) << c.name;
    }
}

TEST(UpdateCheck, FailuresAreShownAndStopTheCheck) {
    Installed inst;
    ScriptedMessages msgs;
    FakeSystem sys;  // serves nothing
    EXPECT_EQ(check_for_updates(inst.context(), sys, msgs), CheckOutcome::Failed);
    EXPECT_EQ(msgs.records().back().kind, "error");
    EXPECT_EQ(msgs.records().back().text, "Not Found");

    // A missing program file has stamp -1: a listed 0 is an update for it.
    std::filesystem::remove(inst.dir / program_row(4).stamp_path);
    sys.files["http://127.0.0.1:9/updates/velmora/updates"] = update_list({{8, "2147483647"}});
    sys.refuse_start = "Quenby";  // the elevation is refused
    ScriptedMessages msgs2;
    EXPECT_EQ(check_for_updates(inst.context(), sys, msgs2), CheckOutcome::Failed);
    EXPECT_TRUE(sys.log.empty());  // Brevant (missing, so updated) not closed, the updater not started
    EXPECT_EQ(msgs2.texts().back(), "The operation was canceled by the user");
}

TEST(Updater, InstallsNewerFilesAndReportsFailures) {
    Installed inst;
    FakeSystem sys;
    sys.files["h/updates/velmora/updates"] =
        update_list({{1, std::to_string(inst.stamp(1) + 1)}, {2, std::to_string(inst.stamp(2) + 1)}});
    sys.files["h/updates/velmora/Tosquin/Tosquin"] = "new tosquin";  // Kelvaro's file is missing on the server
    std::vector<std::string> lines;
    auto result = install_updates(inst.dir.path(), "h", [&](const std::string& u) { return sys.fetch(u); },
                                  [&](const std::string& l) { lines.push_back(l); });
    EXPECT_EQ(result.replaced, 1);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(textfile::read_bytes(inst.dir / "Tosquin" / "Tosquin"), "new tosquin");
    EXPECT_EQ(textfile::read_bytes(inst.dir / "Kelvaro" / "Kelvaro"), "program");
    EXPECT_TRUE((std::filesystem::status(inst.dir / "Tosquin" / "Tosquin").permissions() &
                 std::filesystem::perms::owner_exec) != std::filesystem::perms::none);
    EXPECT_EQ(lines.back(), "Some updates could not be installed");
}

TEST(Hosts, SettingAndNormalisation) {
    EXPECT_EQ(normalize_host("updates.example.org/"), "https://updates.example.org");
    EXPECT_EQ(normalize_host("http://127.0.0.1:8000"), "http://127.0.0.1:8000");
    TempDir dir;
    EXPECT_EQ(read_host_setting(dir / "update_host"), kDefaultHost);
    textfile::write_lines(dir / "update_host", {"http://127.0.0.1:5000"});
    EXPECT_EQ(read_host_setting(dir / "update_host"), "http://127.0.0.1:5000");
}

TEST(Quenby, ProgressLinesAndFinalMaximum) {
    quenby::QuenbyDownload d;
    EXPECT_EQ(d.view().line1, "Downloading Updater");
    d.start();
    EXPECT_EQ(d.view().line1, "Processing");
    EXPECT_EQ(d.view().line2, "Downloading...");
    d.progress(0, 2560000);
    EXPECT_EQ(d.view().maximum, 2560000);
    d.progress(1048576, 2560000);
    EXPECT_EQ(d.view().line2, "Sorvik.exe 1024 Kb");
    EXPECT_EQ(d.view().position, 1048576);
    d.downloaded(2560000);
    EXPECT_EQ(d.view().line2, "Downloaded");
    EXPECT_EQ(d.view().position, 0);
    EXPECT_EQ(d.view().maximum, 2500);
}

// Downloads that cannot be stored (full disk, a folder where the file goes)
// are reported and leave the previous files untouched.
#include "launcher/engine/launcher.h"

#include "common/ports.h"
#include "common/textfile.h"
#include "save_failure.h"
#include "test_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace velmora::launcher {
namespace {

namespace fs = std::filesystem;
namespace vt = ::velmora::testing;

// Every row listed with a stamp newer than any installed file.
std::string newer_list() {
    std::string text = "Program,Stamp\r\n";
    for (int row = 1; row <= 8; ++row)
        text += "row" + std::to_string(row) + "," + std::to_string(pack_stamp(2040, 1, 1, 0, 0, 0)) + "\r\n";
    return text;
}

class ServerOnly : public LauncherSystem {
public:
    std::string fetch(const std::string& url) override {
        if (url.size() >= 8 && url.compare(url.size() - 8, 8, "/updates") == 0) return newer_list();
        return std::string(4096, 'x');  // a program file
    }
    void start_elevated(const fs::path&) override { throw std::logic_error("nothing may start"); }
    void close_window(const std::string&) override { throw std::logic_error("nothing may close"); }
};

TEST(SaveFailure, AnUpdateThatCannotBeStoredKeepsTheInstalledProgram) {
    vt::TempDir dir;
    const fs::path program = dir / program_row(2).stamp_path;
    fs::create_directories(program.parent_path());
    textfile::write_bytes_atomic(program, "installed version", true);
    const auto before = vt::folder_snapshot(program.parent_path());

    ServerOnly server;
    std::vector<std::string> reports;
    InstallResult result;
    {
        vt::DiskFull full;
        result = install_updates(
            dir.path(), "http://host", [&](const std::string& url) { return server.fetch(url); },
            [&](const std::string& text) { reports.push_back(text); });
    }
    EXPECT_EQ(result.replaced, 0);
    EXPECT_EQ(result.failed, 6) << "rows 1 to 6";
    EXPECT_EQ(vt::folder_snapshot(program.parent_path()), before);
    const std::string failed = "Failed " + program_row(2).stamp_path + ": ";
    EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [&](const std::string& r) { return r.rfind(failed, 0) == 0; }));
    EXPECT_EQ(reports.back(), "Some updates could not be installed");
}

TEST(SaveFailure, AListThatCannotBeStoredEndsTheCheckAndKeepsTheStoredList) {
    vt::TempDir dir;
    const fs::path list = dir / "updates.csv";
    textfile::write_bytes_atomic(list, "old list\r\n");
    const auto before = vt::folder_snapshot(dir.path());
    ServerOnly server;
    ScriptedMessages messages;
    CheckOutcome outcome;
    {
        vt::DiskFull full;
        outcome = check_for_updates(CheckContext{dir.path(), list, "http://host"}, server, messages);
    }
    EXPECT_EQ(outcome, CheckOutcome::Failed);
    ASSERT_EQ(messages.records().size(), 1u);
    EXPECT_NE(messages.records()[0].text.find("updates.csv"), std::string::npos) << messages.records()[0].text;
    EXPECT_EQ(vt::folder_snapshot(dir.path()), before);
}

}  // namespace
}  // namespace velmora::launcher

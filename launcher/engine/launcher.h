#pragma once
// The launcher's engine: the program table, file stamps, the update list and
// the update check, free of any toolkit. The system is reached through
// LauncherSystem so the whole check runs in tests without a network.
#include "common/ports.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::launcher {

// One row of the program table. Paths are relative to the launcher's folder,
// with "/" separators: the Linux executables of this build.
struct ProgramEntry {
    int row;                 // row of the update list (1..8)
    std::string name;        // "Tosquin" ...
    std::string start_path;  // started by "Execute" (empty: not started)
    std::string stamp_path;  // file whose stamp is compared (empty: row unused)
    std::string caption;     // main window caption used for closing (empty: not closed)
};

// Rows 1 to 8 of the update list, in order (row 7 unused).
const std::array<ProgramEntry, 8>& program_table();
const ProgramEntry& program_row(int row);
// The rows of the launcher window, top to bottom: "Tosquin", "Kelvaro",
// "Marulet", "Brevant", "Budget" (update-list rows 1..5).
std::vector<int> window_rows();

inline constexpr const char* kQuenbyPath = "Quenby";
inline constexpr const char* kUpdaterPath = "Sorvik";
inline constexpr const char* kUpdateListPath = "/updates/velmora/updates";
inline constexpr const char* kUpdaterDownloadPath = "/updates/velmora/Sorvik.exe";
inline constexpr const char* kUpdatesFolderPath = "/updates/velmora/";
inline constexpr const char* kDefaultHost = "https://updates.orvane.example";

// The last-write time of a file in local time, packed MS-DOS style (date in
// the high 16 bits: year-1980, month, day; time in the low 16 bits: hours,
// minutes, seconds/2). -1 when the file is missing.
std::int32_t file_stamp(const std::filesystem::path& file);
std::int32_t pack_stamp(int year, int month, int day, int hour, int minute, int second);

// The update list: a comma-separated table; row 0 a header, rows 1..8 the
// program rows, column 1 the stamp of the newest version. Throws
// CommandError naming the row when an examined row (1..6, 8) has no integer
// in column 1.
struct UpdateList {
    std::array<std::int64_t, 9> stamps{};  // index = row; [0] and [7] unused
};
UpdateList parse_update_list(const std::vector<std::string>& lines);

// Which rows have an update, given the local stamps (index = row).
struct UpdatePlan {
    std::vector<int> rows;  // rows 1..6 and 8 with an update, ascending
    bool any() const { return !rows.empty(); }
    bool updater() const;  // row 8
    std::vector<int> rows_to_close() const;  // rows 1..6 with an update
};
UpdatePlan plan_updates(const std::array<std::int32_t, 9>& local, const UpdateList& list);

// "http://127.0.0.1:8000" or "updates.example.org" (HTTPS assumed) -> base URL
// without a trailing slash.
std::string normalize_host(const std::string& host);
// The host setting: the first line of the file, or kDefaultHost when the file
// is missing or empty.
std::string read_host_setting(const std::filesystem::path& file);

class LauncherSystem {
public:
    virtual ~LauncherSystem() = default;
    // Downloads a URL whole; throws std::runtime_error with the system's text.
    virtual std::string fetch(const std::string& url) = 0;
    // Starts a program with administrator rights, not waiting for it; throws
    // std::runtime_error with the system's text when the start fails.
    virtual void start_elevated(const std::filesystem::path& program) = 0;
    // Asks the main window with this exact caption to close; nothing happens
    // when no such window answers.
    virtual void close_window(const std::string& caption) = 0;
};

struct CheckContext {
    std::filesystem::path launcher_dir;  // folder of the launcher's executable
    std::filesystem::path list_file;     // where the update list is stored
    std::string host;                    // base URL of the update server
};

// What a check did, for the caller and the tests.
enum class CheckOutcome { NoUpdates, Declined, Failed, Started };

// "Check for Updates": stamps, fetch and store the list, compare, ask, start
// Quenby when the updater has an update, close the programs with an update in
// row order, start the updater. Every failure is shown and ends the check.
CheckOutcome check_for_updates(const CheckContext& context, LauncherSystem& system, Messages& messages);

inline constexpr const char* kUpdatesQuestion =
    "There are some available updates. Would you like to download them now? If yes, all the apps will be closed";
inline constexpr const char* kNoUpdates = "No updates were found";

}  // namespace velmora::launcher

namespace velmora::launcher {

// The updater's work (the program the launcher starts last): fetch the update
// list, and for each of rows 1 to 6 whose listed stamp is newer than the local
// file, download "/updates/velmora/" + the row's file and replace the file
// atomically. `report` receives one line per step. Returns the number of
// files replaced; a failure of one file is reported and the others go on.
struct InstallResult {
    int replaced = 0;
    int failed = 0;
};
InstallResult install_updates(const std::filesystem::path& launcher_dir, const std::string& host,
                              const std::function<std::string(const std::string& url)>& fetch,
                              const std::function<void(const std::string& line)>& report);

}  // namespace velmora::launcher

#include "launcher/engine/launcher.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"

#include <chrono>
#include <ctime>

namespace velmora::launcher {
namespace fs = std::filesystem;

const std::array<ProgramEntry, 8>& program_table() {
    // On Linux a program's start file and stamp file are the same executable;
    // the names follow the suite's folder layout beside the launcher.
    static const std::array<ProgramEntry, 8> table = {{
        {1, "Tosquin", "Tosquin/Tosquin", "Tosquin/Tosquin", "Tosquin - Orvane"},
        {2, "Kelvaro", "Kelvaro/Kelvaro", "Kelvaro/Kelvaro", "Kelvaro-Orvane"},
        {3, "Marulet", "Marulet/Marulet", "Marulet/Marulet", "Marulet-Orvane"},
        {4, "Brevant", "Brevant/Brevant", "Brevant/Brevant", "Brevant-Orvane"},
        {5, "Budget", "Budget/budget", "Budget/budget", "Budget - Orvane"},
        {6, "Velmora Applications", "", "Velmora_Apps", "Velmora - Orvane"},
        {7, "", "", "", ""},
        {8, "Sorvik", "", "Sorvik", ""},
    }};
    return table;
}

const ProgramEntry& program_row(int row) { return program_table().at(static_cast<size_t>(row - 1)); }

std::vector<int> window_rows() { return {1, 2, 3, 4, 5}; }

std::int32_t pack_stamp(int year, int month, int day, int hour, int minute, int second) {
    std::uint32_t date = (static_cast<std::uint32_t>(year - 1980) << 9) | (static_cast<std::uint32_t>(month) << 5) |
                         static_cast<std::uint32_t>(day);
    std::uint32_t time = (static_cast<std::uint32_t>(hour) << 11) | (static_cast<std::uint32_t>(minute) << 5) |
                         static_cast<std::uint32_t>(second / 2);
    return static_cast<std::int32_t>((date << 16) | time);
}

std::int32_t file_stamp(const fs::path& file) {
    std::error_code ec;
    auto t = fs::last_write_time(file, ec);
    if (ec || !fs::is_regular_file(file, ec)) return -1;
    auto sys = std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(t));
    std::time_t tt = std::chrono::system_clock::to_time_t(sys);
    std::tm local{};
    localtime_r(&tt, &local);
    return pack_stamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                      local.tm_sec);
}

UpdateList parse_update_list(const std::vector<std::string>& lines) {
    UpdateList list;
    for (int row : {1, 2, 3, 4, 5, 6, 8}) {
        std::string cell;
        if (static_cast<size_t>(row) < lines.size()) {
            auto items = commatext::read_line(lines[static_cast<size_t>(row)], commatext::Dialect::CommasOnly);
            if (items.size() > 1) cell = items[1];
        }
        if (!numtext::is_integer(cell))
            throw CommandError("Update list, row " + std::to_string(row) + ": '" + cell +
                               "' is not a valid integer value");
        list.stamps[static_cast<size_t>(row)] = numtext::read_int_strict(cell);
    }
    return list;
}

bool UpdatePlan::updater() const {
    for (int r : rows)
        if (r == 8) return true;
    return false;
}

std::vector<int> UpdatePlan::rows_to_close() const {
    std::vector<int> out;
    for (int r : rows)
        if (r >= 1 && r <= 6) out.push_back(r);
    return out;
}

UpdatePlan plan_updates(const std::array<std::int32_t, 9>& local, const UpdateList& list) {
    UpdatePlan plan;
    for (int row : {1, 2, 3, 4, 5, 6, 8})
        if (list.stamps[static_cast<size_t>(row)] > local[static_cast<size_t>(row)]) plan.rows.push_back(row);
    return plan;
}

std::string normalize_host(const std::string& host) {
    std::string h = host;
    while (!h.empty() && (h.back() == '/' || h.back() == ' ' || h.back() == '\r')) h.pop_back();
    while (!h.empty() && h.front() == ' ') h.erase(h.begin());
    if (h.empty()) h = kDefaultHost;
    if (h.find("://") == std::string::npos) h = "https://" + h;
    return h;
}

std::string read_host_setting(const fs::path& file) {
    std::error_code ec;
    if (fs::exists(file, ec)) {
        try {
            auto lines = textfile::read_lines(file);
            if (!lines.empty() && !lines[0].empty()) return normalize_host(lines[0]);
        } catch (const FileError&) {
        }
    }
    return normalize_host(kDefaultHost);
}

CheckOutcome check_for_updates(const CheckContext& ctx, LauncherSystem& system, Messages& messages) {
    std::array<std::int32_t, 9> local{};
    for (int row : {1, 2, 3, 4, 5, 6, 8}) local[static_cast<size_t>(row)] = file_stamp(ctx.launcher_dir / program_row(row).stamp_path);

    UpdatePlan plan;
    try {
        std::string bytes = system.fetch(ctx.host + kUpdateListPath);
        fs::create_directories(ctx.list_file.parent_path());
        textfile::write_bytes_atomic(ctx.list_file, bytes);
        plan = plan_updates(local, parse_update_list(textfile::read_lines(ctx.list_file)));
    } catch (const std::exception& e) {
        messages.error(e.what());
        return CheckOutcome::Failed;
    }

    if (!plan.any()) {
        messages.notice(kNoUpdates);
        return CheckOutcome::NoUpdates;
    }
    if (messages.question(kUpdatesQuestion, "Warning") != Answer::Yes) return CheckOutcome::Declined;

    try {
        if (plan.updater()) system.start_elevated(ctx.launcher_dir / kQuenbyPath);
        for (int row : plan.rows_to_close()) system.close_window(program_row(row).caption);
        system.start_elevated(ctx.launcher_dir / kUpdaterPath);
    } catch (const std::exception& e) {
        messages.error(e.what());
        return CheckOutcome::Failed;
    }
    return CheckOutcome::Started;
}

}  // namespace velmora::launcher

namespace velmora::launcher {

InstallResult install_updates(const fs::path& launcher_dir, const std::string& host,
                              const std::function<std::string(const std::string&)>& fetch,
                              const std::function<void(const std::string&)>& report) {
    InstallResult result;
    UpdateList list;
    try {
        list = parse_update_list(textfile::split_lines(fetch(host + kUpdateListPath)));
    } catch (const std::exception& e) {
        report(std::string("The update list could not be read: ") + e.what());
        ++result.failed;
        return result;
    }
    for (int row = 1; row <= 6; ++row) {
        const ProgramEntry& entry = program_row(row);
        fs::path file = launcher_dir / entry.stamp_path;
        if (list.stamps[static_cast<size_t>(row)] <= file_stamp(file)) continue;
        try {
            report("Downloading " + entry.stamp_path);
            std::string bytes = fetch(host + kUpdatesFolderPath + entry.stamp_path);
            fs::create_directories(file.parent_path());
            textfile::write_bytes_atomic(file, bytes, true);
            report("Installed " + entry.stamp_path);
            ++result.replaced;
        } catch (const std::exception& e) {
            report("Failed " + entry.stamp_path + ": " + e.what());
            ++result.failed;
        }
    }
    report(result.failed ? "Some updates could not be installed" : "The updates have been installed");
    return result;
}

}  // namespace velmora::launcher

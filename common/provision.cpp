#include "common/provision.h"

#include "common/folders.h"

#include <cstdlib>

namespace velmora {
namespace fs = std::filesystem;

fs::path shipped_data_dir(const std::string& program, const fs::path& exe_dir) {
    std::vector<fs::path> candidates;
    if (const char* d = std::getenv("VELMORA_DATA_DIR")) candidates.push_back(fs::path(d) / program);
    if (!exe_dir.empty()) {
        candidates.push_back(exe_dir / "data" / program);
        candidates.push_back(exe_dir / ".." / "share" / "velmora" / program);
    }
#ifdef VELMORA_SOURCE_DATA_DIR
    candidates.push_back(fs::path(VELMORA_SOURCE_DATA_DIR) / program);
#endif
    std::error_code ec;
    for (const auto& c : candidates)
        if (fs::is_directory(c, ec)) return c;
    return {};
}

std::vector<std::string> provision_reference_files(const fs::path& from, const fs::path& to) {
    std::vector<std::string> copied;
    std::error_code ec;
    if (from.empty() || !fs::is_directory(from, ec)) return copied;
    ensure_dir(to);
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        fs::path target = to / entry.path().filename();
        if (fs::exists(target, ec)) continue;
        if (fs::copy_file(entry.path(), target, fs::copy_options::skip_existing, ec) && !ec)
            copied.push_back(entry.path().filename().string());
    }
    return copied;
}

}  // namespace velmora

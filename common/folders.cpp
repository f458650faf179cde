#include "common/folders.h"

#include "common/textfile.h"

#include <cstdlib>

namespace velmora {
namespace fs = std::filesystem;

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

fs::path home() {
    std::string h = env("HOME");
    return h.empty() ? fs::path(".") : fs::path(h);
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" in ~/.config/user-dirs.dirs.
fs::path xdg_documents() {
    std::string cfg = env("XDG_CONFIG_HOME");
    fs::path file = (cfg.empty() ? home() / ".config" : fs::path(cfg)) / "user-dirs.dirs";
    std::error_code ec;
    if (!fs::exists(file, ec)) return {};
    try {
        for (const auto& line : textfile::read_lines(file)) {
            const std::string key = "XDG_DOCUMENTS_DIR=";
            if (line.rfind(key, 0) != 0) continue;
            std::string v = line.substr(key.size());
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
            if (v.rfind("$HOME", 0) == 0) return home() / v.substr(v.size() > 5 && v[5] == '/' ? 6 : 5);
            return fs::path(v);
        }
    } catch (...) {
    }
    return {};
}

}  // namespace

std::string program_folder_name(Program p) {
    switch (p) {
        case Program::Kelvaro: return "Kelvaro";
        case Program::Marulet: return "Marulet";
        case Program::Tosquin: return "Tosquin";
        case Program::Budget: return "Budget";
    }
    return {};
}

Folders::Folders(fs::path common_root, fs::path user_root)
    : common_(std::move(common_root)), user_(std::move(user_root)) {}

Folders Folders::from_environment() {
    fs::path common = env("VELMORA_COMMON_DOCUMENTS");
    if (common.empty()) {
        std::string xdg = env("XDG_DATA_HOME");
        common = xdg.empty() ? home() / ".local" / "share" : fs::path(xdg);
    }
    fs::path user = env("VELMORA_USER_DOCUMENTS");
    if (user.empty()) user = xdg_documents();
    if (user.empty()) user = home() / "Documents";
    return Folders(common, user);
}

fs::path ensure_dir(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

fs::path Folders::database_dir(Program p) const {
    return ensure_dir(common_ / "Velmora" / program_folder_name(p) / (p == Program::Budget ? "Files" : "Database"));
}

fs::path Folders::projects_dir(Program p) const {
    return ensure_dir(user_ / "Velmora" / program_folder_name(p) / "Projects");
}

}  // namespace velmora

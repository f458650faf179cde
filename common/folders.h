#pragma once
// The data folders of the suite.
//
// Common documents root: $VELMORA_COMMON_DOCUMENTS, else $XDG_DATA_HOME, else
// ~/.local/share. User documents root: $VELMORA_USER_DOCUMENTS, else the XDG
// documents folder (XDG_DOCUMENTS_DIR in ~/.config/user-dirs.dirs), else
// ~/Documents. Tests and the command-line tool construct Folders with their
// own roots.
//
//   reference data: <common>/Velmora/<Program>/Database/  (Budget: .../Files/)
//   projects:       <user>/Velmora/<Program>/Projects/
#include <filesystem>
#include <string>

namespace velmora {

enum class Program { Kelvaro, Marulet, Tosquin, Budget };

std::string program_folder_name(Program p);

class Folders {
public:
    Folders(std::filesystem::path common_root, std::filesystem::path user_root);
    static Folders from_environment();

    const std::filesystem::path& common_root() const { return common_; }
    const std::filesystem::path& user_root() const { return user_; }

    // Created on demand; a folder that cannot be created is still returned
    // (the caller's file operation then reports it).
    std::filesystem::path database_dir(Program p) const;
    std::filesystem::path projects_dir(Program p) const;

private:
    std::filesystem::path common_;
    std::filesystem::path user_;
};

std::filesystem::path ensure_dir(const std::filesystem::path& dir);

}  // namespace velmora

#pragma once
// Helpers of the save-failure tests: a folder's files as bytes, and a full
// disk simulated with the file-size limit (which root is held to as well,
// unlike folder permissions).
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

namespace velmora::testing {

// Every regular file of the folder (not its subfolders): name -> bytes.
inline std::map<std::string, std::string> folder_snapshot(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// While it lives, a write that would make a file larger than `bytes` fails
// (EFBIG) as on a full disk.
class DiskFull {
public:
    explicit DiskFull(rlim_t bytes = 16) {
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit small = old_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFull() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;

private:
    rlimit old_{};
    void (*old_handler_)(int) = SIG_DFL;
};

// The ways a save is made to fail in the tests, none of which root bypasses.
enum class SaveFault {
    DiskFull,        // every write stops after a few bytes
    FolderInPlace,   // the last file of the group is a folder
    ParentIsAFile,   // the folder to save in is a regular file
};

inline const char* fault_name(SaveFault f) {
    switch (f) {
        case SaveFault::DiskFull: return "disk full";
        case SaveFault::FolderInPlace: return "a folder in place of a file";
        case SaveFault::ParentIsAFile: return "the folder is a file";
    }
    return "";
}

// Sets up the fault for a save that writes `target` and, last of its group,
// `last`; `target()` is then the name to save under. Take the folder's
// snapshot after construction: it is what must survive.
class FaultySave {
public:
    FaultySave(SaveFault fault, const std::filesystem::path& target, const std::filesystem::path& last)
        : target_(target) {
        namespace fs = std::filesystem;
        switch (fault) {
            case SaveFault::DiskFull: break;
            case SaveFault::FolderInPlace:
                fs::remove(last);
                fs::create_directories(last / "kept");
                break;
            case SaveFault::ParentIsAFile: {
                const fs::path file = target.parent_path() / "not_a_folder";
                std::ofstream(file, std::ios::binary) << "plain file\r\n";
                target_ = file / target.filename();
                break;
            }
        }
        fault_ = fault;
    }
    const std::filesystem::path& target() const { return target_; }
    // Starts the disk-full fault (only that one needs the save running in it).
    std::unique_ptr<DiskFull> during_save() const {
        return fault_ == SaveFault::DiskFull ? std::make_unique<DiskFull>() : nullptr;
    }

private:
    std::filesystem::path target_;
    SaveFault fault_ = SaveFault::DiskFull;
};

inline constexpr SaveFault kSaveFaults[] = {SaveFault::DiskFull, SaveFault::FolderInPlace, SaveFault::ParentIsAFile};

}  // namespace velmora::testing

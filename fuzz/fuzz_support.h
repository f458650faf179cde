#pragma once
// Shared pieces of the file-reader fuzz targets.
//
// Each target prepares a private scratch folder once (reference files and the
// example project copied from the shipped data), then for every input writes
// the bytes over one file of that folder and runs the program's reader on it.
// A reader answers malformed input with a FileError naming the file (the
// update list, read inside a command, with a CommandError); anything else
// escaping the reader, a sanitizer report or a time-out is a finding.
#include "common/errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace velmora::fuzz {

namespace fs = std::filesystem;

// The shipped data folder (set by the build).
inline fs::path data_dir() { return fs::path(VELMORA_FUZZ_DATA_DIR); }

// A fresh folder for this process, removed when it ends normally.
inline const fs::path& scratch() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("velmora-fuzz-" + std::to_string(::getpid()));
        std::error_code ec;
        fs::remove_all(d, ec);
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(fs::temp_directory_path() / ("velmora-fuzz-" + std::to_string(::getpid())), ignored);
        });
        return d;
    }();
    return dir;
}

inline void write_file(const fs::path& file, const uint8_t* data, size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Copies every regular file of `from` (not its subfolders) into `to`.
inline void copy_files(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing);
}

// The first corpus folder on the command line: the target puts its seed there
// (the prepared file as shipped or as created with its defaults).
inline void seed_corpus(int argc, char** argv, const fs::path& prepared) {
    std::error_code ec;
    if (!fs::is_regular_file(prepared, ec)) return;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] == '-') continue;
        if (fs::is_directory(arg, ec))
            fs::copy_file(prepared, fs::path(arg) / ("seed-" + prepared.filename().string()),
                          fs::copy_options::overwrite_existing, ec);
        return;
    }
}

// Runs a reader; a FileError or CommandError is an accepted outcome. Returns
// whether the reader succeeded.
template <class F>
bool expect_file_errors(F&& read) {
    try {
        read();
        return true;
    } catch (const FileError&) {
    } catch (const CommandError&) {
    }
    return false;
}

}  // namespace velmora::fuzz

#pragma once
// Shipped reference files (catalogues, defaults, help pages) are copied into a
// program's data folder when absent, the way an installer would, before the
// program's own start-up runs. A file already there is never overwritten.
#include <filesystem>
#include <string>
#include <vector>

namespace velmora {

// The folder holding the shipped data of one program ("kelvaro", "budget" ...):
// $VELMORA_DATA_DIR/<name>, <exe dir>/data/<name>, <exe dir>/../share/velmora/<name>,
// or the source tree's data/<name>. Empty when none exists.
std::filesystem::path shipped_data_dir(const std::string& program, const std::filesystem::path& exe_dir = {});

// Copies the regular files directly inside `from` (the examples folder and
// other subfolders are not reference data) into `to` when absent there.
// Returns the names copied.
std::vector<std::string> provision_reference_files(const std::filesystem::path& from,
                                                   const std::filesystem::path& to);

}  // namespace velmora

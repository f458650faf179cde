#pragma once
// Project files: the project name (.sew), the pipe table (.gst), the plan
// drawing (.gsc) and the design parameters in effect (.par), and the commands
// "New", "Open", "Save", "Save as" and the question on closing.
#include "common/ports.h"
#include "marulet/engine/document.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::marulet {

inline constexpr const char* kProjectFilter = "Main pipeline files (*.sew)|*.sew|All Files (*.*)|*.*";

// `salvar`: writes the four files for the folder and base name of filename,
// all or none; the current project file becomes filename with ".sew".
void salvar(Document& doc, const std::filesystem::path& filename);

// Opens the project of `file` (only its folder and base name matter) as
// "Open" does with the given filter index (1: project files, 2: all files).
// Everything is read and checked first: a missing or malformed file throws
// FileError naming it and leaves the document unchanged.
void open_project(Document& doc, const std::filesystem::path& file, int filter_index);

// The commands with their dialogs and messages. Return true when done.
bool open_command(Document& doc, Messages& messages, FileDialogs& dialogs, const std::filesystem::path& projects_dir);
bool save_command(Document& doc, Messages& messages, FileDialogs& dialogs, const std::filesystem::path& projects_dir);
bool save_as_command(Document& doc, Messages& messages, FileDialogs& dialogs, const std::filesystem::path& projects_dir);
void new_command(Document& doc, Messages& messages, FileDialogs& dialogs, const std::filesystem::path& projects_dir);
// Closing the main window: the same question and save as "New".
void close_command(Document& doc, Messages& messages, FileDialogs& dialogs, const std::filesystem::path& projects_dir);

// The comma-text export: "Data", the pipe table as shown, "Spreadsheet", the
// results table.
std::vector<std::string> text_export_lines(const Document& doc);
void write_text_export(const Document& doc, const std::filesystem::path& file);

}  // namespace velmora::marulet

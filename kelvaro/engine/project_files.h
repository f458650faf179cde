#pragma once
// The four files of a project (.bra values, .ghd input table, .crp boxes,
// .ghc plan pipelines), "New", Open and Save.
#include "common/ports.h"
#include "kelvaro/engine/document.h"

#include <filesystem>

namespace velmora::kelvaro {

extern const char* const kProjectFilter;  // "Main pipeline files (*.bra)|*.bra|All Files (*.*)|*.*"

// Everything the four files hold, read and checked before the document changes.
struct ProjectFiles {
    bool has_values = false;  // the .bra was read (first filter)
    std::string name, min_pressure, unit_flow;
    int consumosel = 0;
    TextLists rows;            // .ghd, eight cells a row
    TextLists boxes;           // .crp: bpbx, bpby, bpbnudos, bpblibre (empty when absent)
    TextLists plan;            // .ghc: x, y, z, nodes per pipeline in turn
};

// Reads the project of `chosen` (any extension: the base name is used). A
// missing .ghd, a short .bra, a .ghd row of fewer than eight cells, unequal
// box or plan lists, or a file that is not text throw FileError naming the file.
ProjectFiles read_project(const std::filesystem::path& chosen, bool read_values);
// Puts the files into the document (Open steps 1.1 to 1.6).
void apply_project(Document& doc, ProjectFiles files);
// Open step 2: networks of column 7 into redlista, DefinirRamales, DefinirQRed.
void after_open(Document& doc);

// The four files' lines.
TextList bra_lines(const Document& doc);
TextList ghd_lines(const Document& doc);
TextList crp_lines(const Document& doc);
TextList ghc_lines(const Document& doc);
// Writes the four files side by side (all or none).
void write_project(const Document& doc, const std::filesystem::path& chosen);

// Commands. Open and Save show their dialog; Open reports a failure through
// `messages` and leaves the document as it was.
void open_command(Document& doc, FileDialogs& dialogs, Messages& messages);
bool save_command(Document& doc, FileDialogs& dialogs, Messages& messages);
void new_command(Document& doc, FileDialogs& dialogs, Messages& messages);
// Closing the main window: the save question when there are changes.
void close_command(Document& doc, FileDialogs& dialogs, Messages& messages);

}  // namespace velmora::kelvaro

#pragma once
// The project tables, the Diameters rebuild, the change flags and the project
// file set (P.bfl with P.pid, .com, .dia, .con, .dis, .cco, .tra, .ind, .apo).
#include "budget/engine/document.h"
#include "common/ports.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::budget {

inline const std::string kProjectFilter = "Budget files (*.bfl)|*.bfl|All Files (*.*)|*.*";
// Extensions of the nine table files, in the order they are written and read.
inline const std::array<const char*, 9> kTableExtensions = {".pid", ".com", ".dia", ".con", ".dis",
                                                            ".cco", ".tra", ".ind", ".apo"};
std::array<Grid*, 9> project_tables(Document& doc);
// Labels of the indirect-cost rows (SG8 rows 1 to 9).
const std::vector<std::string>& indirect_cost_labels();

// Start and New: catalogues, component lists, project tables with their
// headers, pipe rows, community list, transport labels, tools and funding.
// Throws FileError when a catalogue file cannot be read.
void inicializardatos(Document& doc, Messages& messages);
// File, New.
void condicionesiniciales(Document& doc, Messages& messages);
// Rebuilds SG3 from the quantities of SG2.
void diametros(Document& doc);
// maxde/maxds from the quantities of SG2 without touching SG3.
void set_max_inlets_outlets(Document& doc);

void cargarproyecto(Document& doc, const std::filesystem::path& bfl);
void salvarproyecto(Document& doc, const std::filesystem::path& bfl);
// The .bfl name for a name chosen in the save dialog.
std::filesystem::path project_name_for(const std::filesystem::path& chosen);

// File, Open / Save through the dialogs. Open returns true when a project was
// read; Save returns true when it wrote the project.
bool open_command(Document& doc, FileDialogs& dialogs);
bool save_command(Document& doc, FileDialogs& dialogs);
// On closing: asks to save an unsaved project.
void close_command(Document& doc, FileDialogs& dialogs, Messages& messages);

// A key released in a project table or field.
enum class ProjectTable { SG1, SG2, SG3, SG4, SG5, SG7, SG8, SG9 };
// `col` is the column edited (used by the indirect-cost rule of SG8).
void table_edited(Document& doc, ProjectTable table, int col = -1, int row = -1);
void others_field_edited(Document& doc);
void tools_field_edited(Document& doc);

}  // namespace velmora::budget

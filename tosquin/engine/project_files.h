#pragma once
// The three files of a project: ".lin" (profile), ".des" (boxes, valves and
// predetermined tables) and ".top" (survey book, UTF-16LE with a byte-order
// mark); opening and saving.
#include "tosquin/engine/document.h"

#include "common/canvas.h"
#include "common/ports.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::tosquin {

inline constexpr const char* kProjectFilter = "Main pipeline files (*.lin)|*.lin|All Files (*.*)|*.*";

// A comma list of the design file: items with a comma or a double quote are
// quoted with inner quotes doubled; read back splitting on commas only.
std::string write_comma_list(const std::vector<std::string>& items);
std::vector<std::string> read_comma_list(const std::string& line);

// File contents as lines (UTF-8 in memory).
std::vector<std::string> lin_lines(const Document& doc);
std::vector<std::string> des_lines(const Document& doc);
std::vector<std::string> top_lines(const Grid& survey_book);

// Reads a project from its ".lin" path (with its ".des" and ".top" when they
// exist) into the document, as "Open" does before drawing and designing.
// Every file is checked before anything changes: a malformed file throws
// FileError naming it and leaves the document as it was.
void abrir(Document& doc, const std::filesystem::path& lin);

// "Open" after the dialog: `abrir`, then the graph drawn and designed.
void open_and_design(Document& doc, const std::filesystem::path& lin, Messages& messages, Canvas& canvas);

// "Open" with the dialog: nothing happens unless the chosen file exists and
// the first filter was in use. Returns whether a project was opened.
bool open_command(Document& doc, FileDialogs& dialogs, Messages& messages, Canvas& canvas);

// Writes the three files together (`guardararchivos`); on failure no file is
// replaced. Clears `cambios`.
void guardararchivos(Document& doc, const std::filesystem::path& lin);

// "Save As": proposes Edit1 + ".lin" in the projects folder. Returns whether
// it saved.
bool save_as(Document& doc, FileDialogs& dialogs);
// The Save button and `preguntarguardar`'s Yes: saves to `archivoproyecto`.
void save(Document& doc);
// `preguntarguardar`.
void preguntarguardar(Document& doc, Messages& messages);

// "New": resets and enables "Open".
void new_project(Document& doc);
// "Exit from the current project": asks to save when changed, then resets.
void exit_current_project(Document& doc, Messages& messages);
// Closing the window: with a profile of more than one station loaded, asks
// "Would you like to save the changes?"; Yes runs "Save As".
void window_closing(Document& doc, Messages& messages, FileDialogs& dialogs);

}  // namespace velmora::tosquin

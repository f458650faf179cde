#pragma once
// Option files ("minmaxdia", "minpre", "usage", "units.qtx"), the diameter
// catalogue ("pipes_branch.csv"), what the main window reloads whenever it
// becomes active, and the engine side of the Options window.
#include "common/folders.h"
#include "common/grid.h"
#include "common/ports.h"
#include "kelvaro/engine/document.h"

#include <filesystem>

namespace velmora::kelvaro {

extern const char* const kMinMaxDiaFile;  // "minmaxdia"
extern const char* const kMinPreFile;     // "minpre"
extern const char* const kUsageFile;      // "usage"
extern const char* const kUnitsFile;      // "units.qtx"
extern const char* const kCatalogueFile;  // "pipes_branch.csv"

TextList default_minmaxdia();
TextList default_minpre();
TextList default_usage();
Grid default_units();

// Reads an option file, creating it with `defaults` when missing. A file with
// fewer than `needed` lines, or one that is not text, throws FileError naming
// the file; nothing on disk is changed then.
TextList read_option_file(const std::filesystem::path& file, const TextList& defaults, size_t needed);
// Creates every missing option file of the folder with its defaults.
void ensure_option_files(const std::filesystem::path& folder);

Grid load_catalogue(const std::filesystem::path& file);
Grid load_units(const std::filesystem::path& file);
void save_units(const std::filesystem::path& file, const Grid& units);

// carpetadatos and carpetaproyectos from the suite's folders.
void set_folders(Document& doc, const Folders& folders);

// Catalogue rows diammin + 1 to diammax + 1 into the four slices.
void build_catalogue_slices(Document& doc);

// What the main window does each time it becomes active: reference tables,
// option values, the two project boxes, ultimonudo. Every file is read before
// anything in the document changes.
void becoming_active(Document& doc);

// Engine side of the Options window.
class OptionsEditor {
public:
    // Fills the window from the files (creating missing ones); drops unsaved edits.
    void fill(const Document& doc);

    // Page "Min/max diameter".
    const TextList& diameter_choices() const { return choices_; }
    int min_index() const;
    int max_index() const;
    const std::string& hwc() const { return minmaxdia_.at(2); }
    void choose_min(int index);
    void choose_max(int index);
    void set_hwc(const std::string& text);

    // Page "Pressures/Unit Flow" (MinPRE, MaxPE, QUE, IQE).
    const TextList& minpre_lines() const { return minpre_; }
    std::string QUE;
    void set_min_pressure(Document& doc, const std::string& text);
    void set_max_pressure(const std::string& text);
    void set_instantaneous_factor(const std::string& text);

    // Page "Designing Parameters": line 0..3 = HmE, TasaE, habE, PerE.
    const TextList& usage_lines() const { return usage_; }
    void set_parameter(int line, const std::string& text);
    const TextList& consumptions() const { return consumptions_; }
    int selected_consumption() const { return selected_; }
    void add_consumption(const std::string& text);
    void click_consumption(int index);
    void delete_consumption();
    const std::string& picked_consumption() const { return picked_; }
    const Grid& parameters_table() const { return table_; }
    std::string future_population() const { return table_(1, 1); }
    std::string max_hour_flow() const { return table_(1, 2); }

    // Page "Units".
    const Grid& units() const { return units_; }
    void choose_diameter_unit(const std::string& unit);  // "inch" or "milimeter"

    bool diameters_changed = false, pressures_changed = false, parameters_changed = false, units_changed = false;

    // Closing: one question per changed group, saving on Yes.
    void close(const Document& doc, Messages& messages);
    // "Reset": deletes the four files on Yes and fills the window again.
    void reset(const Document& doc, Messages& messages);

private:
    void compute_table();
    std::filesystem::path folder_;
    TextList choices_;
    TextList minmaxdia_{"0", "5", "140"}, minpre_{"10", "50", "0.0157", "0.15"}, usage_;
    TextList consumptions_;
    int selected_ = -1;
    std::string picked_;
    Grid table_{3, 3, 1, 0};
    Grid units_;
};

// A key released in Edit2 (box 2) or Edit3 (box 3): these boxes are changed
// from the Options window only, so the option value is put back.
void project_box_key_released(Document& doc, int box, Messages& messages);

// After the Options window closed from a double click on Edit3: when a
// consumption was picked, asks whether to take its "Max Hour Flow" as unit flow.
void after_unit_flow_options(Document& doc, const OptionsEditor& editor, Messages& messages);

}  // namespace velmora::kelvaro

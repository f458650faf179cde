#pragma once
// Catalogue files: table file reading and writing, the price-list lookups,
// the benefit factor, and the editors' table operations that need no window.
#include "budget/engine/document.h"
#include "common/ports.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora::budget {

// Item code ranges of the price list.
inline constexpr long long kSkilledLabor = 7001;
inline constexpr long long kUnskilledLabor = 7002;
inline constexpr long long kSand = 2002;
inline constexpr long long kCement = 2004;
inline constexpr long long kBoulders = 2011;
inline constexpr long long kGravel = 2012;
inline bool is_pipe_code(long long c) { return c > 6000 && c < 7000; }

// First item row of the price list (rows 0-2 are headers).
inline constexpr int kFirstPriceRow = 3;

// Reads a table file: the grid's rows become the file's lines and its column
// count the largest number of fields. Throws FileError.
void read_table_file(Grid& grid, const std::filesystem::path& file);
Grid read_table_file(const std::filesystem::path& file);
std::vector<std::string> table_file_lines(const Grid& grid);
void write_table_file(const Grid& grid, const std::filesystem::path& file);

// Reads precios.csv and obras.csv and fills the parallel component lists.
void load_catalogues(Document& doc);
void fill_component_lists(Document& doc);

// The first price-list row (from row 3) whose code text equals `code`.
std::optional<int> find_price_row(const Document& doc, const std::string& code);
// Rows of the pipes (6000 < code < 7000), in price-list order.
std::vector<int> pipe_rows(const Document& doc);

// Benefit table (moe.csv): columns 2..4 of every benefit row and the total
// row recomputed. Values written with the general format.
void recompute_benefits(Grid& moe, char decimal_separator = '.');
// "Add" in the benefits window: the total row becomes an empty benefit row
// and a new total row is appended.
void add_benefit_row(Grid& moe, char decimal_separator = '.');
// "Delete": removes the row unless it is a header or the total row.
bool delete_benefit_row(Grid& moe, int row, char decimal_separator = '.');
// Column 4 of the last row of moe.csv. Throws FileError when unreadable.
double benefit_factor(const Document& doc);

// Distinct item types (column 1 from row 3), in order of first appearance.
std::vector<std::string> item_types(const Grid& precios);
// The eight texts of the materials wizard: description, unit, unit price,
// diameter, weight, percentage, skilled and unskilled labour days.
using WizardTexts = std::array<std::string, 8>;
// Inserts a new item of `type` just after the row holding the type's largest
// code, with that code plus 1, the month and year of the price and the
// wizard's texts. Returns the new row, or -1 for a type the list lacks.
int insert_price_item(Grid& precios, const std::string& type, int month, int year, const WizardTexts& texts);
// Removes an item row (rows 3 on); false when the row is not an item row.
bool delete_price_item(Grid& precios, int row);

// The ten texts of "Component's description".
struct ComponentFields {
    std::string description, inlet_pipes, outlet_pipes, elbows_inlet, elbows_outlet, valves_inlet,
        valves_outlet, tees, file, unit;
};
// The file name as stored in the works list: ".csv" appended when the
// extension is not ".csv".
std::string component_file_name(const std::string& file);
// Appends a component with the code of the row above plus 1. Returns its row.
int add_component(Grid& obras, const ComponentFields& fields);
// Deletes a component (rows 2 on). When a "*.com*" file of the projects
// folder names it, the question is asked and No keeps it. Returns true when
// the row was removed.
bool delete_component(Grid& obras, int row, const std::filesystem::path& projects_dir, Messages& messages);

// Bill editor, material picker "OK": appends a line with the item's
// description, unit, the quantity (general format) and code. A quantity that
// is not above 0 gives "A quantity must be entered" and adds nothing.
bool add_bill_line(Grid& bill, const std::string& quantity, const std::string& code, const std::string& description,
                   const std::string& unit, Messages& messages, char decimal_separator = '.');
// Bill editor, "Delete material": removes a bill line (rows 1 on); false for
// the header row or a row outside the table.
bool delete_bill_line(Grid& bill, int row);
// Bill editor, a new component: the table is cut to its header row and
// written as the component's bill file.
void start_component_bill(Grid& bill, const std::filesystem::path& file);
// The same for a component entered in "Component's description"; when a bill
// file of that name exists already (another component's bill), it is read
// instead of being emptied.
void begin_new_component_bill(Grid& bill, const std::filesystem::path& file);

// Closing the editors with unsaved changes. Each asks its question and, on
// Yes, writes its file; returns true when it wrote.
// On Yes the main window's copy (SGprecios / SGlistaobras) is reread too.
bool close_materials_editor(Document& doc, const Grid& precios, bool changed, Messages& messages);
bool close_components_editor(Document& doc, const Grid& obras, bool changed, Messages& messages);
bool close_benefits_window(const Grid& moe, bool changed, const std::filesystem::path& files_dir, Messages& messages);

// Component bill check: asks the question for each component whose bill
// cannot be read; returns the components (list index) the user answered Yes for.
std::vector<int> check_component_bills(const Document& doc, Messages& messages);

// The working copy of the community list window.
class CommunityListEditor {
public:
    struct Item {
        std::string code;
        std::string description;
    };
    // Reads precios.csv and aportesm.cst of the catalogue folder.
    void open(const std::filesystem::path& files_dir);
    // Items of the left list: all, or those whose description contains the
    // filter (lower case).
    std::vector<Item> filtered(const std::string& filter) const;
    // Adds a code unless the list holds it (compared as integers; a listed
    // code that is not an integer throws ConversionError).
    bool add(const Item& item);
    // Removes the entry at the index of the right list.
    void remove(int index);
    // Descriptions shown on the right (listed codes the price list holds).
    std::vector<std::string> shown() const;
    const std::vector<std::string>& codes() const { return codes_; }
    void save(const std::filesystem::path& files_dir) const;

private:
    std::vector<Item> items_;
    std::vector<std::string> codes_;
};

}  // namespace velmora::budget

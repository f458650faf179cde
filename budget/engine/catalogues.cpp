#include "budget/engine/catalogues.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"

#include <algorithm>
#include <cctype>

namespace velmora::budget {
namespace fs = std::filesystem;

double Document::num(const std::string& t) const { return numtext::read_lenient(t, decimal_separator); }
double Document::num_strict(const std::string& t) const { return numtext::read_strict(t, decimal_separator); }
std::string Document::text(double value) const { return numtext::format_general(value, decimal_separator); }

long long int_or_zero(const std::string& text) { return numtext::read_int_lenient(text); }

void read_table_file(Grid& grid, const fs::path& file) {
    auto lines = textfile::read_lines(file);
    grid.set_row_count(0);
    grid.set_col_count(0);
    grid.clear();
    grid.load_lines(lines, 0, commatext::Dialect::CommasOnly, true);
}

Grid read_table_file(const fs::path& file) {
    Grid g;
    read_table_file(g, file);
    return g;
}

std::vector<std::string> table_file_lines(const Grid& grid) { return grid.to_lines(0); }

void write_table_file(const Grid& grid, const fs::path& file) { textfile::write_lines(file, table_file_lines(grid)); }

void fill_component_lists(Document& doc) {
    std::vector<std::string>* lists[] = {&doc.nobra, &doc.obra, &doc.ne,  &doc.ns,  &doc.nee,  &doc.nes,
                                         &doc.nve,   &doc.nvs,  &doc.ntee, &doc.archivo, &doc.unidad};
    for (auto* l : lists) l->clear();
    const Grid& g = doc.SGlistaobras;
    for (int r = 1; r < g.row_count(); ++r) {
        doc.nobra.push_back(g(0, r));
        doc.obra.push_back(g(1, r));
        doc.ne.push_back(g(2, r));
        doc.ns.push_back(g(3, r));
        doc.nee.push_back(g(4, r));
        doc.nes.push_back(g(5, r));
        doc.nve.push_back(g(6, r));
        doc.nvs.push_back(g(7, r));
        doc.ntee.push_back("");  // created but not filled
        doc.archivo.push_back(g(9, r));
        doc.unidad.push_back(g(10, r));
    }
}

void load_catalogues(Document& doc) {
    read_table_file(doc.SGprecios, doc.files_dir / "precios.csv");
    read_table_file(doc.SGlistaobras, doc.files_dir / "obras.csv");
    fill_component_lists(doc);
}

std::optional<int> find_price_row(const Document& doc, const std::string& code) {
    for (int r = kFirstPriceRow; r < doc.SGprecios.row_count(); ++r)
        if (doc.SGprecios(0, r) == code) return r;
    return std::nullopt;
}

std::vector<int> pipe_rows(const Document& doc) {
    std::vector<int> rows;
    for (int r = kFirstPriceRow; r < doc.SGprecios.row_count(); ++r)
        if (is_pipe_code(int_or_zero(doc.SGprecios(0, r)))) rows.push_back(r);
    return rows;
}

void recompute_benefits(Grid& moe, char sep) {
    int n = moe.row_count();
    if (n < 2) return;
    if (moe.col_count() < 5) moe.set_col_count(5);
    double total = 0;
    for (int r = 1; r <= n - 2; ++r) {
        double x = numtext::read_lenient(moe(1, r), sep);
        if (x > 0) {
            moe.set_cell(2, r, numtext::format_general(30 / x, sep));
            moe.set_cell(3, r, numtext::format_general(365 / x, sep));
        } else {
            moe.set_cell(2, r, "");
            moe.set_cell(3, r, "");
        }
        double share = numtext::read_lenient(moe(3, r), sep) / 365;
        moe.set_cell(4, r, numtext::format_general(share, sep));
        total += numtext::read_lenient(moe(4, r), sep);
    }
    moe.clear_row(n - 1);
    moe.set_cell(0, n - 1, "Total");
    for (int c = 1; c <= 3; ++c) moe.set_cell(c, n - 1, "-----");
    moe.set_cell(4, n - 1, numtext::format_general(total, sep));
}

void add_benefit_row(Grid& moe, char sep) {
    if (moe.row_count() < 2) return;
    moe.clear_row(moe.row_count() - 1);
    moe.set_row_count(moe.row_count() + 1);
    recompute_benefits(moe, sep);
}

bool delete_benefit_row(Grid& moe, int row, char sep) {
    if (row < 1 || row >= moe.row_count() - 1) return false;
    moe.delete_row(row);
    recompute_benefits(moe, sep);
    return true;
}

double benefit_factor(const Document& doc) {
    Grid moe = read_table_file(doc.files_dir / "moe.csv");
    if (moe.row_count() == 0) return 0;
    return doc.num(moe(4, moe.row_count() - 1));
}

std::vector<std::string> item_types(const Grid& precios) {
    std::vector<std::string> types;
    for (int r = kFirstPriceRow; r < precios.row_count(); ++r)
        if (std::find(types.begin(), types.end(), precios(1, r)) == types.end()) types.push_back(precios(1, r));
    return types;
}

int insert_price_item(Grid& precios, const std::string& type, int month, int year, const WizardTexts& texts) {
    int best_row = -1;
    long long best = 0;
    for (int r = kFirstPriceRow; r < precios.row_count(); ++r) {
        if (precios(1, r) != type) continue;
        long long c = int_or_zero(precios(0, r));
        if (best_row < 0 || c > best) {
            best = c;
            best_row = r;
        }
    }
    // Only the types the list holds are offered; another type adds nothing.
    if (best_row < 0) return -1;
    int row = best_row + 1;
    precios.insert_row(row);
    if (precios.col_count() < 12) precios.set_col_count(12);
    precios.set_cell(0, row, std::to_string(best + 1));
    precios.set_cell(1, row, type);
    precios.set_cell(5, row, std::to_string(month));
    precios.set_cell(6, row, std::to_string(year));
    const int cols[8] = {2, 3, 4, 7, 8, 9, 10, 11};
    for (int k = 0; k < 8; ++k) precios.set_cell(cols[k], row, texts[static_cast<size_t>(k)]);
    return row;
}

bool delete_price_item(Grid& precios, int row) {
    if (row < kFirstPriceRow || row >= precios.row_count()) return false;
    precios.delete_row(row);
    return true;
}

std::string component_file_name(const std::string& file) {
    if (fs::path(file).extension() == ".csv") return file;
    return file + ".csv";
}

int add_component(Grid& obras, const ComponentFields& f) {
    int row = obras.row_count();
    obras.set_row_count(row + 1);
    if (obras.col_count() < 11) obras.set_col_count(11);
    obras.set_cell(0, row, std::to_string(int_or_zero(obras(0, row - 1)) + 1));
    const std::string* texts[] = {&f.description,   &f.inlet_pipes,  &f.outlet_pipes, &f.elbows_inlet,
                                  &f.elbows_outlet, &f.valves_inlet, &f.valves_outlet, &f.tees};
    for (int k = 0; k < 8; ++k) obras.set_cell(k + 1, row, *texts[k]);
    obras.set_cell(9, row, component_file_name(f.file));
    obras.set_cell(10, row, f.unit);
    return row;
}

bool delete_component(Grid& obras, int row, const fs::path& projects_dir, Messages& messages) {
    if (row < 2 || row >= obras.row_count()) return false;
    const std::string& description = obras(1, row);
    bool used = false;
    std::error_code ec;
    for (fs::directory_iterator it(projects_dir, ec), end; !ec && it != end && !used; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().filename().string();
        if (name.find(".com") == std::string::npos) continue;
        Grid project;
        try {
            read_table_file(project, it->path());
        } catch (const FileError&) {
            continue;
        }
        for (int r = 1; r < project.row_count() && !used; ++r) used = project(1, r) == description;
    }
    if (used && messages.question("The component to delete has been used by other projects, if you delete it some "
                                  "projects will be disfunctional. Do you want to delete it anyway?",
                                  "warning") != Answer::Yes)
        return false;
    obras.delete_row(row);
    return true;
}

bool add_bill_line(Grid& bill, const std::string& quantity, const std::string& code, const std::string& description,
                   const std::string& unit, Messages& messages, char sep) {
    double q = numtext::read_lenient(quantity, sep);
    if (!(q > 0)) {
        messages.warning("Warning", "A quantity must be entered");
        return false;
    }
    int row = bill.row_count();
    if (bill.col_count() < 4) bill.set_col_count(4);
    bill.set_row_count(row + 1);
    bill.set_row(row, {description, unit, numtext::format_general(q, sep), code});
    bill.set_fixed_rows(1);
    return true;
}

bool delete_bill_line(Grid& bill, int row) {
    if (row < 1 || row >= bill.row_count()) return false;
    bill.delete_row(row);
    return true;
}

void start_component_bill(Grid& bill, const fs::path& file) {
    bill.set_row_count(1);
    write_table_file(bill, file);
}

void begin_new_component_bill(Grid& bill, const fs::path& file) {
    std::error_code ec;
    if (fs::exists(file, ec)) {
        read_table_file(bill, file);
        return;
    }
    start_component_bill(bill, file);
}

bool close_materials_editor(Document& doc, const Grid& precios, bool changed, Messages& messages) {
    if (!changed) return false;
    if (messages.question("The materials list has changed. Any changes migth affect the budget calculations. Would "
                          "you like to continue?") != Answer::Yes)
        return false;
    write_table_file(precios, doc.files_dir / "precios.csv");
    read_table_file(doc.SGprecios, doc.files_dir / "precios.csv");
    return true;
}

bool close_components_editor(Document& doc, const Grid& obras, bool changed, Messages& messages) {
    if (!changed) return false;
    if (messages.question("The list of system works has changed, any changes might affect any project. Would you "
                          "like no save the changes?") != Answer::Yes)
        return false;
    write_table_file(obras, doc.files_dir / "obras.csv");
    read_table_file(doc.SGlistaobras, doc.files_dir / "obras.csv");
    return true;
}

bool close_benefits_window(const Grid& moe, bool changed, const fs::path& files_dir, Messages& messages) {
    if (!changed) return false;
    if (messages.question("The data for skilled labor has changed. Would you like to save the changes?") !=
        Answer::Yes)
        return false;
    write_table_file(moe, files_dir / "moe.csv");
    return true;
}

std::vector<int> check_component_bills(const Document& doc, Messages& messages) {
    std::vector<int> yes;
    for (size_t i = 1; i < doc.archivo.size(); ++i) {
        try {
            textfile::read_lines(doc.files_dir / doc.archivo[i]);
            continue;
        } catch (const FileError&) {
        }
        if (messages.question("The component file of \"" + doc.obra[i] +
                              "\" has not been found. Would you like to enter the data right now?") == Answer::Yes)
            yes.push_back(static_cast<int>(i));
    }
    return yes;
}

namespace {
std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

void CommunityListEditor::open(const fs::path& files_dir) {
    items_.clear();
    codes_.clear();
    Grid precios = read_table_file(files_dir / "precios.csv");
    for (int r = kFirstPriceRow; r < precios.row_count(); ++r) items_.push_back({precios(0, r), precios(2, r)});
    codes_ = textfile::read_lines(files_dir / "aportesm.cst");
}

std::vector<CommunityListEditor::Item> CommunityListEditor::filtered(const std::string& filter) const {
    if (filter.empty()) return items_;
    std::vector<Item> out;
    std::string f = lower(filter);
    for (const auto& it : items_)
        if (lower(it.description).find(f) != std::string::npos) out.push_back(it);
    return out;
}

bool CommunityListEditor::add(const Item& item) {
    long long code = numtext::read_int_strict(item.code);
    for (const auto& c : codes_)
        if (numtext::read_int_strict(c) == code) return false;
    codes_.push_back(item.code);
    return true;
}

std::vector<std::string> CommunityListEditor::shown() const {
    std::vector<std::string> out;
    for (const auto& c : codes_)
        for (const auto& it : items_)
            if (it.code == c) {
                out.push_back(it.description);
                break;
            }
    return out;
}

void CommunityListEditor::remove(int index) {
    int k = 0;
    for (size_t i = 0; i < codes_.size(); ++i) {
        bool held = std::any_of(items_.begin(), items_.end(), [&](const Item& it) { return it.code == codes_[i]; });
        if (!held) continue;
        if (k++ == index) {
            codes_.erase(codes_.begin() + static_cast<long>(i));
            return;
        }
    }
}

void CommunityListEditor::save(const fs::path& files_dir) const {
    textfile::write_lines(files_dir / "aportesm.cst", codes_);
}

}  // namespace velmora::budget

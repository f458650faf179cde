#include "budget/engine/project.h"

#include "budget/engine/catalogues.h"
#include "budget/engine/report.h"
#include "budget/engine/transport.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace velmora::budget {
namespace fs = std::filesystem;

namespace {

std::string today_text() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
    return buf;
}

void set_header(Grid& g, const std::vector<std::string>& texts) {
    for (size_t c = 0; c < texts.size(); ++c) g.set_cell(static_cast<int>(c), 0, texts[c]);
}

void reset(Grid& g, int cols, int rows, int fixed_rows, int fixed_cols) {
    g = Grid(cols, rows, fixed_rows, fixed_cols);
}

const std::vector<std::string> kIndirectLabels = {
    "Detailed Engineering Design", "Design Evaluation", "Land (Including water sources)", "Training",
    "Technical Management",        "Overhead",          "Supervision",                    "Profits",
    "Others"};

// The component list entry `a` as an integer, strictly: a count that is not
// an integer stops the rebuild.
long long list_int_strict(const std::vector<std::string>& list, int a, const char* what) {
    if (a < 0 || static_cast<size_t>(a) >= list.size())
        throw CommandError("Component " + std::to_string(a) + " of the project is not in the components list (" +
                           what + ")");
    try {
        return numtext::read_int_strict(list[static_cast<size_t>(a)]);
    } catch (const ConversionError& e) {
        // Entry a of the lists comes from line a + 2 of the works catalogue.
        throw ConversionError(std::string(e.what()) + " (obras.csv, line " + std::to_string(a + 2) + ", " + what +
                              ")");
    }
}

}  // namespace

std::array<Grid*, 9> project_tables(Document& doc) {
    return {&doc.SG1, &doc.SG2, &doc.SG3, &doc.SG4, &doc.SG5, &doc.SG6, &doc.SG7, &doc.SG8, &doc.SG9};
}

const std::vector<std::string>& indirect_cost_labels() { return kIndirectLabels; }

void inicializardatos(Document& doc, Messages& messages) {
    doc.saved = true;
    doc.report_outdated = false;
    doc.save_button_enabled = false;
    doc.save_menu_enabled = false;
    load_catalogues(doc);

    reset(doc.SG1, 2, 5, 0, 1);
    const char* id_labels[] = {"Community", "Location", "Households", "Type", "Date"};
    for (int r = 0; r < 5; ++r) doc.SG1.set_cell(0, r, id_labels[r]);
    doc.SG1.set_cell(1, 4, doc.today.empty() ? today_text() : doc.today);
    doc.SG1.set_col_width(0, 100);
    doc.SG1.set_col_width(1, 200);

    int components = std::max(1, doc.SGlistaobras.row_count() - 1);
    reset(doc.SG2, 4, components, 1, 3);
    set_header(doc.SG2, {"Idx", "Component", "Unit", "Quantity"});
    for (int i = 1; i < components; ++i) {
        doc.SG2.set_cell(0, i, doc.nobra[static_cast<size_t>(i)]);
        doc.SG2.set_cell(1, i, doc.obra[static_cast<size_t>(i)]);
        doc.SG2.set_cell(2, i, doc.unidad[static_cast<size_t>(i)]);
    }
    doc.SG2.set_col_width(1, 400);

    reset(doc.SG3, 2, 1, 1, 2);
    set_header(doc.SG3, {"Idx", "Component"});
    doc.SG3.set_col_width(1, 400);
    doc.maxde = doc.maxds = 0;

    auto pipes = pipe_rows(doc);
    int rows = static_cast<int>(pipes.size()) + 1;
    reset(doc.SG4, 3, rows, 1, 2);
    set_header(doc.SG4, {"Code", "Pipes", "Length [m]"});
    doc.SG4.set_col_width(1, 400);
    doc.SG4.set_col_width(2, 80);
    reset(doc.SG5, 4, rows, 1, 2);
    set_header(doc.SG5, {"Code", "Pipes", "Length [m]", "No HH connections"});
    doc.SG5.set_col_width(1, 400);
    doc.SG5.set_col_width(2, 80);
    doc.SG5.set_col_width(3, 120);
    doc.diametro.assign(1, "");
    for (size_t n = 0; n < pipes.size(); ++n) {
        int r = static_cast<int>(n) + 1;
        for (Grid* g : {&doc.SG4, &doc.SG5}) {
            g->set_cell(0, r, doc.SGprecios(0, pipes[n]));
            g->set_cell(1, r, doc.SGprecios(2, pipes[n]));
        }
        doc.diametro.push_back(doc.SGprecios(7, pipes[n]));
    }

    reset(doc.SG6, 3, 1, 1, 0);
    set_header(doc.SG6, {"Code", "Description", "%"});
    doc.SG6.set_col_width(1, 200);
    cargaraportes(doc, messages);

    init_transport_table(doc);

    reset(doc.SG8, 3, 10, 1, 0);
    set_header(doc.SG8, {"Description", "Cost", "%"});
    for (int j = 1; j <= 9; ++j) doc.SG8.set_cell(0, j, kIndirectLabels[static_cast<size_t>(j - 1)]);
    doc.SG8.set_col_width(0, 250);

    auto tools = textfile::read_lines(doc.files_dir / "herram.cst");
    doc.tools_percentage = tools.empty() ? "" : tools[0];
    read_table_file(doc.SG9, doc.files_dir / "aportes.csv");
    doc.SG9.set_fixed_rows(1);
}

void condicionesiniciales(Document& doc, Messages& messages) {
    for (Grid* g : project_tables(doc)) g->clear();
    inicializardatos(doc, messages);
    doc.others_description.clear();
    doc.project_file.clear();
    doc.saved = true;
    doc.report_outdated = false;
    doc.save_button_enabled = doc.save_menu_enabled = true;
    inicializar(doc);
}

namespace {

struct Rows {
    int maxde = 0, maxds = 0;
};

// The Diameters table has one row per unit of every component with fittings
// and one column per inlet and outlet. Beyond these sizes it could be neither
// shown nor held in memory, so the command stops with a message instead.
constexpr long long kMaxDiameterRows = 10000;
constexpr long long kMaxFittings = 100;

// Step 2 of the Diameters rebuild; with `build_rows` it calls `row` for every
// row appended, after counting the units against the table's size (opening a
// project only takes the largest counts of inlets and outlets).
template <class RowFn>
Rows scan_quantities(const Document& doc, bool build_rows, RowFn&& row) {
    Rows m;
    long long units = 0;
    for (int a = 1; a < doc.SG2.row_count(); ++a) {
        long long n = int_or_zero(doc.SG2(3, a));
        if (n <= 0) continue;
        long long d = list_int_strict(doc.ne, a, "inlets");
        long long e = list_int_strict(doc.ns, a, "outlets");
        for (auto [count, what] : {std::pair{d, "inlets"}, std::pair{e, "outlets"}})
            if (count > kMaxFittings)
                throw CommandError("obras.csv, line " + std::to_string(a + 2) + ": " + std::to_string(count) + " " +
                                   what + "; a component has at most " + std::to_string(kMaxFittings));
        if (d > 0 || e > 0) {
            units += n;
            if (build_rows && units > kMaxDiameterRows)
                throw CommandError("The components with fittings add up to more than " +
                                   std::to_string(kMaxDiameterRows) + " units (row " + std::to_string(a) +
                                   ", quantity " + std::to_string(n) + "); the Diameters table cannot hold them");
            m.maxde = std::max(m.maxde, static_cast<int>(d));
            m.maxds = std::max(m.maxds, static_cast<int>(e));
            if (build_rows)
                for (long long k = 1; k <= n; ++k) row(a, n, k, static_cast<int>(d), static_cast<int>(e));
        }
    }
    return m;
}

}  // namespace

void set_max_inlets_outlets(Document& doc) {
    Rows m = scan_quantities(doc, false, [](int, long long, long long, int, int) {});
    doc.maxde = m.maxde;
    doc.maxds = m.maxds;
}

void diametros(Document& doc) {
    struct Line {
        int a, d, e;
        std::string name;
    };
    std::vector<Line> lines;
    Rows m = scan_quantities(doc, true, [&](int a, long long n, long long k, int d, int e) {
        std::string name = doc.obra[static_cast<size_t>(a)];
        if (n >= 2) name += " - No. " + std::to_string(k);
        lines.push_back({a, d, e, name});
    });
    doc.maxde = m.maxde;
    doc.maxds = m.maxds;
    int cols = m.maxde + m.maxds + 2;
    Grid g(cols, static_cast<int>(lines.size()) + 1, 1, 2);
    g.set_col_width(1, 400);
    g.set_cell(0, 0, "Idx");
    g.set_cell(1, 0, "Component");
    for (int k = 1; k <= m.maxde; ++k) g.set_cell(k + 1, 0, "Inlet fi " + std::to_string(k));
    for (int k = 1; k <= m.maxds; ++k) g.set_cell(m.maxde + k + 1, 0, "Outlet fi " + std::to_string(k));
    for (size_t i = 0; i < lines.size(); ++i) {
        int r = static_cast<int>(i) + 1;
        const Line& l = lines[i];
        g.set_cell(0, r, std::to_string(l.a));
        g.set_cell(1, r, l.name);
        for (int c = l.d + 2; c <= m.maxde + 1; ++c) g.set_cell(c, r, "-----");
        for (int c = m.maxde + l.e + 2; c <= m.maxde + m.maxds + 1; ++c) g.set_cell(c, r, "-----");
    }
    doc.SG3 = std::move(g);
}

void cargarproyecto(Document& doc, const fs::path& bfl) {
    auto lines = textfile::read_lines(bfl);
    doc.others_description = lines.size() > 0 ? lines[0] : "";
    doc.tools_percentage = lines.size() > 1 ? lines[1] : "";
    auto tables = project_tables(doc);
    for (size_t k = 0; k < tables.size(); ++k) {
        fs::path file = bfl;
        file.replace_extension(kTableExtensions[k]);
        read_table_file(*tables[k], file);
    }
    set_max_inlets_outlets(doc);
}

void salvarproyecto(Document& doc, const fs::path& bfl) {
    textfile::AtomicGroup group;
    group.add_lines(bfl, {doc.others_description, doc.tools_percentage, "0"});
    auto tables = project_tables(doc);
    for (size_t k = 0; k < tables.size(); ++k) {
        fs::path file = bfl;
        file.replace_extension(kTableExtensions[k]);
        group.add_lines(file, table_file_lines(*tables[k]));
    }
    group.commit();
}

fs::path project_name_for(const fs::path& chosen) {
    fs::path p = chosen;
    if (p.extension() != ".bfl") p.replace_extension(".bfl");
    return p;
}

bool open_command(Document& doc, FileDialogs& dialogs) {
    FileDialogRequest req;
    req.filter = kProjectFilter;
    req.initial_dir = doc.projects_dir;
    auto choice = dialogs.open(req);
    bool read = false;
    if (choice) {
        doc.project_file = choice->path;
        cargarproyecto(doc, choice->path);
        read = true;
    }
    doc.report_outdated = true;
    doc.save_button_enabled = doc.save_menu_enabled = true;
    doc.saved = true;
    return read;
}

bool save_command(Document& doc, FileDialogs& dialogs) {
    FileDialogRequest req;
    req.filter = kProjectFilter;
    req.initial_dir = doc.projects_dir;
    req.file_name = doc.project_file.filename().string();
    auto choice = dialogs.save(req);
    if (!choice) return false;
    fs::path name = project_name_for(choice->path);
    doc.project_file = name;
    salvarproyecto(doc, name);
    doc.saved = true;
    return true;
}

void close_command(Document& doc, FileDialogs& dialogs, Messages& messages) {
    if (doc.saved) return;
    if (messages.question("The project has been modified. Would you like to save the changes?") == Answer::Yes)
        save_command(doc, dialogs);
}

void table_edited(Document& doc, ProjectTable table, int col, int row) {
    doc.saved = false;
    doc.report_outdated = true;
    doc.save_button_enabled = doc.save_menu_enabled = true;
    switch (table) {
        case ProjectTable::SG2:
            diametros(doc);
            doc.cambio_materiales = true;
            break;
        case ProjectTable::SG4:
        case ProjectTable::SG5: doc.cambio_materiales = true; break;
        case ProjectTable::SG7: transport_totals(doc); break;
        case ProjectTable::SG8:
            if (row >= 1 && col == 1) doc.SG8.set_cell(2, row, "----");
            if (row >= 1 && col == 2) doc.SG8.set_cell(1, row, "----");
            break;
        default: break;
    }
}

void others_field_edited(Document& doc) { doc.saved = false; }

void tools_field_edited(Document& doc) {
    doc.saved = false;
    doc.report_outdated = true;
    doc.save_menu_enabled = true;
    doc.save_button_enabled = false;
}

}  // namespace velmora::budget

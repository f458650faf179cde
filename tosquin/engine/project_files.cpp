#include "tosquin/engine/project_files.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph.h"
#include "tosquin/engine/profile.h"

#include <algorithm>
#include <optional>

namespace velmora::tosquin {
namespace fs = std::filesystem;

namespace {

using numtext::is_integer;
using numtext::is_number;

[[noreturn]] void malformed(const fs::path& file, const std::string& what) {
    throw FileError(textfile::file_message(file, what));
}

std::string line_no(size_t index) { return "line " + std::to_string(index + 1) + ": "; }

struct LinData {
    std::string name;
    int n = 0;
    double q = 0, residual = 0;
    std::vector<std::string> cam, cota;
};

LinData parse_lin(const fs::path& file) {
    auto lines = textfile::read_lines(file);
    if (lines.size() < 4) malformed(file, "a project file needs at least 4 lines, it has " + std::to_string(lines.size()));
    LinData d;
    d.name = lines[0];
    if (!is_integer(lines[1]) || numtext::read_int_lenient(lines[1]) < 1)
        malformed(file, line_no(1) + "the number of stations '" + lines[1] + "' is not a whole number above 0");
    if (!is_number(lines[2])) malformed(file, line_no(2) + "the flow '" + lines[2] + "' is not a number");
    if (!is_number(lines[3])) malformed(file, line_no(3) + "the residual pressure '" + lines[3] + "' is not a number");
    d.n = static_cast<int>(numtext::read_int_lenient(lines[1]));
    d.q = numtext::read_lenient(lines[2]);
    d.residual = numtext::read_lenient(lines[3]);
    const size_t need = 4 + 2 * static_cast<size_t>(d.n);
    if (lines.size() < need)
        malformed(file, std::to_string(d.n) + " stations need " + std::to_string(need) + " lines, the file has " +
                            std::to_string(lines.size()));
    for (size_t k = 4; k < need; ++k)
        if (!is_number(lines[k]))
            malformed(file, line_no(k) + "the " + std::string(k < 4 + static_cast<size_t>(d.n) ? "distance" : "elevation") +
                                " '" + lines[k] + "' is not a number");
    d.cam.assign(lines.begin() + 4, lines.begin() + 4 + d.n);
    d.cota.assign(lines.begin() + 4 + d.n, lines.begin() + static_cast<std::ptrdiff_t>(need));
    return d;
}

struct DesData {
    int nsecciones = 0, naire = 0, nlavado = 0, ntramosfijos = 0;
    std::vector<std::string> sx, sz, xva, yva, xvl, yvl;
    std::vector<std::vector<std::string>> predetermined;  // columns 0 .. 4
    std::vector<std::vector<std::string>> fixed;          // columns 0 .. 3
};

int lenient_count(const std::string& text) {
    return is_integer(text) ? static_cast<int>(std::max(0LL, numtext::read_int_lenient(text))) : 0;
}

DesData parse_des(const fs::path& file) {
    auto lines = textfile::read_lines(file);
    if (lines.size() < 15) malformed(file, "a design file needs 19 lines, it has " + std::to_string(lines.size()));
    DesData d;
    d.ntramosfijos = lenient_count(lines[14]);
    if (d.ntramosfijos > 0 && lines.size() < 19)
        malformed(file, "a design file needs 19 lines, it has " + std::to_string(lines.size()));
    lines.resize(std::max<size_t>(lines.size(), 19));

    auto pair_of_lists = [&](size_t count_line, size_t expected_extra, int& count, std::vector<std::string>& a,
                             std::vector<std::string>& b, const char* what) {
        count = lenient_count(lines[count_line]);
        if (count <= 0) return;
        a = read_comma_list(lines[count_line + 1]);
        b = read_comma_list(lines[count_line + 2]);
        size_t n = static_cast<size_t>(count) + expected_extra;
        if (a.size() != n || b.size() != n)
            malformed(file, line_no(count_line) + std::to_string(count) + " " + what + " need " + std::to_string(n) +
                                " distances and elevations on the next two lines");
        for (size_t k = 0; k < 2; ++k)
            for (const auto& item : k == 0 ? a : b)
                if (!is_number(item))
                    malformed(file, line_no(count_line + 1 + k) + "'" + item + "' is not a number");
    };
    pair_of_lists(0, 1, d.nsecciones, d.sx, d.sz, "sections");
    pair_of_lists(3, 0, d.naire, d.xva, d.yva, "air valves");
    pair_of_lists(6, 0, d.nlavado, d.xvl, d.yvl, "washout valves");
    for (size_t c = 0; c < 5; ++c) d.predetermined.push_back(read_comma_list(lines[9 + c]));
    if (d.ntramosfijos > 0)
        for (size_t c = 0; c < 4; ++c) d.fixed.push_back(read_comma_list(lines[15 + c]));
    return d;
}

struct TopData {
    int cols = 0, rows = 0;
    std::vector<std::pair<int, int>> widths;
    struct Cell {
        int col, row;
        std::string text;
    };
    std::vector<Cell> cells;
};

// "a,b" with two whole numbers at the start of `text`; the rest after the
// second comma (when asked) goes to `rest`.
bool two_ints(const std::string& text, int& a, int& b, std::string* rest) {
    size_t c1 = text.find(',');
    if (c1 == std::string::npos) return false;
    size_t c2 = rest ? text.find(',', c1 + 1) : std::string::npos;
    if (rest && c2 == std::string::npos) return false;
    std::string first = text.substr(0, c1);
    std::string second = text.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    if (!is_integer(first) || !is_integer(second)) return false;
    a = static_cast<int>(numtext::read_int_lenient(first));
    b = static_cast<int>(numtext::read_int_lenient(second));
    if (rest) *rest = text.substr(c2 + 1);
    return true;
}

TopData parse_top(const fs::path& file) {
    auto lines = textfile::read_lines(file);
    TopData d;
    if (lines.empty() || !two_ints(lines[0], d.cols, d.rows, nullptr) || d.cols <= 0 || d.rows <= 0)
        malformed(file, "line 1 gives no columns or no rows");
    if (d.cols > 1000 || d.rows > 1000000) malformed(file, "line 1 gives an unreasonable grid size");
    for (size_t k = 1; k < lines.size(); ++k) {
        const std::string& line = lines[k];
        if (line.empty()) continue;
        int a = 0, b = 0;
        if (line.rfind("cw ", 0) == 0) {
            if (!two_ints(line.substr(3), a, b, nullptr) || a < 0 || a >= d.cols || b < 0)
                malformed(file, line_no(k) + "a column width line must read \"cw COLUMN,WIDTH\"");
            d.widths.emplace_back(a, b);
            continue;
        }
        std::string text;
        if (!two_ints(line, a, b, &text) || a < 0 || a >= d.cols || b < 0 || b >= d.rows)
            malformed(file, line_no(k) + "a cell line must read \"COLUMN,ROW,TEXT\" inside the grid");
        d.cells.push_back({a, b, std::move(text)});
    }
    return d;
}

void fill_column(Grid& g, int col, const std::vector<std::string>& items) {
    for (size_t r = 0; r < items.size(); ++r) g.set_cell(col, static_cast<int>(r), items[r]);
}

std::vector<std::string> column_items(const Grid& g, int col) {
    std::vector<std::string> out;
    for (int r = 0; r < g.row_count(); ++r) out.push_back(g(col, r));
    return out;
}

int filled_fixed_rows(const Grid& g) {
    int n = 0;
    for (int r = 1; r < g.row_count(); ++r)
        if (!g(0, r).empty()) ++n;
    return n;
}

}  // namespace

std::string write_comma_list(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out.push_back(',');
        const std::string& item = items[i];
        if (item.find_first_of(",\"") == std::string::npos) {
            out += item;
            continue;
        }
        out.push_back('"');
        for (char c : item) {
            if (c == '"') out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
    return out;
}

std::vector<std::string> read_comma_list(const std::string& line) {
    return commatext::read_line(line, commatext::Dialect::CommasOnly);
}

std::vector<std::string> lin_lines(const Document& doc) {
    // Line 2 counts the stations the file holds, so that it always opens
    // with the stations it was saved with.
    std::vector<std::string> lines{doc.Edit1, std::to_string(doc.listacam.size()), doc.Edit3, doc.Edit4};
    lines.insert(lines.end(), doc.listacam.begin(), doc.listacam.end());
    lines.insert(lines.end(), doc.listacota.begin(), doc.listacota.end());
    return lines;
}

std::vector<std::string> des_lines(const Document& doc) {
    std::vector<std::string> lines{std::to_string(doc.nsecciones), write_comma_list(doc.seccionesx),
                                   write_comma_list(doc.seccionesz), std::to_string(doc.nvalvulasaire),
                                   write_comma_list(doc.xva),        write_comma_list(doc.yva),
                                   std::to_string(doc.nvalvulaslavado), write_comma_list(doc.xvl),
                                   write_comma_list(doc.yvl)};
    for (int c = 0; c < 5; ++c) lines.push_back(write_comma_list(column_items(doc.predeterminados, c)));
    lines.push_back(std::to_string(filled_fixed_rows(doc.tramosfijos)));
    for (int c = 0; c < 4; ++c) lines.push_back(write_comma_list(column_items(doc.tramosfijos, c)));
    return lines;
}

std::vector<std::string> top_lines(const Grid& g) {
    std::vector<std::string> lines{std::to_string(g.col_count()) + "," + std::to_string(g.row_count())};
    for (int c = 0; c < g.col_count(); ++c) lines.push_back("cw " + std::to_string(c) + "," + std::to_string(g.col_width(c)));
    for (int r = 0; r < g.row_count(); ++r)
        for (int c = 0; c < g.col_count(); ++c)
            if (!g(c, r).empty()) lines.push_back(std::to_string(c) + "," + std::to_string(r) + "," + g(c, r));
    return lines;
}

void abrir(Document& doc, const fs::path& lin) {
    // Everything is read and checked first.
    LinData l = parse_lin(lin);
    fs::path des = fs::path(lin).replace_extension(".des");
    fs::path top = fs::path(lin).replace_extension(".top");
    std::optional<DesData> d;
    std::optional<TopData> t;
    if (fs::exists(des)) d = parse_des(des);
    if (fs::exists(top)) t = parse_top(top);

    doc.commands.save = true;
    doc.archivoproyecto = lin;
    doc.has_file = true;
    doc.titulo = doc.Edit1 = l.name;
    doc.nestaciones = l.n;
    doc.caudal = l.q;
    doc.presionresidual = l.residual;
    doc.Edit2 = std::to_string(l.n);
    doc.Edit3 = numtext::format_general(l.q);
    doc.Edit4 = numtext::format_general(l.residual);
    doc.listacam = l.cam;
    doc.listacota = l.cota;
    doc.SG2.clear_rows_from(1);
    doc.SG2.set_row_count(l.n + 1);
    for (int i = 1; i <= l.n; ++i)
        doc.SG2.set_row(i, {std::to_string(i), l.cam[static_cast<size_t>(i - 1)], l.cota[static_cast<size_t>(i - 1)]});
    update_profile_ends(doc);
    single_section(doc);

    doc.predeterminados.clear_rows_from(1);
    doc.tramosfijos.clear_rows_from(1);
    doc.ntramosfijos = 0;
    if (d) {
        if (d->nsecciones > 0) {
            doc.nsecciones = d->nsecciones;
            doc.seccionesx = d->sx;
            doc.seccionesz = d->sz;
        }
        if (d->naire > 0) {
            doc.nvalvulasaire = d->naire;
            doc.xva = d->xva;
            doc.yva = d->yva;
        }
        if (d->nlavado > 0) {
            doc.nvalvulaslavado = d->nlavado;
            doc.xvl = d->xvl;
            doc.yvl = d->yvl;
        }
        size_t rows = 1;
        for (const auto& col : d->predetermined) rows = std::max(rows, col.size());
        doc.predeterminados.set_row_count(static_cast<int>(rows));
        for (int c = 0; c < 5; ++c) fill_column(doc.predeterminados, c, d->predetermined[static_cast<size_t>(c)]);
        doc.ntramosfijos = d->ntramosfijos;
        if (d->ntramosfijos > 0) {
            size_t frows = 100;
            for (const auto& col : d->fixed) frows = std::max(frows, col.size());
            doc.tramosfijos.set_row_count(static_cast<int>(frows));
            for (int c = 0; c < 4; ++c) fill_column(doc.tramosfijos, c, d->fixed[static_cast<size_t>(c)]);
        }
    }
    if (t) {
        doc.SG3.set_size(t->cols, t->rows);
        for (const auto& [c, w] : t->widths) doc.SG3.set_col_width(c, w);
        for (const auto& cell : t->cells) doc.SG3.set_cell(cell.col, cell.row, cell.text);
    }
    clear_graph(doc);
    doc.cambios = false;
    doc.commands.open = false;
}

void open_and_design(Document& doc, const fs::path& lin, Messages& messages, Canvas& canvas) {
    abrir(doc, lin);
    dibujargrafica(doc, canvas);
    calcular(doc, messages, &canvas, true);
}

bool open_command(Document& doc, FileDialogs& dialogs, Messages& messages, Canvas& canvas) {
    FileDialogRequest request{"Open", kProjectFilter, 1, doc.carpetaproyectos, "", "lin"};
    auto choice = dialogs.open(request);
    if (!choice || choice->filter_index != 1 || !fs::exists(choice->path)) return false;
    try {
        open_and_design(doc, choice->path, messages, canvas);
    } catch (const FileError& e) {
        messages.error(e.what());
        return false;
    }
    return true;
}

void guardararchivos(Document& doc, const fs::path& lin) {
    textfile::AtomicGroup group;
    group.add_lines(lin, lin_lines(doc));
    group.add_lines(fs::path(lin).replace_extension(".des"), des_lines(doc));
    group.add_lines(fs::path(lin).replace_extension(".top"), top_lines(doc.SG3), textfile::Encoding::Utf16LeBom);
    group.commit();
    doc.ntramosfijos = filled_fixed_rows(doc.tramosfijos);
    doc.cambios = false;
}

bool save_as(Document& doc, FileDialogs& dialogs) {
    FileDialogRequest request{"Save As", kProjectFilter, 1, doc.carpetaproyectos, doc.Edit1 + ".lin", "lin"};
    auto choice = dialogs.save(request);
    if (!choice) return false;
    guardararchivos(doc, choice->path);
    doc.archivoproyecto = choice->path;
    doc.has_file = true;
    doc.commands.save = true;
    return true;
}

void save(Document& doc) {
    guardararchivos(doc, doc.archivoproyecto);
    doc.has_file = true;
    doc.commands.save = false;
    doc.commands.save_as = true;
    doc.commands.export_sheet = false;
}

void preguntarguardar(Document& doc, Messages& messages) {
    if (messages.question("The design/survey data has changed. Would you like to save the changes?", "Warning") ==
        Answer::Yes)
        guardararchivos(doc, doc.archivoproyecto);
}

void new_project(Document& doc) {
    nuevoproyecto(doc);
    doc.commands.open = true;
}

void exit_current_project(Document& doc, Messages& messages) {
    if (doc.cambios) preguntarguardar(doc, messages);
    new_project(doc);
}

void window_closing(Document& doc, Messages& messages, FileDialogs& dialogs) {
    if (doc.listacam.size() <= 1) return;
    if (messages.question("Would you like to save the changes?", "Warning") == Answer::Yes) save_as(doc, dialogs);
}

}  // namespace velmora::tosquin

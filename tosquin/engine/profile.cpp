#include "tosquin/engine/profile.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph.h"
#include "tosquin/engine/reference_files.h"

#include <algorithm>

namespace velmora::tosquin {
namespace {

bool stations_ok(const std::string& edit2) {
    return numtext::is_integer(edit2) && numtext::read_int_lenient(edit2) > 2;
}

void number_station_rows(Grid& g) {
    for (int r = 1; r < g.row_count(); ++r) g.set_cell(0, r, std::to_string(r));
}

}  // namespace

void nuevoproyecto(Document& doc) {
    doc.nsecciones = 1;
    doc.nvalvulasaire = 0;
    doc.nvalvulaslavado = 0;
    // The previous project's boxes, valves and file must not carry over into
    // the new one (its first save would overwrite the previous project).
    doc.seccionesx.clear();
    doc.seccionesz.clear();
    doc.xva.clear();
    doc.yva.clear();
    doc.xvl.clear();
    doc.yvl.clear();
    doc.listacam.clear();
    doc.listacota.clear();
    doc.archivoproyecto.clear();
    doc.has_file = false;
    clear_graph(doc);

    doc.StringGrid1.clear_rows_from(1);
    doc.SG2.clear_rows_from(1);
    doc.predeterminados.clear_rows_from(1);
    doc.tramosfijos.clear_rows_from(1);
    doc.Edit1.clear();
    doc.Edit2.clear();
    doc.Edit3.clear();

    doc.commands = CommandState{};
    doc.commands.open = true;

    if (!doc.carpetadatos.empty()) read_units(doc);
    write_sheet_headers(doc);
    write_predetermined_headers(doc);

    doc.SG2.set_size(3, 2500);
    write_station_headers(doc);
    doc.SG2.set_cell(0, 1, "1");
    doc.Edit2 = "1";
    doc.nestaciones = 1;

    doc.cambios = false;
    doc.recalcular = false;
    doc.ntramosfijos = 0;
    doc.disenado = 0;
    doc.status_panels = {};
}

bool leave_tab(Document& doc, Messages& messages) {
    const bool name = !doc.Edit1.empty(), flow = !doc.Edit3.empty(), count = stations_ok(doc.Edit2);
    if (name && flow && count) doc.regresar = 0;
    const std::string suffix = count ? "" : " The number of stations should be greater than two";
    if (!name && !flow) messages.notice("Enter the project name and the flow." + suffix);
    else if (!name) messages.notice("Enter the project name." + suffix);
    else if (!flow) messages.notice("Enter the flow." + suffix);
    if (doc.regresar != 0) {
        // Refused for the station count alone: say so.
        if (!count) messages.notice("Number of stations should be greater than two");
        return false;
    }
    return prepararperfil(doc, messages);
}

bool prepararperfil(Document& doc, Messages& messages) {
    if (doc.disenado != 0) return true;
    doc.disenado = -1;
    doc.regresar = 0;
    auto refuse = [&] {
        // The profile is prepared again on the next attempt.
        doc.regresar = -1;
        doc.disenado = 0;
        return false;
    };
    if (!stations_ok(doc.Edit2)) {
        messages.notice("Number of stations should be greater than two");
        return refuse();
    }
    doc.listacam.clear();
    doc.listacota.clear();
    for (int r = 1; r < doc.SG2.row_count(); ++r) {
        doc.listacam.push_back(doc.SG2(1, r));
        doc.listacota.push_back(doc.SG2(2, r));
    }
    doc.nestaciones = doc.SG2.row_count() - 1;
    update_profile_ends(doc);
    compute_scales(doc, doc.graph);

    doc.titulo = doc.Edit1;
    // A project without a file yet is named after its title, in the projects
    // folder (not wherever the program happens to run).
    if (!doc.has_file) doc.archivoproyecto = doc.carpetaproyectos / (doc.titulo + ".lin");
    doc.Edit1 = std::filesystem::path(doc.titulo).stem().string();

    try {
        doc.caudal = numtext::read_strict(doc.Edit3);
        doc.presionresidual = numtext::read_strict(doc.Edit4);
    } catch (const ConversionError& e) {
        messages.error(e.what());
        return refuse();
    }
    if (doc.seccionesx.empty()) single_section(doc);
    doc.commands.open = false;
    return true;
}

bool show_main_pipeline(Document& doc, Messages& messages, Canvas& canvas) {
    if (!doc.recalcular) return false;
    try {
        doc.nestaciones = static_cast<int>(numtext::read_int_strict(doc.Edit2));
        doc.caudal = numtext::read_strict(doc.Edit3);
        doc.presionresidual = numtext::read_strict(doc.Edit4);
    } catch (const ConversionError& e) {
        messages.error(e.what());
        return false;
    }
    clear_graph(doc);
    dibujargrafica(doc, canvas);
    calcular(doc, messages, &canvas, true);
    doc.recalcular = false;
    return true;
}

void show_data_tab(Document& doc) { layout_survey_book(doc); }

void trim_station_table(Document& doc) {
    Grid& g = doc.SG2;
    for (int r = 1; r < g.row_count(); ++r)
        if (g(1, r).empty() && g(2, r).empty()) {
            g.set_row_count(r);
            return;
        }
}

void station_key_released(Document& doc, Key key, int col, int row) {
    switch (key) {
        case Key::Digit:
        case Key::Dot:
        case Key::Backspace: trim_station_table(doc); break;
        case Key::Arrow: break;
        case Key::Other: doc.SG2.set_cell(col, row, ""); break;
    }
}

void insert_station(Document& doc, int row) {
    if (row < 1 || row >= doc.SG2.row_count()) return;
    doc.SG2.insert_row(row);
    doc.cambios = true;
}

void delete_station(Document& doc, int row) {
    if (row < 1 || row >= doc.SG2.row_count()) return;
    doc.SG2.delete_row(row);
    doc.cambios = true;
}

void add_station(Document& doc) {
    int r = doc.SG2.row_count();
    doc.SG2.set_row_count(r + 1);
    doc.SG2.set_cell(0, r, std::to_string(r));
    doc.Edit2 = std::to_string(r);
    doc.cambios = true;
}

void set_input_mode(Document& doc, InputMode mode) {
    doc.input_mode = mode;
    if (mode == InputMode::ProfileData && doc.maximo > 2) doc.SG2.set_row_count(doc.maximo);
}

int paste_block(Grid& g, const std::string& text, int col, int row) {
    row = std::max(row, g.fixed_rows());
    col = std::max(col, 0);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    int last = -1;
    for (size_t k = 0; k < lines.size(); ++k) {
        int r = row + static_cast<int>(k);
        if (r >= g.row_count()) break;
        const std::string& line = lines[k];
        int c = col;
        size_t s = 0;
        for (;;) {
            size_t tab = line.find('\t', s);
            if (c < g.col_count()) g.set_cell(c, r, line.substr(s, tab == std::string::npos ? std::string::npos : tab - s));
            if (tab == std::string::npos) break;
            s = tab + 1;
            ++c;
        }
        last = r;
    }
    return last;
}

void paste_profile(Document& doc, Messages& messages, const std::string& text, int col, int row) {
    Grid& g = doc.SG2;
    int last = paste_block(g, text, col, row);
    if (last < 0) return;
    if (last > 2) g.set_row_count(last + 1);
    number_station_rows(g);
    bool bad = false;
    for (int i = 1; i <= g.row_count() - 2; ++i) {
        if (!numtext::is_number(g(1, i + 1)) || !numtext::is_number(g(2, i + 1))) bad = true;
        if (g(1, i) == g(1, i + 1) || g(2, i) == g(2, i + 1)) {
            Answer a = messages.confirm("review the values for accumulated distance or elevation for " +
                                            std::to_string(i) + "and " + std::to_string(i + 1) + ", are the same",
                                        "Warning");
            if (a == Answer::Cancel) break;
        }
    }
    if (bad)
        messages.notice(
            "Review the separators or the characters! you should use only numbers and \".\" decimal separator. Do "
            "not use thousands separator");
    doc.nestaciones = last;
    doc.Edit2 = std::to_string(last);
}

}  // namespace velmora::tosquin

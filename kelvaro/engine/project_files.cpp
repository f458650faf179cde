#include "kelvaro/engine/project_files.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "kelvaro/engine/topology.h"

#include <algorithm>

namespace velmora::kelvaro {
namespace fs = std::filesystem;
namespace nt = velmora::numtext;

const char* const kProjectFilter = "Main pipeline files (*.bra)|*.bra|All Files (*.*)|*.*";

namespace {

fs::path with_extension(const fs::path& chosen, const char* ext) {
    fs::path p = chosen;
    p.replace_extension(ext);
    return p;
}

TextList read_text_file(const fs::path& file) {
    const std::string bytes = textfile::read_bytes(file);
    for (unsigned char c : bytes)
        if (c < 0x20 && c != '\r' && c != '\n' && c != '\t')
            throw FileError(textfile::file_message(file, "is not a text file"));
    return textfile::read_lines(file);
}

TextList read_items(const std::string& line) { return commatext::read_line(line); }

}  // namespace

ProjectFiles read_project(const fs::path& chosen, bool read_values) {
    ProjectFiles out;
    std::error_code ec;
    if (read_values) {
        const fs::path bra = with_extension(chosen, ".bra");
        TextList lines = read_text_file(bra);
        if (lines.size() < 4)
            throw FileError(textfile::file_message(bra, "has " + std::to_string(lines.size()) +
                                                            " lines; 4 are needed"));
        out.has_values = true;
        out.name = lines[0];
        out.min_pressure = lines[1];
        out.unit_flow = lines[2];
        out.consumosel = nt::is_integer(lines[3]) ? static_cast<int>(std::clamp<long long>(
                                                        nt::read_int_lenient(lines[3]), -1'000'000, 1'000'000))
                                                  : 0;
    }
    const fs::path ghd = with_extension(chosen, ".ghd");
    TextList rows = read_text_file(ghd);
    for (size_t i = 0; i < rows.size(); ++i) {
        TextList items = read_items(rows[i]);
        // A blank line is an empty row; a row cut short is a damaged file.
        if (!items.empty() && items.size() < 8)
            throw FileError(textfile::file_message(ghd, "line " + std::to_string(i + 1) + " has " +
                                                            std::to_string(items.size()) +
                                                            " values; 8 are needed"));
        items.resize(8);
        out.rows.push_back(std::move(items));
    }
    const fs::path crp = with_extension(chosen, ".crp");
    if (fs::exists(crp, ec)) {
        TextList lines = read_text_file(crp);
        if (lines.size() < 4)
            throw FileError(textfile::file_message(crp, "has " + std::to_string(lines.size()) +
                                                            " lines; 4 are needed"));
        for (size_t i = 0; i < 4; ++i) out.boxes.push_back(read_items(lines[i]));
        for (size_t i = 1; i < 4; ++i)
            if (out.boxes[i].size() != out.boxes[0].size())
                throw FileError(textfile::file_message(
                    crp, "line " + std::to_string(i + 1) + " has " + std::to_string(out.boxes[i].size()) +
                             " values; line 1 has " + std::to_string(out.boxes[0].size())));
    }
    const fs::path ghc = with_extension(chosen, ".ghc");
    if (fs::exists(ghc, ec)) {
        TextList lines = read_text_file(ghc);
        if (lines.size() % 4 != 0)
            throw FileError(textfile::file_message(ghc, "has " + std::to_string(lines.size()) +
                                                            " lines; four lines a pipeline are needed"));
        for (size_t i = 0; i < lines.size(); ++i) {
            out.plan.push_back(read_items(lines[i]));
            const size_t first = i - i % 4;
            if (out.plan[i].size() != out.plan[first].size())
                throw FileError(textfile::file_message(
                    ghc, "line " + std::to_string(i + 1) + " has " + std::to_string(out.plan[i].size()) +
                             " values; line " + std::to_string(first + 1) + " has " +
                             std::to_string(out.plan[first].size())));
        }
    }
    return out;
}

void apply_project(Document& doc, ProjectFiles files) {
    if (files.has_values) {
        doc.mostrarcalculos = false;
        doc.Edit1 = files.name;
        doc.Edit2 = files.min_pressure;
        doc.Edit3 = files.unit_flow;
        doc.consumosel = files.consumosel;
    }
    Grid& g = doc.ZCSG4;
    g.set_row_count(kFirstPipeRow + static_cast<int>(files.rows.size()));
    for (size_t i = 0; i < files.rows.size(); ++i) {
        const int r = kFirstPipeRow + static_cast<int>(i);
        g.clear_row(r);
        g.set_row(r, files.rows[i]);
    }
    doc.numnudos = highest_node_number(doc, true);
    doc.bpbx.clear();
    doc.bpby.clear();
    doc.bpbnudos.clear();
    doc.bpblibre.clear();
    if (files.boxes.size() == 4) {
        doc.bpbx = std::move(files.boxes[0]);
        doc.bpby = std::move(files.boxes[1]);
        doc.bpbnudos = std::move(files.boxes[2]);
        doc.bpblibre = std::move(files.boxes[3]);
    }
    doc.tramosx.clear();
    doc.tramosy.clear();
    doc.tramosz.clear();
    doc.tramosnudos.clear();
    for (size_t i = 0; i + 3 < files.plan.size(); i += 4) {
        doc.tramosx.push_back(std::move(files.plan[i]));
        doc.tramosy.push_back(std::move(files.plan[i + 1]));
        doc.tramosz.push_back(std::move(files.plan[i + 2]));
        doc.tramosnudos.push_back(std::move(files.plan[i + 3]));
    }
    doc.cambios = false;
    doc.current_tab = 0;
    permitir(doc, true);
    doc.delete_sections_enabled = true;
    doc.calculate_enabled = true;
}

void after_open(Document& doc) {
    const Grid& g = doc.ZCSG4;
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
        const std::string& net = g(col::kNetwork, r);
        if (nt::read_lenient(net) > 0 && std::find(doc.redlista.begin(), doc.redlista.end(), net) == doc.redlista.end())
            doc.redlista.push_back(net);
    }
    if (!doc.redlista.empty()) DefinirRamales(doc, doc.redlista.front());
    DefinirQRed(doc);
}

TextList bra_lines(const Document& doc) {
    return {doc.Edit1, doc.Edit2, doc.Edit3, std::to_string(doc.consumosel)};
}

TextList ghd_lines(const Document& doc) {
    TextList lines;
    for (int r = kFirstPipeRow; r < doc.ZCSG4.row_count(); ++r)
        lines.push_back(commatext::write_line(doc.ZCSG4.row(r, 0, 8)));
    return lines;
}

TextList crp_lines(const Document& doc) {
    return {commatext::write_line(doc.bpbx), commatext::write_line(doc.bpby), commatext::write_line(doc.bpbnudos),
            commatext::write_line(doc.bpblibre)};
}

TextList ghc_lines(const Document& doc) {
    TextList lines;
    for (size_t k = 0; k < doc.tramosx.size(); ++k) {
        lines.push_back(commatext::write_line(doc.tramosx[k]));
        lines.push_back(commatext::write_line(k < doc.tramosy.size() ? doc.tramosy[k] : TextList{}));
        lines.push_back(commatext::write_line(k < doc.tramosz.size() ? doc.tramosz[k] : TextList{}));
        lines.push_back(commatext::write_line(k < doc.tramosnudos.size() ? doc.tramosnudos[k] : TextList{}));
    }
    return lines;
}

void write_project(const Document& doc, const fs::path& chosen) {
    textfile::AtomicGroup group;
    group.add_lines(with_extension(chosen, ".bra"), bra_lines(doc));
    group.add_lines(with_extension(chosen, ".ghd"), ghd_lines(doc));
    group.add_lines(with_extension(chosen, ".crp"), crp_lines(doc));
    group.add_lines(with_extension(chosen, ".ghc"), ghc_lines(doc));
    group.commit();
}

void open_command(Document& doc, FileDialogs& dialogs, Messages& messages) {
    FileDialogRequest request;
    request.filter = kProjectFilter;
    request.initial_dir = doc.carpetaproyectos;
    request.default_ext = "bra";
    auto choice = dialogs.open(request);
    std::error_code ec;
    try {
        if (choice && fs::exists(choice->path, ec)) {
            apply_project(doc, read_project(choice->path, choice->filter_index == 1));
            // The companion files are read in turn; the last one present is
            // the last file read.
            doc.last_file = with_extension(choice->path, ".ghd");
            for (const char* ext : {".crp", ".ghc"})
                if (fs::exists(with_extension(choice->path, ext), ec)) doc.last_file = with_extension(choice->path, ext);
        }
        after_open(doc);
    } catch (const FileError& e) {
        messages.error(e.what());
    } catch (const ConversionError& e) {
        messages.error(e.what());
    }
}

bool save_command(Document& doc, FileDialogs& dialogs, Messages& messages) {
    if (doc.Edit1.empty()) {
        messages.warning("Warning", "Enter the project name");
        return false;
    }
    FileDialogRequest request;
    request.filter = kProjectFilter;
    request.initial_dir = doc.carpetaproyectos;
    request.default_ext = "bra";
    auto choice = dialogs.save(request);
    if (!choice) return false;
    try {
        write_project(doc, choice->path);
    } catch (const FileError& e) {
        messages.error(e.what());
        return false;
    }
    doc.cambios = false;
    doc.last_file = with_extension(choice->path, ".ghc");
    return true;
}

void new_command(Document& doc, FileDialogs& dialogs, Messages& messages) {
    if (doc.cambios && messages.question("Would you like to save the changes?", "Warning") == Answer::Yes)
        save_command(doc, dialogs, messages);
    doc.ZCSG2.clear_rows_from(2);
    doc.ZCSG3.clear_rows_from(1);
    doc.ZCSG4.clear_rows_from(2);
    doc.ZCSG5.clear_rows_from(2);
    doc.ZCSG6.clear_rows_from(1);
    doc.bpbx.clear();
    doc.bpby.clear();
    doc.bpbnudos.clear();
    doc.bpblibre.clear();
    doc.tramosx.clear();
    doc.tramosy.clear();
    doc.tramosz.clear();
    doc.tramosnudos.clear();
}

void close_command(Document& doc, FileDialogs& dialogs, Messages& messages) {
    if (doc.cambios && messages.question("Would you like to save the changes?", "Warning") == Answer::Yes)
        save_command(doc, dialogs, messages);
}

}  // namespace velmora::kelvaro

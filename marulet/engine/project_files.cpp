#include "marulet/engine/project_files.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "marulet/engine/pipe_table.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace velmora::marulet {
namespace {

fs::path with_ext(const fs::path& file, const char* ext) {
    fs::path p = file;
    p.replace_extension(ext);
    return p;
}

FileError malformed(const fs::path& file, const std::string& what) {
    return FileError(textfile::file_message(file, what));
}

// The .gsc groups, checked: five lines a pipeline, lists of one length,
// whole-number coordinates.
PlanLists read_drawing(const fs::path& file) {
    PlanLists plan;
    auto lines = textfile::read_lines(file);
    if (lines.size() % 5 != 0)
        throw malformed(file, "the drawing has " + std::to_string(lines.size()) +
                                  " lines; every pipeline takes five lines");
    for (size_t g = 0; g < lines.size(); g += 5) {
        std::vector<std::vector<std::string>> lists;
        for (size_t i = 0; i < 5; ++i) lists.push_back(commatext::read_line(lines[g + i]));
        for (size_t i = 1; i < 5; ++i)
            if (lists[i].size() != lists[0].size())
                throw malformed(file, "pipeline " + std::to_string(g / 5 + 1) + " (lines " + std::to_string(g + 1) +
                                          " to " + std::to_string(g + 5) + ") has lists of different lengths");
        for (size_t i = 0; i < 2; ++i)
            for (const auto& v : lists[i])
                if (!numtext::is_integer(v))
                    throw malformed(file, "line " + std::to_string(g + i + 1) + ": the coordinate \"" + v +
                                              "\" is not a whole number");
        plan.tramosx.push_back(std::move(lists[0]));
        plan.tramosy.push_back(std::move(lists[1]));
        plan.tramosz.push_back(std::move(lists[2]));
        plan.tramosnudos.push_back(std::move(lists[3]));
        plan.tramossentido.push_back(std::move(lists[4]));
    }
    return plan;
}

std::string format_parameter(double v) { return numtext::format_general(v); }

bool ask_and_save(Document& doc, Messages& messages, FileDialogs& dialogs, const fs::path& projects_dir) {
    if (!doc.cambios) return true;
    if (messages.question("Would you like to save the changes?", "Warning") == Answer::Yes)
        return save_command(doc, messages, dialogs, projects_dir);
    return true;
}

}  // namespace

void salvar(Document& doc, const fs::path& filename) {
    const fs::path sew = with_ext(filename, ".sew");
    textfile::AtomicGroup group;
    group.add_lines(sew, {doc.project_name});
    std::vector<std::string> gst;
    for (int r = 2; r < doc.SG4.row_count(); ++r) gst.push_back(commatext::write_line(doc.SG4.row(r, 0, kPipeCols)));
    group.add_lines(with_ext(filename, ".gst"), gst);
    rebuild_tramosz(doc);
    std::vector<std::string> gsc;
    const PlanLists& plan = doc.plan;
    for (size_t t = 0; t < plan.size(); ++t) {
        for (const auto* lists : {&plan.tramosx, &plan.tramosy, &plan.tramosz, &plan.tramosnudos, &plan.tramossentido})
            gsc.push_back(commatext::write_line(t < lists->size() ? (*lists)[t] : std::vector<std::string>{}));
    }
    group.add_lines(with_ext(filename, ".gsc"), gsc);
    const DesignParameters& p = doc.parameters;
    group.add_lines(with_ext(filename, ".par"),
                    {format_parameter(p.design_period), format_parameter(p.growth_rate),
                     format_parameter(p.daily_usage), format_parameter(p.contribution),
                     format_parameter(p.illegal_flow), format_parameter(p.manhole_infiltration),
                     format_parameter(p.min_slope), format_parameter(p.trench_depth),
                     format_parameter(p.min_tractive_force)});
    group.commit();
    doc.project_file = sew;
}

void open_project(Document& doc, const fs::path& file, int filter_index) {
    // Read and check everything before the document changes.
    std::string name = doc.project_name;
    if (filter_index == 1) {
        const fs::path sew = with_ext(file, ".sew");
        auto lines = textfile::read_lines(sew);
        name = lines.empty() ? "" : lines[0];
    }
    const fs::path gst = with_ext(file, ".gst");
    auto lines = textfile::read_lines(gst);
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t fields = commatext::read_line(lines[i]).size();
        if (fields > static_cast<size_t>(kPipeCols))
            throw malformed(gst, "line " + std::to_string(i + 1) + " has " + std::to_string(fields) +
                                     " fields; a pipe has at most " + std::to_string(kPipeCols));
    }
    const fs::path gsc = with_ext(file, ".gsc");
    PlanLists plan;
    if (fs::exists(gsc)) plan = read_drawing(gsc);

    if (filter_index == 1) {
        doc.mostrarresultados = false;
        doc.project_name = name;
    }
    doc.project_file = file;
    doc.SG4.set_row_count(static_cast<int>(lines.size()) + 2);
    for (size_t i = 0; i < lines.size(); ++i) {
        int row = static_cast<int>(i) + 2;
        doc.SG4.clear_row(row);
        doc.SG4.set_row(row, commatext::read_line(lines[i]));
    }
    int highest = 0;
    for (int r = 2; r < doc.SG4.row_count(); ++r) {
        const std::string& to = anudo(doc, r);
        if (numtext::is_integer(to)) highest = static_cast<int>(std::max<long long>(highest, numtext::read_int_strict(to)));
    }
    doc.numnudos = highest;
    doc.plan = std::move(plan);
    doc.cambios = false;
    doc.contours_enabled = true;
    doc.calcular_enabled = true;
    doc.progress_counter = 0;
}

bool open_command(Document& doc, Messages& messages, FileDialogs& dialogs, const fs::path& projects_dir) {
    FileDialogRequest request{"Open", kProjectFilter, 1, projects_dir, "", "sew"};
    auto choice = dialogs.open(request);
    if (!choice || !fs::exists(choice->path)) return false;
    try {
        open_project(doc, choice->path, choice->filter_index);
    } catch (const FileError& e) {
        messages.error(e.what());
        return false;
    }
    return true;
}

bool save_command(Document& doc, Messages& messages, FileDialogs& dialogs, const fs::path& projects_dir) {
    if (doc.project_name.empty()) {
        messages.notice("Enter the project name");
        return false;
    }
    // A project never saved has no file yet: ask for one as "Save as" does.
    if (doc.project_file.empty()) return save_as_command(doc, messages, dialogs, projects_dir);
    try {
        salvar(doc, doc.project_file);
    } catch (const FileError& e) {
        messages.error(e.what());
        return false;
    }
    return true;
}

bool save_as_command(Document& doc, Messages& messages, FileDialogs& dialogs, const fs::path& projects_dir) {
    if (doc.project_name.empty()) {
        messages.notice("Enter the project name");
        return false;
    }
    FileDialogRequest request{"Save as", kProjectFilter, 1, projects_dir, doc.project_file.stem().string(), "sew"};
    auto choice = dialogs.save(request);
    if (!choice) return false;
    try {
        salvar(doc, choice->path);
    } catch (const FileError& e) {
        messages.error(e.what());
        return false;
    }
    return true;
}

void new_command(Document& doc, Messages& messages, FileDialogs& dialogs, const fs::path& projects_dir) {
    ask_and_save(doc, messages, dialogs, projects_dir);
    doc.plan = PlanLists{};
    for (int r = 2; r < doc.SG4.row_count(); ++r) doc.SG4.clear_row(r);
    for (int r = 2; r < doc.ZCSG5.row_count(); ++r) doc.ZCSG5.clear_row(r);
}

void close_command(Document& doc, Messages& messages, FileDialogs& dialogs, const fs::path& projects_dir) {
    ask_and_save(doc, messages, dialogs, projects_dir);
}

std::vector<std::string> text_export_lines(const Document& doc) {
    std::vector<std::string> lines{"Data"};
    auto shown = [](const Grid& g, int row) {
        std::vector<std::string> cells;
        for (int c = 0; c < g.col_count(); ++c)
            if (!g.is_hidden(c)) cells.push_back(g(c, row));
        return commatext::write_line(cells);
    };
    for (int r = 0; r < doc.SG4.row_count(); ++r) lines.push_back(shown(doc.SG4, r));
    lines.push_back("Spreadsheet");
    for (int r = 0; r < doc.ZCSG5.row_count(); ++r) lines.push_back(shown(doc.ZCSG5, r));
    return lines;
}

void write_text_export(const Document& doc, const fs::path& file) {
    textfile::write_lines(file, text_export_lines(doc));
}

}  // namespace velmora::marulet

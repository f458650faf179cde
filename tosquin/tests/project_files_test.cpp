#include "tosquin/tests/fixture.h"

#include "common/errors.h"
#include "common/textfile.h"
#include "tosquin/engine/predetermined.h"
#include "tosquin/engine/profile.h"
#include "tosquin/engine/project_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace velmora::tosquin::testing {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> folder_bytes(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out[e.path().filename().string()] = textfile::read_bytes(e.path());
    return out;
}

// A project with two boxes, valves, both predetermined tables and a survey
// book, saved to `lin`.
void make_project(Fixture& f, const fs::path& lin) {
    f.profile(falling_line(3000, 200, 150), 2.75, 4);
    f.doc.Edit1 = "Line, \"north\"";
    f.doc.Edit2 = "21";
    f.doc.Edit3 = "2.75";
    f.doc.Edit4 = "4";
    f.box(1000);
    f.box(2100);
    f.doc.nvalvulasaire = 2;
    f.doc.xva = {"600.00", "1650.50"};
    f.doc.yva = {"950.10", "890.00"};
    f.doc.nvalvulaslavado = 1;
    f.doc.xvl = {"1200.00"};
    f.doc.yvl = {"900.00"};
    open_predetermined_diameters(f.doc);
    f.doc.predeterminados.set_row(1, {"0", "0.00", "300", "2", "50"});
    f.doc.tramosfijos.set_row(1, {"500", "800", "PVC", "200"});
    f.doc.tramosfijos.set_row(2, {"2200", "2300.5", "PVC", "250"});
    f.doc.SG3.set_row(2, {"1", "0", "1", "1.000", "1.500", "2", "90", "0", "0", "1.50", "1000", "1000"});
    f.doc.SG3.set_cell(3, 7, "Estación ñ, \"x\"");
    f.doc.SG3.set_col_width(4, 91);
    guardararchivos(f.doc, lin);
}

TEST(ProjectFilesTest, SaveAndOpenRoundTrip) {
    Fixture f;
    const fs::path lin = f.dir / "line.lin";
    make_project(f, lin);
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    const auto sheet = f.doc.StringGrid1.to_lines();

    Fixture g;
    nuevoproyecto(g.doc);
    open_and_design(g.doc, lin, g.messages, g.canvas);
    EXPECT_EQ(g.doc.Edit1, f.doc.Edit1);
    EXPECT_EQ(g.doc.Edit2, "21");
    EXPECT_EQ(g.doc.listacam, f.doc.listacam);
    EXPECT_EQ(g.doc.listacota, f.doc.listacota);
    EXPECT_EQ(g.doc.nsecciones, 3);
    EXPECT_EQ(g.doc.seccionesx, f.doc.seccionesx);
    EXPECT_EQ(g.doc.seccionesz, f.doc.seccionesz);
    EXPECT_EQ(g.doc.nvalvulasaire, 2);
    EXPECT_EQ(g.doc.xva, f.doc.xva);
    EXPECT_EQ(g.doc.yva, f.doc.yva);
    EXPECT_EQ(g.doc.nvalvulaslavado, 1);
    EXPECT_EQ(g.doc.xvl, f.doc.xvl);
    EXPECT_EQ(g.doc.yvl, f.doc.yvl);
    EXPECT_EQ(g.doc.predeterminados.to_lines(), f.doc.predeterminados.to_lines());
    EXPECT_EQ(g.doc.tramosfijos.to_lines(), f.doc.tramosfijos.to_lines());
    EXPECT_EQ(g.doc.ntramosfijos, 2);
    EXPECT_EQ(g.doc.SG3.to_lines(), f.doc.SG3.to_lines());
    EXPECT_EQ(g.doc.SG3.col_width(4), 91);
    EXPECT_EQ(g.doc.SG2.row(21), (std::vector<std::string>{"21", "3000", f.doc.listacota.back()}));
    EXPECT_EQ(g.doc.archivoproyecto, lin);
    EXPECT_EQ(g.doc.StringGrid1.to_lines(), sheet);
    EXPECT_EQ(g.messages.texts(), f.messages.texts());
}

TEST(ProjectFilesTest, FileLayouts) {
    Fixture f;
    const fs::path lin = f.dir / "line.lin";
    make_project(f, lin);
    auto lines = textfile::read_lines(lin);
    ASSERT_EQ(lines.size(), 4u + 2 * 21);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"Line, \"north\"", "21", "2.75", "4", "0"}));
    const std::string bytes = textfile::read_bytes(lin);
    EXPECT_EQ(bytes.substr(0, 15), "Line, \"north\"\r\n");

    auto des = textfile::read_lines(f.dir / "line.des");
    ASSERT_EQ(des.size(), 19u);
    EXPECT_EQ(des[0], "3");
    EXPECT_EQ(des[1], "0.00,1000.00,2100.00,3000.00");
    EXPECT_EQ(des[3], "2");
    EXPECT_EQ(des[4], "600.00,1650.50");
    EXPECT_EQ(des[9], "BPB,0,1,2");
    EXPECT_EQ(des[12], "\"Nom Diameter [\"\"]\",2,,");
    EXPECT_EQ(des[14], "2");
    EXPECT_EQ(des[15].substr(0, 20), "From x [m],500,2200,");
    EXPECT_EQ(std::count(des[15].begin(), des[15].end(), ','), 99);

    const std::string top = textfile::read_bytes(f.dir / "line.top");
    ASSERT_GE(top.size(), 2u);
    EXPECT_EQ(top.substr(0, 2), std::string("\xFF\xFE", 2));
    auto top_lines = textfile::read_lines(f.dir / "line.top");
    EXPECT_EQ(top_lines[0], "15,1500");
    EXPECT_EQ(top_lines[5], "cw 4,91");
    EXPECT_EQ(top_lines[16], "0,0,Pipe #");
    EXPECT_NE(std::find(top_lines.begin(), top_lines.end(), "3,7,Estación ñ, \"x\""), top_lines.end());
}

TEST(ProjectFilesTest, CommaLists) {
    struct Case {
        std::vector<std::string> items;
        std::string line;
    } cases[] = {
        {{}, ""},
        {{"0.00", "12.5"}, "0.00,12.5"},
        {{"a b", "c,d", "say \"hi\""}, "a b,\"c,d\",\"say \"\"hi\"\"\""},
        {{"", "x", ""}, ",x,"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(write_comma_list(c.items), c.line);
        EXPECT_EQ(read_comma_list(c.line), c.items) << c.line;
    }
}

TEST(ProjectFilesTest, DesignFileWithNoSectionsKeepsTheSingleSection) {
    Fixture f;
    const fs::path lin = f.dir / "line.lin";
    make_project(f, lin);
    auto des = textfile::read_lines(f.dir / "line.des");
    des[0] = "0";
    des[3] = "x";
    textfile::write_lines(f.dir / "line.des", des);
    Fixture g;
    abrir(g.doc, lin);
    EXPECT_EQ(g.doc.nsecciones, 1);
    EXPECT_EQ(g.doc.seccionesx, (std::vector<std::string>{"0.00", "3000.00"}));
    EXPECT_EQ(g.doc.nvalvulasaire, 0);
    EXPECT_TRUE(g.doc.xva.empty());
    EXPECT_EQ(g.doc.nvalvulaslavado, 1);
}

TEST(ProjectFilesTest, MissingDesignAndSurveyFilesAreNotErrors) {
    Fixture f;
    const fs::path lin = f.dir / "line.lin";
    make_project(f, lin);
    fs::remove(f.dir / "line.des");
    fs::remove(f.dir / "line.top");
    Fixture g;
    g.doc.SG3.set_cell(4, 9, "kept");
    abrir(g.doc, lin);
    EXPECT_EQ(g.doc.nsecciones, 1);
    EXPECT_EQ(g.doc.predeterminados(2, 1), "");
    EXPECT_EQ(g.doc.tramosfijos(0, 1), "");
    EXPECT_EQ(g.doc.SG3(4, 9), "kept");
}

// Every malformed file is refused before anything changes: the message names
// the file, the document and the folder stay as they were.
TEST(ProjectFilesTest, MalformedFilesAreRefused) {
    struct Case {
        const char* ext;
        std::function<void(std::vector<std::string>&)> spoil;
        std::string fragment;
    } cases[] = {
        {".lin", [](auto& l) { l[1] = "21.5"; }, "line 2"},
        {".lin", [](auto& l) { l[2] = "2,75"; }, "line 3"},
        {".lin", [](auto& l) { l[3] = ""; }, "line 4"},
        {".lin", [](auto& l) { l.resize(30); }, "need 46 lines"},
        {".lin", [](auto& l) { l[10] = "12O0"; }, "line 11"},
        {".lin", [](auto& l) { l.resize(3); }, "at least 4 lines"},
        {".des", [](auto& l) { l.resize(12); }, "19 lines"},
        {".des", [](auto& l) { l[1] = "0.00,1000.00,3000.00"; }, "4 distances"},
        {".des", [](auto& l) { l[5] = "950.10,high"; }, "'high'"},
        {".top", [](auto& l) { l[0] = "15,0"; }, "no columns or no rows"},
        {".top", [](auto& l) { l[0] = "fifteen"; }, "no columns or no rows"},
        {".top", [](auto& l) { l.push_back("3,1500,beyond"); }, "inside the grid"},
        {".top", [](auto& l) { l[3] = "cw x,64"; }, "column width"},
    };
    for (const auto& c : cases) {
        Fixture f;
        const fs::path lin = f.dir / "line.lin";
        make_project(f, lin);
        fs::path file = fs::path(lin).replace_extension(c.ext);
        auto lines = textfile::read_lines(file);
        c.spoil(lines);
        textfile::write_lines(file, lines,
                              std::string(c.ext) == ".top" ? textfile::Encoding::Utf16LeBom
                                                           : textfile::Encoding::Windows1252);
        const auto before = folder_bytes(f.dir.path());

        Fixture g;
        nuevoproyecto(g.doc);
        g.doc.Edit1 = "untouched";
        g.doc.SG3.set_cell(4, 9, "kept");
        try {
            abrir(g.doc, lin);
            ADD_FAILURE() << c.ext << " " << c.fragment << " accepted";
        } catch (const FileError& e) {
            std::string m = e.what();
            EXPECT_NE(m.find(file.string()), std::string::npos) << m;
            EXPECT_NE(m.find(c.fragment), std::string::npos) << m;
        }
        EXPECT_EQ(g.doc.Edit1, "untouched") << c.fragment;
        EXPECT_TRUE(g.doc.listacam.empty()) << c.fragment;
        EXPECT_FALSE(g.doc.has_file) << c.fragment;
        EXPECT_EQ(g.doc.SG3(4, 9), "kept") << c.fragment;
        EXPECT_EQ(folder_bytes(f.dir.path()), before) << c.fragment;
    }
}

TEST(ProjectFilesTest, OpenAndSaveCommands) {
    Fixture f;
    const fs::path lin = f.dir / "line.lin";
    make_project(f, lin);
    ScriptedFileDialogs dialogs;
    Fixture g;
    g.doc.carpetaproyectos = f.dir.path();
    dialogs.push(FileChoice{lin, 2});  // "All Files": nothing happens
    EXPECT_FALSE(open_command(g.doc, dialogs, g.messages, g.canvas));
    dialogs.push(FileChoice{f.dir / "none.lin", 1});
    EXPECT_FALSE(open_command(g.doc, dialogs, g.messages, g.canvas));
    dialogs.push(FileChoice{lin, 1});
    EXPECT_TRUE(open_command(g.doc, dialogs, g.messages, g.canvas));
    EXPECT_EQ(dialogs.requests()[0].filter, "Main pipeline files (*.lin)|*.lin|All Files (*.*)|*.*");
    EXPECT_EQ(dialogs.requests()[0].initial_dir, f.dir.path());
    EXPECT_TRUE(g.doc.graph.present);
    EXPECT_NE(cost_text(g.doc), "");
    EXPECT_FALSE(g.doc.commands.open);

    g.doc.cambios = true;
    dialogs.push(FileChoice{f.dir / "copy.lin", 1});
    ASSERT_TRUE(save_as(g.doc, dialogs));
    EXPECT_EQ(dialogs.requests().back().file_name, g.doc.Edit1 + ".lin");
    EXPECT_EQ(g.doc.archivoproyecto, f.dir / "copy.lin");
    EXPECT_FALSE(g.doc.cambios);
    EXPECT_EQ(textfile::read_bytes(f.dir / "copy.des"), textfile::read_bytes(f.dir / "line.des"));
    EXPECT_EQ(textfile::read_bytes(f.dir / "copy.top"), textfile::read_bytes(f.dir / "line.top"));

    g.messages.answer_next(Answer::No);
    g.doc.nvalvulaslavado = 0;
    g.doc.xvl.clear();
    g.doc.yvl.clear();
    preguntarguardar(g.doc, g.messages);
    EXPECT_EQ(textfile::read_bytes(f.dir / "copy.des"), textfile::read_bytes(f.dir / "line.des"));
    save(g.doc);
    EXPECT_EQ(textfile::read_lines(f.dir / "copy.des")[6], "0");
    EXPECT_FALSE(g.doc.commands.save);
}

TEST(ProjectFilesTest, ExitAndCloseAskToSave) {
    Fixture f;
    const fs::path lin = f.dir / "line.lin";
    make_project(f, lin);
    Fixture g;
    abrir(g.doc, lin);
    g.doc.cambios = true;
    g.doc.nvalvulasaire = 0;
    g.doc.xva.clear();
    g.doc.yva.clear();
    g.messages.answer_next(Answer::Yes);
    exit_current_project(g.doc, g.messages);
    EXPECT_EQ(g.messages.texts(),
              (std::vector<std::string>{"The design/survey data has changed. Would you like to save the changes?"}));
    EXPECT_EQ(textfile::read_lines(f.dir / "line.des")[3], "0");
    EXPECT_TRUE(g.doc.listacam.empty());
    EXPECT_TRUE(g.doc.commands.open);

    ScriptedFileDialogs dialogs;
    window_closing(g.doc, g.messages, dialogs);  // nothing loaded: no question
    EXPECT_EQ(g.messages.records().size(), 1u);
    abrir(g.doc, lin);
    dialogs.push(FileChoice{f.dir / "closing.lin", 1});
    window_closing(g.doc, g.messages, dialogs);
    EXPECT_EQ(g.messages.texts().back(), "Would you like to save the changes?");
    EXPECT_TRUE(fs::exists(f.dir / "closing.top"));
}

}  // namespace
}  // namespace velmora::tosquin::testing

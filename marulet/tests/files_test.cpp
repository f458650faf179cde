// Reference files of the Database folder, the Options dialog, project files
// and the text export.
#include "common/commatext.h"
#include "common/errors.h"
#include "common/ports.h"
#include "common/textfile.h"
#include "marulet/engine/calculation.h"
#include "marulet/engine/project_files.h"
#include "marulet/engine/reference_files.h"
#include "network_fixture.h"
#include "test_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::marulet;
using velmora::marulet::testing::network;
using velmora::testing::TempDir;

namespace {

const fs::path kShippedCatalogue = fs::path(MARULET_DATA_DIR) / "pipes_sewerage.csv";

// Every file of a folder with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = textfile::read_bytes(e.path());
    return files;
}

fs::path database_with_catalogue(const TempDir& dir) {
    fs::path db = dir / "Database";
    fs::create_directories(db);
    fs::copy_file(kShippedCatalogue, db / "pipes_sewerage.csv");
    return db;
}

}  // namespace

TEST(ReferenceFiles, MissingFilesAreWrittenWithTheirDefaults) {
    TempDir dir;
    fs::path db = database_with_catalogue(dir);
    Document doc;
    start_up(doc, db);
    EXPECT_EQ(textfile::read_bytes(db / "Optionsdesign.dat"), "50\r\n3\r\n120\r\n70\r\n120\r\n378\r\n0.44\r\n1\r\n0.1\r\n");
    EXPECT_EQ(textfile::read_bytes(db / "velocity.dat"), "5\r\n0.4\r\n3\r\n");
    EXPECT_EQ(textfile::read_bytes(db / "manning.dat"), "PVC,0.009,0\r\nConcrete,0.014,20\r\n");
    EXPECT_EQ(textfile::read_bytes(db / "units.dat"),
              "\"Quantity measured\",Unit,Symbol\r\n\"Length (LEN)\",meter,m\r\n"
              "\"Internal Diameter (ID)\",inch,\"\"\"\"\r\n\"Nominal Diameter (ND)\",inch,\"\"\"\"\r\n"
              "Velocity,\"meters per second\",m/s\r\nFlow,\"liters per second\",l/s\r\n,,\r\n,,\r\n");
    EXPECT_EQ(doc.unidaddiametro, kInchSign);
    EXPECT_EQ(doc.materiallist, (std::vector<std::string>{"PVC", "Concrete"}));
    EXPECT_EQ(doc.parameters.min_slope, 0.44);
    EXPECT_EQ(doc.parameters.min_velocity, 0.4);
    EXPECT_EQ(doc.materials.row(2), (std::vector<std::string>{"Concrete", "0.014", "20"}));
    EXPECT_TRUE(doc.SG4.is_hidden(kNominalMm));
    EXPECT_FALSE(doc.SG4.is_hidden(kNominalInch));
    EXPECT_TRUE(doc.SG4.is_hidden(kInternalInch));
    EXPECT_EQ(doc.ZCSG5(kResDiameter, 0), "N \xC3\x98 [\"]");
    // A second start reads the files back to the same values.
    Document again;
    start_up(again, db);
    EXPECT_EQ(again.materials.to_lines(), doc.materials.to_lines());
    EXPECT_EQ(again.units.to_lines(), doc.units.to_lines());
}

TEST(ReferenceFiles, BadFilesAreNamedAndNothingIsWritten) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;  // written before loading (besides the catalogue)
        bool catalogue;
        std::string message_part;
    };
    const std::vector<Case> cases = {
        {"catalogue missing", {}, false, "pipes_sewerage.csv\": the pipe catalogue is missing"},
        {"parameter not a number",
         {{"Optionsdesign.dat", "50\r\n3\r\nabc\r\n70\r\n120\r\n378\r\n0.44\r\n1\r\n0.1\r\n"}},
         true,
         "Optionsdesign.dat\": line 3 \"abc\" is not a number"},
        {"parameters cut short",
         {{"optionsdesign.dat", "50\r\n3\r\n"}},
         true,
         "optionsdesign.dat\": expected 9 lines with one number each, found 2 lines"},
        {"velocities malformed",
         {{"velocity.dat", "5\r\nfast\r\n3\r\n"}},
         true,
         "velocity.dat\": line 2 \"fast\" is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::path db = dir / "Database";
        fs::create_directories(db);
        if (c.catalogue) fs::copy_file(kShippedCatalogue, db / "pipes_sewerage.csv");
        for (const auto& [name, bytes] : c.files) textfile::write_bytes_atomic(db / name, bytes);
        auto before = snapshot(db);
        Document doc;
        try {
            start_up(doc, db);
            FAIL() << "loaded";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message_part), std::string::npos) << e.what();
        }
        EXPECT_EQ(snapshot(db), before);
        EXPECT_TRUE(doc.materiallist.empty());
    }
}

TEST(ReferenceFiles, NamesMatchWithoutRegardToCase) {
    TempDir dir;
    fs::path db = database_with_catalogue(dir);
    textfile::write_lines(db / "optionsdesign.dat", {"20", "2", "100", "80", "100", "300", "0.6", "1.2", "0.12"});
    Document doc;
    start_up(doc, db);
    EXPECT_EQ(doc.parameters.min_slope, 0.6);
    EXPECT_FALSE(fs::exists(db / "Optionsdesign.dat") && fs::exists(db / "optionsdesign.dat") &&
                 !fs::equivalent(db / "Optionsdesign.dat", db / "optionsdesign.dat"));
}

TEST(OptionsDialog, UnitChangeSavedOnYesAndResetVariant) {
    TempDir dir;
    fs::path db = database_with_catalogue(dir);
    Document doc;
    start_up(doc, db);
    OptionsDialog options(db);
    options.show();
    EXPECT_EQ(options.parameters(2, 7), "0.44");
    EXPECT_EQ(options.unit_combo(), "inch");
    options.choose_unit("millimeter", doc);
    EXPECT_EQ(doc.unidaddiametro, "mm");
    options.edit_material(1, 1, "0.010");
    ScriptedMessages messages;
    messages.answer_next(Answer::Yes);
    EXPECT_TRUE(options.close(messages));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Do you want to save the changes?"}));
    ocultarcolumnas(doc);
    auto units = textfile::read_lines(db / "units.dat");
    ASSERT_EQ(units.size(), 8u);
    EXPECT_EQ(units[0], "Quantity measured,Unit,Symbol") << "written after a load: spaces are not quoted";
    EXPECT_EQ(units[3], "Nominal Diameter (ND),millimeter,mm");
    EXPECT_EQ(textfile::read_lines(db / "manning.dat"), (std::vector<std::string>{"PVC,0.010,0", "Concrete,0.014,20"}));
    Document reloaded;
    start_up(reloaded, db);
    EXPECT_EQ(reloaded.unidaddiametro, "mm");
    EXPECT_TRUE(reloaded.SG4.is_hidden(kNominalInch));
    EXPECT_FALSE(reloaded.SG4.is_hidden(kNominalMm));
    EXPECT_EQ(reloaded.ZCSG5(kResDiameter, 0), "N \xC3\x98 [mm]");

    // No: nothing written.
    options.show();
    options.edit_parameter(1, "30");
    messages.answer_next(Answer::No);
    options.close(messages);
    EXPECT_EQ(textfile::read_lines(db / "Optionsdesign.dat")[0], "50");

    // Reset: the four files go, units.dat comes back as the Reset variant.
    messages.clear();
    messages.answer_next(Answer::Yes);
    options.reset(messages);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{
                                    "Do you want to reset the options to the original conditions? If yes all the "
                                    "changes will be lost"}));
    EXPECT_FALSE(fs::exists(db / "Optionsdesign.dat"));
    EXPECT_FALSE(fs::exists(db / "manning.dat"));
    EXPECT_EQ(options.units.row(1), (std::vector<std::string>{"Length (L)", "meter", "m"}));
    EXPECT_EQ(options.units.row(2), (std::vector<std::string>{"Internal Diameter (ID)", "milimeter", "mm"}));
    EXPECT_EQ(options.units.row(3), (std::vector<std::string>{"Nominal Diameter (ND)", "inch", "\""}));
    Document after_reset;
    start_up(after_reset, db);
    EXPECT_EQ(textfile::read_lines(db / "manning.dat"), (std::vector<std::string>{"PVC,0.009,0", "Concrete,0.014,20"}));
}

TEST(ProjectFiles, SaveAndOpenRoundTripAllFourFiles) {
    TempDir dir;
    Document doc = network({{"Node 7", "B", "40", "100", "99", "3"}, {"B", "12", "35.5", "99", "97", ""}});
    doc.project_name = "Village \"North\" sewer";
    doc.plan.tramosx = {{"10", "50", "90"}};
    doc.plan.tramosy = {{"20", "25", "60"}};
    doc.plan.tramosz = {{"", "", ""}};
    doc.plan.tramosnudos = {{"Node 7", "B", "12"}};
    doc.plan.tramossentido = {{"i", "f", "i"}};
    doc.parameters.min_slope = 0.5;
    doc.cambios = true;
    salvar(doc, dir / "project.gst");
    EXPECT_EQ(doc.project_file, dir / "project.sew");
    EXPECT_EQ(textfile::read_bytes(dir / "project.gst"),
              "1,\"Node 7\",B,40,100,99,3,PVC,8,200,7.92\r\n2,B,12,35.5,99,97,,PVC,8,200,7.92\r\n");
    EXPECT_EQ(textfile::read_lines(dir / "project.gsc"),
              (std::vector<std::string>{"10,50,90", "20,25,60", "100,99,97", "\"Node 7\",B,12", "i,f,i"}));
    EXPECT_EQ(textfile::read_lines(dir / "project.par"),
              (std::vector<std::string>{"50", "3", "120", "70", "120", "378", "0.5", "1", "0.1"}));

    Document opened;
    opened.mostrarresultados = true;
    open_project(opened, dir / "project.sew", 1);
    EXPECT_EQ(opened.project_name, doc.project_name);
    EXPECT_EQ(opened.SG4.row_count(), 4);
    EXPECT_EQ(opened.SG4.row(2, 0, kPipeCols), doc.SG4.row(2, 0, kPipeCols));
    EXPECT_EQ(opened.SG4.row(3, 0, kPipeCols), doc.SG4.row(3, 0, kPipeCols));
    EXPECT_EQ(opened.plan, doc.plan);
    EXPECT_EQ(opened.numnudos, 12);
    EXPECT_FALSE(opened.cambios);
    EXPECT_TRUE(opened.calcular_enabled);
    EXPECT_FALSE(opened.mostrarresultados);
    EXPECT_EQ(opened.parameters.min_slope, 0.44) << "the .par file is not read back";

    // "All Files": table and drawing, not the name or the results state.
    Document other;
    other.project_name = "kept";
    other.mostrarresultados = true;
    open_project(other, dir / "project.par", 2);
    EXPECT_EQ(other.project_name, "kept");
    EXPECT_TRUE(other.mostrarresultados);
    EXPECT_EQ(other.project_file, dir / "project.par");
    EXPECT_EQ(other.SG4(kFrom, 2), "Node 7");
}

TEST(ProjectFiles, MissingOrMalformedFilesChangeNothing) {
    struct Case {
        const char* name;
        std::string gst, gsc;  // empty gsc: not written
        bool write_gst;
        std::string message_part;
    };
    const std::vector<Case> cases = {
        {"pipe table missing", "", "", false, "p.gst\""},
        {"drawing not in groups of five", "1,A,B\r\n", "1,2\r\n3,4\r\n100,99\r\nA,B\r\n", true,
         "p.gsc\": the drawing has 4 lines; every pipeline takes five lines"},
        {"drawing lists of different lengths", "1,A,B\r\n", "1,2\r\n3,4\r\n100,99\r\nA,B,C\r\ni,i\r\n", true,
         "p.gsc\": pipeline 1 (lines 1 to 5) has lists of different lengths"},
        {"coordinate not a whole number", "1,A,B\r\n", "1,2.5\r\n3,4\r\n100,99\r\nA,B\r\ni,i\r\n", true,
         "p.gsc\": line 1: the coordinate \"2.5\" is not a whole number"},
        {"too many fields in a pipe row", "1,A,B,1,2,3,4,5,6,7,8,9\r\n", "", true,
         "p.gst\": line 1 has 12 fields; a pipe has at most 11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        textfile::write_lines(dir / "p.sew", {"New name"});
        if (c.write_gst) textfile::write_bytes_atomic(dir / "p.gst", c.gst);
        if (!c.gsc.empty()) textfile::write_bytes_atomic(dir / "p.gsc", c.gsc);
        auto before = snapshot(dir.path());
        Document doc = network({{"A", "B", "40", "100", "99", "3"}});
        doc.project_name = "Old";
        doc.plan.tramosnudos = {{"A", "B"}};
        const auto rows = doc.SG4.to_lines();
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        dialogs.push(FileChoice{dir / "p.sew", 1});
        EXPECT_FALSE(open_command(doc, messages, dialogs, dir.path()));
        ASSERT_EQ(messages.records().size(), 1u);
        EXPECT_NE(messages.records()[0].text.find(c.message_part), std::string::npos) << messages.records()[0].text;
        EXPECT_EQ(doc.project_name, "Old");
        EXPECT_EQ(doc.SG4.to_lines(), rows);
        EXPECT_EQ(doc.plan.tramosnudos, (std::vector<std::vector<std::string>>{{"A", "B"}}));
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

TEST(ProjectCommands, SaveNeedsANameAndSaveAsAsksForAFile) {
    TempDir dir;
    Document doc = network({{"A", "B", "40", "100", "99", "3"}});
    ScriptedMessages messages;
    ScriptedFileDialogs dialogs;
    EXPECT_FALSE(save_command(doc, messages, dialogs, dir.path()));
    EXPECT_EQ(messages.records(), (std::vector<MessageRecord>{{"notice", "", "Enter the project name"}}));
    EXPECT_TRUE(dialogs.requests().empty());
    doc.project_name = "P";
    dialogs.push(FileChoice{dir / "first", 1});
    EXPECT_TRUE(save_command(doc, messages, dialogs, dir.path())) << "a project never saved asks for a file";
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].filter, "Main pipeline files (*.sew)|*.sew|All Files (*.*)|*.*");
    for (const char* ext : {".sew", ".gst", ".gsc", ".par"}) EXPECT_TRUE(fs::exists(dir / ("first" + std::string(ext))));
    doc.SG4.set_cell(kLength, 2, "41");
    EXPECT_TRUE(save_command(doc, messages, dialogs, dir.path()));
    EXPECT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(textfile::read_lines(dir / "first.gst")[0], "1,A,B,41,100,99,3,PVC,8,200,7.92");

    // "New" asks when something changed and empties both tables.
    doc.cambios = true;
    messages.clear();
    messages.answer_next(Answer::No);
    new_command(doc, messages, dialogs, dir.path());
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Would you like to save the changes?"}));
    EXPECT_EQ(doc.SG4.row_count(), 3);
    EXPECT_EQ(doc.SG4(kFrom, 2), "");
}

TEST(TextExport, DataAndSpreadsheetRowsAsShown) {
    Document doc = network({{"A", "B", "40", "100", "99", "3"}, {"B", "C", "40", "99", "98", "3"},
                            {"C", "D", "40", "98", "97", "3"}});
    ocultarcolumnas(doc);
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(calcular(doc, messages, progress), Outcome::Done);
    TempDir dir;
    write_text_export(doc, dir / "out.csv");
    auto lines = textfile::read_lines(dir / "out.csv");
    ASSERT_EQ(lines.size(), 1u + 5 + 1 + 5);
    EXPECT_EQ(lines[0], "Data");
    EXPECT_EQ(lines[1], "\"Pipe #\",\"Node #\",,\"LEN [M]\",\"Ground Elev.\",,\"# of HH\",\"Mate- rial\",\"N \xC3\x98 [\"\"]\"");
    EXPECT_EQ(lines[2], ",From,To,,From,To,,,");
    EXPECT_EQ(lines[3], "1,A,B,40,100,99,3,PVC,8");
    EXPECT_EQ(lines[6], "Spreadsheet");
    EXPECT_EQ(commatext::read_line(lines[7]).size(), 23u);
    EXPECT_EQ(lines[9].substr(0, 9), "1,A,B,99,");
    EXPECT_EQ(textfile::read_bytes(dir / "out.csv").substr(0, 6), "Data\r\n");
}

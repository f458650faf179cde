// Option files, the catalogue slices, becoming active and the Options window.
#include "kelvaro/engine/options.h"

#include "common/errors.h"
#include "common/tests/test_dir.h"
#include "common/textfile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velmora::kelvaro {
namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

struct Folder {
    testing::TempDir dir;
    Document doc;
    Folder() {
        doc.carpetadatos = dir.path();
        write(dir / "pipes_branch.csv",
              "Code,Class,Nominal [in],OD,ID,Cost,mm\r\n"
              "a,x,0.5,21.3,18.18,0.65,20\r\nb,x,0.75,26.7,23.63,0.95,25\r\nc,x,0.75,26.7,24.1,1.05,25\r\n"
              "d,x,1,33.4,30.36,1.30,32\r\n");
    }
};

TEST(Options, MissingFilesAreCreatedWithDefaultsWhenTheWindowBecomesActive) {
    Folder f;
    becoming_active(f.doc);
    EXPECT_EQ(textfile::read_bytes(f.dir / "minmaxdia"), "0\r\n5\r\n140\r\n");
    EXPECT_EQ(textfile::read_bytes(f.dir / "minpre"), "10\r\n50\r\n0.0157\r\n0.15\r\n");
    EXPECT_EQ(textfile::read_bytes(f.dir / "usage"), "2.5\r\n3\r\n5\r\n20\r\n60\r\n90\r\n120\r\n");
    EXPECT_EQ(textfile::read_lines(f.dir / "units.qtx")[3], "\"Nominal Diameter (ND)\",inch,\"\"\"\"");
    EXPECT_EQ(f.doc.unidaddiametro, "\"");
    EXPECT_EQ(f.doc.Edit2, "10");
    EXPECT_EQ(f.doc.Edit3, "0.0157");
    EXPECT_DOUBLE_EQ(f.doc.IQF, 0.15);
    // Rows 1 to 6 asked, four exist.
    EXPECT_EQ(f.doc.diamnominal, (TextList{"0.5", "0.75", "0.75", "1"}));
    EXPECT_EQ(f.doc.diaminterno, (TextList{"18.18", "23.63", "24.1", "30.36"}));
    EXPECT_EQ(f.doc.chwlista, (TextList{"140", "140", "140", "140"}));
    EXPECT_EQ(f.doc.ZCSG5(9, 0), "Diameter [\"]");
}

TEST(Options, SlicesFollowTheFileAndUltimonudoTheCounter) {
    Folder f;
    write(f.dir / "minmaxdia", "1\r\n2\r\n120\r\n");
    f.doc.numnudos = 137;
    becoming_active(f.doc);
    EXPECT_EQ(f.doc.diaminterno, (TextList{"23.63", "24.1"}));
    EXPECT_EQ(f.doc.costounitario, (TextList{"0.95", "1.05"}));
    EXPECT_EQ(f.doc.chwlista, (TextList{"120", "120"}));
    EXPECT_EQ(f.doc.ultimonudo, 199);
}

TEST(Options, ShortOrMalformedFilesNameTheFileAndChangeNothing) {
    struct Case { const char* file; std::string bytes; const char* expected_text; };
    const std::vector<Case> cases{
        {"minmaxdia", "0\r\n5\r\n", "has 2 lines; 3 are needed"},
        {"minmaxdia", "0\r\nfive\r\n140\r\n", "line 2: 'five' is not a valid integer value"},
        {"minpre", "10\r\n50\r\n0.0157\r\n", "has 3 lines; 4 are needed"},
        {"minpre", "10\r\n50\r\n0,0157\r\n0.15\r\n", "line 3"},
        {"minpre", std::string("\0\0\0\0", 4), "is not a text file"},
    };
    for (const auto& c : cases) {
        Folder f;
        write(f.dir / c.file, c.bytes);
        f.doc.Edit2 = "before";
        EXPECT_THROW(
            {
                try {
                    becoming_active(f.doc);
                } catch (const FileError& e) {
                    EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos) << e.what();
                    EXPECT_NE(std::string(e.what()).find(c.expected_text), std::string::npos) << e.what();
                    throw;
                }
            },
            FileError);
        EXPECT_EQ(textfile::read_bytes(f.dir / c.file), c.bytes);
        EXPECT_EQ(f.doc.Edit2, "before");
    }
}

TEST(OptionsEditor, DesignParametersTableAndConsumptions) {
    Folder f;
    becoming_active(f.doc);
    OptionsEditor editor;
    editor.fill(f.doc);
    EXPECT_EQ(editor.diameter_choices(), (TextList{"0.5", "0.75", "1"}));  // repeated value listed once
    EXPECT_EQ(editor.future_population(), "9.03");
    EXPECT_EQ(editor.max_hour_flow(), "0.0157");
    EXPECT_EQ(editor.QUE, "0.0157");

    editor.click_consumption(2);
    EXPECT_EQ(editor.picked_consumption(), "120");
    EXPECT_EQ(editor.max_hour_flow(), "0.0314");
    editor.set_parameter(3, "10");
    EXPECT_EQ(editor.future_population(), "6.72");

    editor.click_consumption(1);
    editor.delete_consumption();
    EXPECT_EQ(editor.consumptions(), (TextList{"60", "120"}));
    EXPECT_EQ(editor.selected_consumption(), 1);
    editor.add_consumption("150");
    ScriptedMessages messages;
    messages.answer_next(Answer::Yes);
    editor.close(f.doc, messages);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Do you want to save the changes?"});
    EXPECT_EQ(textfile::read_lines(f.dir / "usage"), (TextList{"2.5", "3", "5", "10", "60", "120", "150"}));
}

TEST(OptionsEditor, UnitFlowQuestionAndPressureAtOnce) {
    Folder f;
    becoming_active(f.doc);
    OptionsEditor editor;
    editor.fill(f.doc);
    editor.set_min_pressure(f.doc, "15");
    EXPECT_DOUBLE_EQ(f.doc.presmin, 15);
    editor.click_consumption(1);
    ScriptedMessages messages;
    messages.answer_next(Answer::No);  // do not save the pressures
    editor.close(f.doc, messages);
    EXPECT_EQ(textfile::read_lines(f.dir / "minpre")[0], "10");
    becoming_active(f.doc);
    messages.answer_next(Answer::Yes);
    after_unit_flow_options(f.doc, editor, messages);
    EXPECT_EQ(messages.texts().back(),
              "The consumption has changed to 90 L/person/day. Do you want to change the unit flow in nodes?");
    EXPECT_EQ(f.doc.Edit3, "0.0235");
}

TEST(Options, ProjectBoxesTakeTheirValuesBackOnAKey) {
    Folder f;
    becoming_active(f.doc);
    ScriptedMessages messages;
    for (int box : {2, 3}) {
        f.doc.Edit2 = f.doc.Edit3 = "typed";
        project_box_key_released(f.doc, box, messages);
        EXPECT_EQ(box == 2 ? f.doc.Edit2 : f.doc.Edit3, box == 2 ? "10" : "0.0157");
    }
    EXPECT_EQ(messages.texts(), std::vector<std::string>(2, "To change this value, double click on the box"));
}

TEST(OptionsEditor, MillimetreUnitAndReset) {
    Folder f;
    becoming_active(f.doc);
    OptionsEditor editor;
    editor.fill(f.doc);
    editor.choose_diameter_unit("milimeter");
    ScriptedMessages messages;
    editor.close(f.doc, messages);
    becoming_active(f.doc);
    EXPECT_EQ(f.doc.unidaddiametro, "mm");

    write(f.dir / "minpre", "1\r\n2\r\n3\r\n4\r\n");
    editor.reset(f.doc, messages);
    EXPECT_EQ(messages.texts().back(),
              "Do you want to reset the options to the original conditions? If yes all the changes will be lost");
    EXPECT_EQ(textfile::read_bytes(f.dir / "minpre"), "10\r\n50\r\n0.0157\r\n0.15\r\n");
    EXPECT_EQ(editor.units()(2, 3), "\"");
}

}  // namespace
}  // namespace velmora::kelvaro

#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "budget/tests/fixture.h"
#include "common/errors.h"
#include "common/textfile.h"

#include <gtest/gtest.h>

namespace velmora::budget {
namespace {

namespace fs = std::filesystem;
using testing::Fixture;
using Row = std::vector<std::string>;

TEST(Project, InitialTables) {
    Fixture f;
    f.start();
    const Document& d = f.doc;
    EXPECT_EQ(d.SG1.column(0), (Row{"Community", "Location", "Households", "Type", "Date"}));
    EXPECT_EQ(d.SG1(1, 4), "11/12/2026");
    EXPECT_EQ(d.SG2.row_count(), 4);
    EXPECT_EQ(d.SG2.row(2), (Row{"2", "Tap", "unit", ""}));
    EXPECT_EQ(d.SG4.row_count(), 3);
    EXPECT_EQ(d.SG4.row(2), (Row{"6002", "PVC pipe 0.5 in", ""}));
    EXPECT_EQ(d.SG5.row(0), (Row{"Code", "Pipes", "Length [m]", "No HH connections"}));
    EXPECT_EQ(d.diametro, (Row{"", "2", "0.5"}));
    EXPECT_EQ(d.SG6.row(1), (Row{"2002", "Sand", "100"}));
    EXPECT_EQ(d.SG7.column(0), (Row{"Materials", "Cement", "Boulders", "Gravel", "Sand", "Pipes",
                                    "Steel bars, timber, etc.", "Total"}));
    EXPECT_EQ(d.SG7.row(7), (Row{"Total", "------", "------", "", "", "", "", ""}));
    EXPECT_EQ(d.SG8(0, 9), "Others");
    EXPECT_EQ(d.SG9(1, 6), "90");
    EXPECT_EQ(d.tools_percentage, "2");
    EXPECT_TRUE(d.saved);
    EXPECT_FALSE(d.report_outdated);
    EXPECT_FALSE(d.save_button_enabled);
    EXPECT_EQ(d.SG15.row_count(), 17);
    EXPECT_EQ(d.SG15(0, 15), "Others");
}

TEST(Project, DiametersRowsAndLocks) {
    Fixture f;
    f.write("obras.csv", {"h", "h", "1,Tank,1,2,0,0,0,0,0,tank.csv,u", "2,Tap,1,0,0,0,0,0,0,tap.csv,u",
                          "3,Fence,0,0,0,0,0,0,0,fence.csv,u", "4,Box,3,1,0,0,0,0,0,tap.csv,u"});
    f.start();
    f.set_quantity(1, "3");
    f.set_quantity(2, "1");
    f.set_quantity(3, "5");    // no inlets or outlets: no rows
    f.set_quantity(4, "2.5");  // not an integer: no rows
    const Grid& g = f.doc.SG3;
    EXPECT_EQ(f.doc.maxde, 1);
    EXPECT_EQ(f.doc.maxds, 2);
    ASSERT_EQ(g.col_count(), 5);
    ASSERT_EQ(g.row_count(), 5);
    EXPECT_EQ(g.row(0), (Row{"Idx", "Component", "Inlet fi 1", "Outlet fi 1", "Outlet fi 2"}));
    EXPECT_EQ(g.row(1), (Row{"1", "Tank - No. 1", "", "", ""}));
    EXPECT_EQ(g.row(3), (Row{"1", "Tank - No. 3", "", "", ""}));
    EXPECT_EQ(g.row(4), (Row{"2", "Tap", "", "-----", "-----"}));

    f.set_quantity(4, "1");  // 3 inlets now
    EXPECT_EQ(f.doc.maxde, 3);
    EXPECT_EQ(f.doc.SG3.row(0), (Row{"Idx", "Component", "Inlet fi 1", "Inlet fi 2", "Inlet fi 3", "Outlet fi 1",
                                     "Outlet fi 2"}));
    EXPECT_EQ(f.doc.SG3.row(4), (Row{"2", "Tap", "", "-----", "-----", "-----", "-----"}));
    EXPECT_EQ(f.doc.SG3.row(5), (Row{"4", "Box", "", "", "", "", "-----"}));
    EXPECT_TRUE(f.doc.cambio_materiales);
    EXPECT_TRUE(f.doc.report_outdated);
    EXPECT_FALSE(f.doc.saved);
}

TEST(Project, DiametersStopOnACountThatIsNotAnInteger) {
    Fixture f;
    f.write("obras.csv", {"h", "h", "1,Tank,one,1,0,0,0,0,0,tank.csv,u"});
    f.start();
    f.doc.SG2.set_cell(3, 1, "1");
    try {
        diametros(f.doc);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'one' is not a valid integer value (obras.csv, line 3, inlets)");
    }
    // Opening a project that uses the component stops with the same message.
    salvarproyecto(f.doc, f.projects / "p.bfl");
    EXPECT_THROW(cargarproyecto(f.doc, f.projects / "p.bfl"), ConversionError);
}

// Sizes the Diameters table could not hold stop with a message (found by
// fuzzing: a quantity of 777,777,177 ran out of memory). The project still
// opens with such a quantity, so it can be corrected.
TEST(Project, DiametersRefuseTablesTooLargeToHold) {
    Fixture f;
    f.write("obras.csv", {"h", "h", "1,Tank,1,1,0,0,0,0,0,tank.csv,u", "2,Tap,1,0,0,0,0,0,0,tap.csv,u",
                          "3,Hub,101,0,0,0,0,0,0,hub.csv,u"});
    f.start();
    f.doc.SG2.set_cell(3, 1, "6000");
    f.doc.SG2.set_cell(3, 2, "4000");
    diametros(f.doc);
    EXPECT_EQ(f.doc.SG3.row_count(), 10001);
    f.doc.SG2.set_cell(3, 2, "777777177");
    try {
        diametros(f.doc);
        FAIL() << "no error";
    } catch (const CommandError& e) {
        EXPECT_STREQ(e.what(), "The components with fittings add up to more than 10000 units (row 2, quantity "
                               "777777177); the Diameters table cannot hold them");
    }
    salvarproyecto(f.doc, f.projects / "p.bfl");
    EXPECT_NO_THROW(cargarproyecto(f.doc, f.projects / "p.bfl"));
    f.doc.SG2.set_cell(3, 2, "0");
    f.doc.SG2.set_cell(3, 3, "1");
    EXPECT_THROW(diametros(f.doc), CommandError);  // 101 inlets
}

// Fills every project table with something worth keeping.
void fill_project(Fixture& f) {
    f.start();
    f.doc.SG1.set_cell(1, 0, "Los Pinos");
    f.set_quantity(1, "2");
    f.doc.SG3.set_cell(2, 1, "2");
    f.doc.SG3.set_cell(3, 2, "1 1/2");
    f.doc.SG4.set_cell(2, 1, "120.5");
    f.doc.SG5.set_cell(2, 2, "300");
    f.doc.SG5.set_cell(3, 2, "12");
    f.doc.SG7.set_cell(3, 1, "2");
    f.doc.SG7.set_cell(4, 1, "50");
    table_edited(f.doc, ProjectTable::SG7);
    f.doc.SG8.set_cell(1, 1, "500");
    table_edited(f.doc, ProjectTable::SG8, 1, 1);
    f.doc.others_description = "Fencing, signs";
    f.doc.tools_percentage = "3.5";
}

TEST(Project, SaveAndOpenReproduceEveryTable) {
    Fixture saved;
    fill_project(saved);
    ScriptedFileDialogs dialogs;
    dialogs.push(FileChoice{saved.projects / "project.txt"});
    ASSERT_TRUE(save_command(saved.doc, dialogs));
    EXPECT_EQ(saved.doc.project_file, saved.projects / "project.bfl");
    EXPECT_EQ(dialogs.requests().at(0).filter, "Budget files (*.bfl)|*.bfl|All Files (*.*)|*.*");
    EXPECT_EQ(textfile::read_lines(saved.projects / "project.bfl"), (Row{"Fencing, signs", "3.5", "0"}));
    for (const char* ext : kTableExtensions) EXPECT_TRUE(fs::exists(saved.projects / ("project" + std::string(ext))));
    EXPECT_FALSE(fs::exists(saved.projects / "project.txt"));

    Fixture opened;
    opened.start();
    ScriptedFileDialogs open;
    open.push(FileChoice{saved.projects / "project.bfl"});
    ASSERT_TRUE(open_command(opened.doc, open));
    auto a = project_tables(saved.doc);
    auto b = project_tables(opened.doc);
    for (size_t k = 0; k < a.size(); ++k) {
        SCOPED_TRACE(kTableExtensions[k]);
        EXPECT_EQ(a[k]->to_lines(), b[k]->to_lines());
    }
    EXPECT_EQ(opened.doc.others_description, "Fencing, signs");
    EXPECT_EQ(opened.doc.tools_percentage, "3.5");
    EXPECT_EQ(opened.doc.maxde, 1);
    EXPECT_EQ(opened.doc.maxds, 1);
    EXPECT_TRUE(opened.doc.report_outdated);
    EXPECT_TRUE(opened.doc.saved);
}

TEST(Project, AFailedSaveLeavesTheOldProjectIntact) {
    Fixture f;
    fill_project(f);
    fs::path bfl = f.projects / "p.bfl";
    salvarproyecto(f.doc, bfl);
    std::map<fs::path, std::string> before;
    for (const auto& e : fs::directory_iterator(f.projects)) before[e.path()] = textfile::read_bytes(e.path());

    f.doc.SG1.set_cell(1, 0, "Changed");
    f.doc.others_description = "Changed";
    fs::remove(f.projects / "p.dis");
    fs::create_directories(f.projects / "p.dis" / "x");  // the .dis file cannot be written
    before.erase(f.projects / "p.dis");
    EXPECT_THROW(salvarproyecto(f.doc, bfl), FileError);
    for (const auto& [file, bytes] : before) EXPECT_EQ(textfile::read_bytes(file), bytes) << file;
    int count = 0;
    for (const auto& e : fs::directory_iterator(f.projects)) count += e.path().extension() == ".tmp";
    EXPECT_EQ(count, 0);
}

TEST(Project, OpenStopsAtAMissingTableFile) {
    Fixture f;
    fill_project(f);
    salvarproyecto(f.doc, f.projects / "p.bfl");
    fs::remove(f.projects / "p.con");
    Fixture g;
    g.start();
    EXPECT_THROW(cargarproyecto(g.doc, f.projects / "p.bfl"), FileError);
    EXPECT_EQ(g.doc.SG1(1, 0), "Los Pinos");  // tables read before it keep their content
    EXPECT_EQ(g.doc.SG4(2, 1), "");
}

TEST(Project, CancelledDialogs) {
    Fixture f;
    f.start();
    f.set_quantity(1, "1");
    ScriptedFileDialogs dialogs;  // every dialog cancelled
    EXPECT_FALSE(open_command(f.doc, dialogs));
    EXPECT_TRUE(f.doc.saved);
    EXPECT_TRUE(f.doc.report_outdated);
    EXPECT_FALSE(save_command(f.doc, dialogs));
    f.set_quantity(1, "2");
    f.messages.answer_next(Answer::Yes);
    close_command(f.doc, dialogs, f.messages);
    EXPECT_EQ(f.messages.texts(), Row{"The project has been modified. Would you like to save the changes?"});
    EXPECT_EQ(dialogs.requests().size(), 3u);  // Yes showed the save dialog
}

TEST(Project, ChangeFlags) {
    struct Case {
        ProjectTable table;
        bool materials;
    };
    for (Case c : {Case{ProjectTable::SG1, false}, Case{ProjectTable::SG4, true}, Case{ProjectTable::SG5, true},
                   Case{ProjectTable::SG9, false}}) {
        Fixture f;
        f.start();
        table_edited(f.doc, c.table);
        EXPECT_FALSE(f.doc.saved);
        EXPECT_TRUE(f.doc.report_outdated);
        EXPECT_TRUE(f.doc.save_button_enabled);
        EXPECT_EQ(f.doc.cambio_materiales, c.materials);
    }
    Fixture f;
    f.start();
    tools_field_edited(f.doc);
    EXPECT_TRUE(f.doc.report_outdated);
    EXPECT_TRUE(f.doc.save_menu_enabled);
    EXPECT_FALSE(f.doc.save_button_enabled);
    Fixture g;
    g.start();
    others_field_edited(g.doc);
    EXPECT_FALSE(g.doc.saved);
    EXPECT_FALSE(g.doc.report_outdated);
}

TEST(Project, IndirectCostIsEitherACostOrAPercentage) {
    Fixture f;
    f.start();
    f.doc.SG8.set_cell(1, 3, "500");
    table_edited(f.doc, ProjectTable::SG8, 1, 3);
    EXPECT_EQ(f.doc.SG8.row(3), (Row{"Land (Including water sources)", "500", "----"}));
    f.doc.SG8.set_cell(2, 3, "10");
    table_edited(f.doc, ProjectTable::SG8, 2, 3);
    EXPECT_EQ(f.doc.SG8.row(3), (Row{"Land (Including water sources)", "----", "10"}));
}

TEST(Project, NewDiscardsTheProject) {
    Fixture f;
    fill_project(f);
    condicionesiniciales(f.doc, f.messages);
    EXPECT_EQ(f.doc.SG1(1, 0), "");
    EXPECT_EQ(f.doc.SG2(3, 1), "");
    EXPECT_EQ(f.doc.SG3.row_count(), 1);
    EXPECT_EQ(f.doc.others_description, "");
    EXPECT_EQ(f.doc.tools_percentage, "2");
    EXPECT_TRUE(f.doc.saved);
    EXPECT_TRUE(f.doc.save_button_enabled);
}

}  // namespace
}  // namespace velmora::budget

// Saves that fail part-way (full disk, a folder where a file goes, a folder
// that is a file) report the file and leave the previous files untouched.
#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "budget/tests/fixture.h"
#include "common/errors.h"
#include "common/tests/save_failure.h"

#include <gtest/gtest.h>

namespace velmora::budget {
namespace {

namespace vt = ::velmora::testing;
using testing::Fixture;

TEST(SaveFailure, AFailedProjectSaveIsReportedAndKeepsThePreviousFiles) {
    for (auto fault : vt::kSaveFaults) {
        SCOPED_TRACE(vt::fault_name(fault));
        Fixture f;
        f.start();
        f.set_quantity(1, "2");
        salvarproyecto(f.doc, f.projects / "p.bfl");
        const vt::FaultySave save(fault, f.projects / "p.bfl", f.projects / "p.apo");
        const auto before = vt::folder_snapshot(f.projects);

        f.set_quantity(2, "5");
        f.doc.others_description = "a longer description than before";
        ASSERT_FALSE(f.doc.saved);
        ScriptedFileDialogs dialogs;
        dialogs.push(FileChoice{save.target(), 1});
        {
            auto full = save.during_save();
            try {
                save_command(f.doc, dialogs);
                ADD_FAILURE() << "the save succeeded";
            } catch (const FileError& e) {
                EXPECT_NE(std::string(e.what()).find("p."), std::string::npos) << e.what();
            }
        }
        EXPECT_FALSE(f.doc.saved) << "the changes still count as unsaved";
        EXPECT_EQ(vt::folder_snapshot(f.projects), before);
    }
}

TEST(SaveFailure, AFailedCatalogueSaveKeepsThePreviousFile) {
    Fixture f;
    f.start();
    Grid precios = f.doc.SGprecios;
    precios.set_cell(4, kFirstPriceRow, "41.5");
    const auto before = vt::folder_snapshot(f.files);
    ScriptedMessages messages;
    {
        vt::DiskFull full;
        EXPECT_THROW(close_materials_editor(f.doc, precios, true, messages), FileError);
    }
    EXPECT_EQ(vt::folder_snapshot(f.files), before);
    EXPECT_EQ(f.doc.SGprecios(4, kFirstPriceRow), "40") << "the list in use is the one on disk";
}

}  // namespace
}  // namespace velmora::budget

// Saves that fail part-way (full disk, a folder where a file goes, a folder
// that is a file) report the file and leave the previous files untouched.
#include "common/errors.h"
#include "common/tests/save_failure.h"
#include "common/tests/test_dir.h"
#include "tosquin/engine/project_files.h"
#include "tosquin/engine/reference_files.h"

#include <gtest/gtest.h>

namespace velmora::tosquin {
namespace {

namespace fs = std::filesystem;
namespace vt = ::velmora::testing;

TEST(SaveFailure, AFailedProjectSaveIsReportedAndKeepsThePreviousFiles) {
    for (auto fault : vt::kSaveFaults) {
        SCOPED_TRACE(vt::fault_name(fault));
        vt::TempDir dir;
        Document doc;
        abrir(doc, fs::path(TOSQUIN_DATA_DIR) / "examples" / "quebrada_honda.lin");
        doc.SG3.set_size(2, 2);
        doc.SG3.set_cell(0, 0, "Station");
        guardararchivos(doc, dir / "P.lin");
        const vt::FaultySave save(fault, dir / "P.lin", dir / "P.top");
        const auto before = vt::folder_snapshot(dir.path());

        doc.titulo = doc.Edit1 = "A second name, longer than the first";
        doc.cambios = true;
        ScriptedFileDialogs dialogs;
        dialogs.push(FileChoice{save.target(), 1});
        {
            auto full = save.during_save();
            try {
                save_as(doc, dialogs);
                ADD_FAILURE() << "the save succeeded";
            } catch (const FileError& e) {
                EXPECT_NE(std::string(e.what()).find("P."), std::string::npos) << e.what();
            }
        }
        EXPECT_TRUE(doc.cambios) << "the changes still count as unsaved";
        EXPECT_EQ(vt::folder_snapshot(dir.path()), before);
    }
}

TEST(SaveFailure, AFailedOptionsSaveKeepsThePreviousFile) {
    vt::TempDir dir;
    for (const char* name : {kPipesFile, kPressuresFile, kPricesFile})
        fs::copy_file(fs::path(TOSQUIN_DATA_DIR) / name, dir / name);
    Document doc;
    doc.carpetadatos = dir.path();
    leerarchivos(doc);
    OptionsWindow w = open_options(doc);
    w.prices = {"11", "22", "33"};
    w.cambio4 = true;
    w.cambio1 = w.cambio2 = w.cambio3 = true;
    const auto before = vt::folder_snapshot(dir.path());
    ScriptedMessages messages;
    {
        vt::DiskFull full;
        EXPECT_THROW(options_ok(doc, w, messages), FileError);
    }
    EXPECT_EQ(vt::folder_snapshot(dir.path()), before);
}

}  // namespace
}  // namespace velmora::tosquin

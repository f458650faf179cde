// Saves that fail part-way (full disk, a folder where a file goes, a folder
// that is a file) report the file and leave the previous files untouched.
#include "common/errors.h"
#include "common/tests/save_failure.h"
#include "marulet/engine/project_files.h"
#include "marulet/engine/reference_files.h"
#include "network_fixture.h"
#include "test_dir.h"

#include <gtest/gtest.h>

namespace velmora::marulet {
namespace {

namespace fs = std::filesystem;
namespace vt = ::velmora::testing;

TEST(SaveFailure, AFailedProjectSaveIsReportedAndKeepsThePreviousFiles) {
    for (auto fault : vt::kSaveFaults) {
        SCOPED_TRACE(vt::fault_name(fault));
        vt::TempDir dir;
        Document first = testing::network({{"1", "2", "40", "100", "99", "3"}});
        first.project_name = "First";
        salvar(first, dir / "project.sew");
        const vt::FaultySave save(fault, dir / "project.sew", dir / "project.par");
        const auto before = vt::folder_snapshot(dir.path());

        Document doc = testing::network({{"1", "2", "40", "100", "99", "3"}, {"2", "3", "35.5", "99", "97", "1"}});
        doc.project_name = "Second, with a longer name than the first";
        doc.cambios = true;
        ScriptedFileDialogs dialogs;
        ScriptedMessages messages;
        dialogs.push(FileChoice{save.target(), 1});
        bool saved = true;
        {
            auto full = save.during_save();
            saved = save_as_command(doc, messages, dialogs, dir.path());
        }
        EXPECT_FALSE(saved);
        EXPECT_TRUE(doc.cambios) << "the changes still count as unsaved";
        ASSERT_EQ(messages.records().size(), 1u);
        EXPECT_EQ(messages.records()[0].kind, "error");
        EXPECT_NE(messages.records()[0].text.find("project."), std::string::npos) << messages.records()[0].text;
        EXPECT_EQ(vt::folder_snapshot(dir.path()), before);
    }
}

TEST(SaveFailure, AFailedOptionsSaveKeepsThePreviousFiles) {
    for (auto fault : {vt::SaveFault::DiskFull, vt::SaveFault::FolderInPlace}) {
        SCOPED_TRACE(vt::fault_name(fault));
        vt::TempDir dir;
        fs::copy_file(fs::path(MARULET_DATA_DIR) / kCatalogueFile, dir / kCatalogueFile);
        Document doc;
        start_up(doc, dir.path());
        OptionsDialog options(dir.path());
        options.show();
        const vt::FaultySave save(fault, dir / kParametersFile, dir / kManningFile);
        const auto before = vt::folder_snapshot(dir.path());
        options.edit_field(0, "6.5");
        ScriptedMessages messages;
        messages.answer_next(Answer::Yes);
        {
            auto full = save.during_save();
            EXPECT_THROW(options.close(messages), FileError);
        }
        EXPECT_EQ(vt::folder_snapshot(dir.path()), before);
    }
}

}  // namespace
}  // namespace velmora::marulet

// Saves that fail part-way (full disk, a folder where a file goes, a folder
// that is a file) report the file and leave the previous files untouched.
#include "kelvaro/engine/options.h"
#include "kelvaro/engine/project_files.h"

#include "common/errors.h"
#include "common/tests/save_failure.h"
#include "common/tests/test_dir.h"

#include <gtest/gtest.h>

namespace velmora::kelvaro {
namespace {

using velmora::testing::FaultySave;
using velmora::testing::folder_snapshot;

Document village(const std::string& name) {
    Document doc;
    doc.Edit1 = name;
    doc.Edit2 = "12.5";
    doc.Edit3 = "0.0157";
    doc.ZCSG4.set_row_count(4);
    doc.ZCSG4.set_row(2, {"1", "1", "2", "120.5", "2860.4", "2845", "3", "1"});
    doc.ZCSG4.set_row(3, {"2", "2", "3", "80", "2845", "2830", "", "1"});
    doc.bpbx = {"10"};
    doc.bpby = {"20"};
    doc.bpbnudos = {"1"};
    doc.bpblibre = {"n"};
    doc.tramosx = {{"10", "40"}};
    doc.tramosy = {{"20", "45"}};
    doc.tramosz = {{"2860.4", "2845"}};
    doc.tramosnudos = {{"1", "2"}};
    return doc;
}

TEST(SaveFailure, AFailedProjectSaveIsReportedAndKeepsThePreviousFiles) {
    for (auto fault : velmora::testing::kSaveFaults) {
        SCOPED_TRACE(velmora::testing::fault_name(fault));
        velmora::testing::TempDir dir;
        write_project(village("First"), dir / "Village.bra");
        const FaultySave save(fault, dir / "Village.bra", dir / "Village.ghc");
        const auto before = folder_snapshot(dir.path());

        Document doc = village("Second, much longer than the first one");
        doc.cambios = true;
        ScriptedFileDialogs dialogs;
        ScriptedMessages messages;
        dialogs.push(FileChoice{save.target(), 1});
        bool saved = true;
        {
            auto full = save.during_save();
            saved = save_command(doc, dialogs, messages);
        }
        EXPECT_FALSE(saved);
        EXPECT_TRUE(doc.cambios) << "the changes still count as unsaved";
        ASSERT_EQ(messages.records().size(), 1u);
        EXPECT_EQ(messages.records()[0].kind, "error");
        EXPECT_NE(messages.records()[0].text.find("Village."), std::string::npos) << messages.records()[0].text;
        EXPECT_EQ(folder_snapshot(dir.path()), before);
    }
}

TEST(SaveFailure, AFailedOptionSaveKeepsThePreviousFile) {
    for (auto fault : {velmora::testing::SaveFault::DiskFull, velmora::testing::SaveFault::ParentIsAFile}) {
        SCOPED_TRACE(velmora::testing::fault_name(fault));
        velmora::testing::TempDir dir;
        ensure_option_files(dir.path());
        const FaultySave save(fault, dir / kUnitsFile, dir / kUnitsFile);
        const auto before = folder_snapshot(dir.path());
        Grid units = default_units();
        units.set_cell(2, 3, "milimeter");
        {
            auto full = save.during_save();
            EXPECT_THROW(save_units(save.target(), units), FileError);
        }
        EXPECT_EQ(folder_snapshot(dir.path()), before);
    }
}

}  // namespace
}  // namespace velmora::kelvaro

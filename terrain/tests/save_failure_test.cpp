// A survey book save that fails (full disk, a folder where the file goes, a
// folder that is a file) is reported and leaves the previous file untouched.
#include "common/errors.h"
#include "common/ports.h"
#include "common/tests/save_failure.h"
#include "common/tests/test_dir.h"
#include "terrain/survey_book.h"

#include <gtest/gtest.h>

namespace velmora::terrain {
namespace {

namespace vt = ::velmora::testing;

TEST(SaveFailure, AFailedSurveyBookSaveKeepsThePreviousFile) {
    for (auto fault : vt::kSaveFaults) {
        SCOPED_TRACE(vt::fault_name(fault));
        vt::TempDir dir;
        SurveyBook book;
        book.paste("1\t2\t1.0\t1.25\t1.5\t90\t0\t0\t90\t0\t0\t1.5\t4\r\n", 1, 2);
        book.write_sur(dir / "book.sur");
        // The folder case: a second book whose name is taken by a folder.
        const auto target = fault == vt::SaveFault::FolderInPlace ? dir / "other.sur" : dir / "book.sur";
        const vt::FaultySave save(fault, target, target);
        const auto before = vt::folder_snapshot(dir.path());

        book.paste("2\t3\t2.0\t2.5\t3.0\t85\t0\t0\t0\t0\t0\t1.4\t2\r\n", 1, 3);
        ASSERT_FALSE(book.salvado());
        ScriptedFileDialogs dialogs;
        dialogs.push(FileChoice{save.target(), 1});
        {
            auto full = save.during_save();
            try {
                book.save(dialogs);
                ADD_FAILURE() << "the save succeeded";
            } catch (const FileError& e) {
                EXPECT_NE(std::string(e.what()).find(".sur"), std::string::npos) << e.what();
            }
        }
        EXPECT_FALSE(book.salvado()) << "the changes still count as unsaved";
        EXPECT_EQ(vt::folder_snapshot(dir.path()), before);
    }
}

}  // namespace
}  // namespace velmora::terrain

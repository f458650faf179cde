#include "budget/engine/catalogues.h"
#include "budget/engine/component_description.h"
#include "common/tests/test_dir.h"

#include <gtest/gtest.h>

namespace velmora::budget {
namespace {

const char* kEnterData = "Do you want to enter the data for the new component?";
const char* kSaveChanges = "The data have changed. Would you like to save the changes";

TEST(ComponentDescription, OkAndCancelQuestions) {
    using O = ComponentDescription::Outcome;
    struct Case {
        const char* name;
        bool edited;
        const char* file;
        bool cancel;
        bool listed;  // opened by "Edit"
        std::vector<Answer> answers;
        O outcome;
        bool changed_after;
        std::vector<MessageRecord> messages;
    };
    const MessageRecord enter{"question", "Warning", kEnterData};
    const MessageRecord save{"question", "warning", kSaveChanges};
    const MessageRecord need_file{"notice", "", "A file name must be entered"};
    const std::vector<Case> cases = {
        {"ok unchanged", false, "tank", false, false, {}, O::Close, false, {}},
        {"ok yes", true, "tank", false, false, {Answer::Yes}, O::EnterBill, true, {enter}},
        {"ok no", true, "tank", false, false, {Answer::No}, O::Close, true, {enter}},
        {"ok yes without file", true, "", false, false, {Answer::Yes}, O::StayOpen, true, {enter, need_file}},
        {"cancel unchanged", false, "tank", true, false, {}, O::Close, false, {}},
        {"cancel no", true, "tank", true, false, {Answer::No}, O::Close, false, {save}},
        {"cancel yes, enter yes", true, "tank", true, false, {Answer::Yes, Answer::Yes}, O::EnterBill, true, {save, enter}},
        {"cancel yes, enter no", true, "tank", true, false, {Answer::Yes, Answer::No}, O::Close, false, {save, enter}},
        {"cancel yes, no file", true, "", true, false, {Answer::Yes, Answer::Yes}, O::Close, false,
         {save, enter, need_file}},
        {"edit: ok", true, "tank", false, true, {}, O::Close, true, {}},
        {"edit: cancel", true, "tank", true, true, {}, O::Close, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessages messages;
        for (Answer a : c.answers) messages.answer_next(a);
        ComponentDescription d;
        ComponentFields f;
        f.description = "Tank";
        f.file = c.file;
        d.load(f, !c.listed);
        EXPECT_FALSE(d.changed);
        if (c.edited) d.edited();
        EXPECT_EQ(c.cancel ? d.cancel(messages) : d.ok(messages), c.outcome);
        EXPECT_EQ(d.changed, c.changed_after);
        EXPECT_EQ(messages.records(), c.messages);
        EXPECT_EQ(d.fields.description, "Tank");
    }
}

TEST(ComponentDescription, NewComponentBillKeepsAnExistingFile) {
    velmora::testing::TempDir dir;
    Grid bill(4, 3, 1, 0);
    bill.set_row(0, {"Description", "Unit", "Quantity", "Code"});
    bill.set_row(1, {"Sand", "m3", "3", "2002"});
    bill.set_row(2, {"Cement", "Sack", "5", "2004"});
    write_table_file(bill, dir / "tank.csv");
    Grid shown = bill;
    begin_new_component_bill(shown, dir / "fresh.csv");
    EXPECT_EQ(shown.row_count(), 1);
    EXPECT_EQ(read_table_file(dir / "fresh.csv").row_count(), 1);
    begin_new_component_bill(shown, dir / "tank.csv");
    EXPECT_EQ(shown.row_count(), 3);
    EXPECT_EQ(read_table_file(dir / "tank.csv").row(2), bill.row(2));
}

TEST(ComponentDescription, DeleteMaterialRemovesTheSelectedLine) {
    Grid bill(4, 4, 1, 0);
    bill.set_row(0, {"Description", "Unit", "Quantity", "Code"});
    bill.set_row(1, {"Sand", "m3", "3", "2002"});
    bill.set_row(2, {"Cement", "Sack", "5", "2004"});
    bill.set_row(3, {"Gravel", "m3", "1", "2012"});
    EXPECT_FALSE(delete_bill_line(bill, 0));
    EXPECT_FALSE(delete_bill_line(bill, 4));
    EXPECT_FALSE(delete_bill_line(bill, -1));
    EXPECT_EQ(bill.row_count(), 4);
    EXPECT_TRUE(delete_bill_line(bill, 2));
    EXPECT_EQ(bill.row_count(), 3);
    EXPECT_EQ(bill.column(3), (std::vector<std::string>{"Code", "2002", "2012"}));
}

}  // namespace
}  // namespace velmora::budget

#include "budget/engine/catalogues.h"
#include "budget/tests/fixture.h"
#include "common/errors.h"
#include "common/textfile.h"

#include <gtest/gtest.h>

namespace velmora::budget {
namespace {

using testing::Fixture;

Grid price_grid(const std::vector<std::string>& items) {
    Grid g;
    std::vector<std::string> lines = {"h0", "h1", "h2"};
    lines.insert(lines.end(), items.begin(), items.end());
    g.load_lines(lines, 0, commatext::Dialect::CommasOnly);
    return g;
}

TEST(Catalogues, LookupsAndPipeRange) {
    Fixture f;
    f.write("precios.csv", {"h", "h", "h", "5999,P,a", "6000,P,b", "6001,P,c", "6999,P,d", "7000,P,e", "7002,L,f"});
    load_catalogues(f.doc);
    std::vector<std::string> pipes;
    for (int r : pipe_rows(f.doc)) pipes.push_back(f.doc.SGprecios(0, r));
    EXPECT_EQ(pipes, (std::vector<std::string>{"6001", "6999"}));
    EXPECT_EQ(find_price_row(f.doc, "7002"), 8);  // the last row is compared too
    EXPECT_EQ(find_price_row(f.doc, "6000"), 4);
    EXPECT_FALSE(find_price_row(f.doc, "h").has_value());  // header rows are not searched
    EXPECT_FALSE(find_price_row(f.doc, "6001.0").has_value());  // compared as text
    // Parallel lists: entry 0 is the second header row, entry i works-list row i + 1.
    EXPECT_EQ(f.doc.obra, (std::vector<std::string>{"", "Tank", "Tap", "Fence"}));
    EXPECT_EQ(f.doc.archivo[3], "fence.csv");
    EXPECT_EQ(f.doc.ntee, (std::vector<std::string>(4, "")));
}

TEST(Catalogues, TableFileReadingReplacesTheWholeTable) {
    Fixture f;
    f.write("t.csv", {"a,\"b, c\",\"say \"\"hi\"\"\"", "1", "x y,2,3,4"});
    Grid g(9, 9);
    g.set_cell(8, 8, "old");
    read_table_file(g, f.files / "t.csv");
    EXPECT_EQ(g.row_count(), 3);
    EXPECT_EQ(g.col_count(), 4);
    EXPECT_EQ(g.row(0), (std::vector<std::string>{"a", "b, c", "say \"hi\"", ""}));
    EXPECT_EQ(g(0, 2), "x y");  // spaces do not separate fields
    EXPECT_THROW(read_table_file(g, f.files / "none.csv"), FileError);
}

TEST(Catalogues, BenefitTableRecomputation) {
    Grid moe;
    moe.load_lines({"h,x,m,y,s", "Rest,5.5,,,", "Holidays,0,9,9,9", "Empty,,1,1,1", "Vacation,24,,,", "old,total,,,"}, 0,
                   commatext::Dialect::CommasOnly);
    recompute_benefits(moe);
    EXPECT_EQ(moe.row(1), (std::vector<std::string>{"Rest", "5.5", "5.45454545454545", "66.3636363636364",
                                                    "0.181818181818182"}));
    EXPECT_EQ(moe.row(2), (std::vector<std::string>{"Holidays", "0", "", "", "0"}));
    EXPECT_EQ(moe.row(3), (std::vector<std::string>{"Empty", "", "", "", "0"}));
    EXPECT_EQ(moe.row(4), (std::vector<std::string>{"Vacation", "24", "1.25", "15.2083333333333", "0.0416666666666666"}));
    EXPECT_EQ(moe.row(5), (std::vector<std::string>{"Total", "-----", "-----", "-----", "0.223484848484849"}));

    // "Add" on 3 benefits: 4 benefit rows, the fourth empty, the total last.
    Grid three;
    three.load_lines({"h,x,m,y,s", "a,5,,,", "b,10,,,", "c,20,,,", "Total,-----,-----,-----,0"}, 0,
                     commatext::Dialect::CommasOnly);
    add_benefit_row(three);
    ASSERT_EQ(three.row_count(), 6);
    EXPECT_EQ(three.row(4), (std::vector<std::string>{"", "", "", "", "0"}));
    EXPECT_EQ(three(0, 5), "Total");
    EXPECT_EQ(three(4, 5), "0.35");
    EXPECT_FALSE(delete_benefit_row(three, 5));  // the total row stays
    EXPECT_TRUE(delete_benefit_row(three, 1));
    EXPECT_EQ(three(4, 4), "0.15");
}

TEST(Catalogues, BenefitFactorIsTheLastRowOfTheFile) {
    Fixture f;
    EXPECT_DOUBLE_EQ(benefit_factor(f.doc), 0.2);
    std::filesystem::remove(f.files / "moe.csv");
    EXPECT_THROW(benefit_factor(f.doc), FileError);
}

TEST(Catalogues, NewItemGoesAfterTheLargestCodeOfItsType) {
    const WizardTexts texts = {"New pipe", "m", "4.5", "3", "", "5", "0.01", "0.02"};
    struct Case {
        const char* name;
        std::vector<std::string> items;
        std::string type;
        int row;
        std::string code;
        std::string last_code;  // the list's last row afterwards
    };
    const Case cases[] = {
        {"middle", {"6001,Pipes", "6012,Pipes", "6005,Pipes", "7001,Labor"}, "Pipes", 5, "6013", "7001"},
        {"last row", {"7001,Labor", "6001,Pipes", "6012,Pipes"}, "Pipes", 6, "6013", "6013"},
        {"second to last", {"6001,Pipes", "6012,Pipes", "7001,Labor"}, "Pipes", 5, "6013", "7001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Grid g = price_grid(c.items);
        int row = insert_price_item(g, c.type, 12, 2026, texts);
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(g.row(row), (std::vector<std::string>{c.code, "Pipes", "New pipe", "m", "4.5", "12", "2026", "3", "",
                                                        "5", "0.01", "0.02"}));
        EXPECT_EQ(g(0, g.row_count() - 1), c.last_code);
        EXPECT_EQ(g.row_count(), static_cast<int>(c.items.size()) + 4);
    }
    Grid g = price_grid({"6001,Pipes", "7001,Labor", "1501,Valves"});
    EXPECT_EQ(item_types(g), (std::vector<std::string>{"Pipes", "Labor", "Valves"}));
    EXPECT_EQ(insert_price_item(g, "Services", 1, 2026, texts), -1);
    EXPECT_EQ(g.row_count(), 6);
    EXPECT_FALSE(delete_price_item(g, 2));
    EXPECT_TRUE(delete_price_item(g, 3));
    EXPECT_EQ(g(0, 3), "7001");
}

TEST(Catalogues, ComponentAddAndDeleteWithUsageCheck) {
    Fixture f;
    load_catalogues(f.doc);
    Grid obras = f.doc.SGlistaobras;
    ComponentFields fields{"Intake", "0", "1", "0", "1", "0", "1", "0", "intake", "unit"};
    int row = add_component(obras, fields);
    EXPECT_EQ(obras.row(row), (std::vector<std::string>{"4", "Intake", "0", "1", "0", "1", "0", "1", "0",
                                                         "intake.csv", "unit"}));
    EXPECT_EQ(component_file_name("a.csv"), "a.csv");
    EXPECT_EQ(component_file_name("a.txt"), "a.txt.csv");

    // No project names it: removed without a question.
    EXPECT_TRUE(delete_component(obras, row, f.projects, f.messages));
    EXPECT_TRUE(f.messages.records().empty());

    textfile::write_lines(f.projects / "old.com", {"Idx,Component,Unit,Quantity", "1,Tank,unit,2"});
    const std::string question =
        "The component to delete has been used by other projects, if you delete it some projects will be "
        "disfunctional. Do you want to delete it anyway?";
    f.messages.answer_next(Answer::No);
    EXPECT_FALSE(delete_component(obras, 2, f.projects, f.messages));
    EXPECT_EQ(obras(1, 2), "Tank");
    f.messages.answer_next(Answer::Yes);
    EXPECT_TRUE(delete_component(obras, 2, f.projects, f.messages));
    EXPECT_EQ(obras(1, 2), "Tap");
    EXPECT_EQ(f.messages.records(), (std::vector<MessageRecord>{{"question", "warning", question},
                                                                {"question", "warning", question}}));
    EXPECT_FALSE(delete_component(obras, 1, f.projects, f.messages));  // header row
}

TEST(Catalogues, MissingBillAsksTheQuestion) {
    Fixture f;
    load_catalogues(f.doc);
    std::filesystem::remove(f.files / "tap.csv");
    f.messages.answer_next(Answer::Yes);
    EXPECT_EQ(check_component_bills(f.doc, f.messages), std::vector<int>{2});
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{"The component file of \"Tap\" has not been found. Would "
                                                           "you like to enter the data right now?"});
}

TEST(Catalogues, CommunityListWorkingCopy) {
    Fixture f;
    f.write("aportesm.cst", {"2002", "9999"});
    CommunityListEditor editor;
    editor.open(f.files);
    EXPECT_EQ(editor.shown(), std::vector<std::string>{"Sand"});  // 9999 not shown but kept
    auto steel = editor.filtered("STEEL");
    ASSERT_EQ(steel.size(), 1u);
    EXPECT_EQ(steel[0].code, "2001");
    EXPECT_EQ(editor.filtered("").size(), 12u);
    EXPECT_FALSE(editor.add({"2002", "Sand"}));  // already listed
    EXPECT_TRUE(editor.add(steel[0]));
    editor.remove(0);
    EXPECT_EQ(editor.codes(), (std::vector<std::string>{"9999", "2001"}));
    editor.save(f.files);
    EXPECT_EQ(textfile::read_lines(f.files / "aportesm.cst"), (std::vector<std::string>{"9999", "2001"}));
    f.write("aportesm.cst", {"x"});
    editor.open(f.files);
    EXPECT_THROW(editor.add(steel[0]), ConversionError);
}

TEST(Catalogues, BillLinesFromThePicker) {
    Fixture f;
    Grid bill(4, 1);
    bill.set_row(0, {"Code", "Description", "Unit", "Quantity"});
    for (const char* bad : {"", "0", "-2", "x"}) EXPECT_FALSE(add_bill_line(bill, bad, "2002", "Sand", "m3", f.messages));
    EXPECT_EQ(f.messages.records(),
              std::vector<MessageRecord>(4, MessageRecord{"warning", "Warning", "A quantity must be entered"}));
    EXPECT_TRUE(add_bill_line(bill, "1.50", "2002", "Sand", "m3", f.messages));
    EXPECT_EQ(bill.row_count(), 2);
    EXPECT_EQ(bill.row(1), (std::vector<std::string>{"Sand", "m3", "1.5", "2002"}));
    start_component_bill(bill, f.files / "new.csv");
    EXPECT_EQ(textfile::read_lines(f.files / "new.csv"), std::vector<std::string>{"Code,Description,Unit,Quantity"});
}

TEST(Catalogues, EditorsAskBeforeWritingTheirFile) {
    struct Case {
        const char* question;
        const char* file;
    };
    const Case cases[] = {
        {"The materials list has changed. Any changes migth affect the budget calculations. Would you like to "
         "continue?",
         "precios.csv"},
        {"The list of system works has changed, any changes might affect any project. Would you like no save the "
         "changes?",
         "obras.csv"},
        {"The data for skilled labor has changed. Would you like to save the changes?", "moe.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Fixture f;
        load_catalogues(f.doc);
        Grid table;
        table.load_lines({"new,table", "x,y"}, 0, commatext::Dialect::CommasOnly);
        auto close = [&](bool changed) {
            std::string name = c.file;
            if (name == "precios.csv") return close_materials_editor(f.doc, table, changed, f.messages);
            if (name == "obras.csv") return close_components_editor(f.doc, table, changed, f.messages);
            return close_benefits_window(table, changed, f.files, f.messages);
        };
        auto before = textfile::read_bytes(f.files / c.file);
        EXPECT_FALSE(close(false));
        EXPECT_TRUE(f.messages.records().empty());
        f.messages.answer_next(Answer::No);
        EXPECT_FALSE(close(true));
        EXPECT_EQ(textfile::read_bytes(f.files / c.file), before);
        f.messages.answer_next(Answer::Yes);
        EXPECT_TRUE(close(true));
        EXPECT_EQ(textfile::read_lines(f.files / c.file), (std::vector<std::string>{"new,table", "x,y"}));
        EXPECT_EQ(f.messages.texts(), (std::vector<std::string>{c.question, c.question}));
        if (std::string(c.file) == "obras.csv") {
            EXPECT_EQ(f.doc.SGlistaobras(0, 1), "x");
        }
        if (std::string(c.file) == "precios.csv") {
            EXPECT_EQ(f.doc.SGprecios(0, 1), "x");
        }
    }
}

}  // namespace
}  // namespace velmora::budget

#include "budget/engine/project.h"
#include "budget/engine/transport.h"
#include "budget/tests/fixture.h"
#include "common/errors.h"

#include <gtest/gtest.h>

namespace velmora::budget {
namespace {

namespace fs = std::filesystem;
using testing::Fixture;
using Row = std::vector<std::string>;

TEST(Transport, QuantitiesFromBillsArePerUnitTimesQuantityRoundedUp) {
    struct Case {
        const char* tank_units;
        const char* tap_units;
        Row quantities;
    };
    // Tank per unit: 5 sacks of cement, 0.35 m3 of sand, 0.2 of boulders,
    // 0.1 of gravel, 0.5 steel bar (5 kg); tap: 1 sack, 2 steel bars.
    const Case cases[] = {
        // 15 sacks; sand 1.05 -> 2; boulders 0.6 -> 1; gravel 0.3 -> 1; 7.5 kg -> 8.
        {"3", "0", {"Quantity", "15", "1", "1", "2", "0", "8", "------"}},
        // Cement 15 + 2; steel 7.5 + 20 kg; cement itself has no weight.
        {"3", "2", {"Quantity", "17", "1", "1", "2", "0", "28", "------"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tap_units);
        Fixture f;
        f.write_bill("tank.csv", {"h", "Cement,Sack,5,2004", "Sand,m3,0.35,2002", "Boulders,m3,0.2,2011",
                                  "Gravel,m3,0.1,2012", "\"Steel bar\",bar,0.5,2001", "\"Skilled labor\",day,2,7001"});
        f.start();
        f.set_quantity(1, c.tank_units);
        f.set_quantity(2, c.tap_units);
        transport_tab_shown(f.doc);
        EXPECT_FALSE(f.doc.cambio_materiales);
        EXPECT_EQ(f.doc.SG7.column(2), c.quantities);
    }
}

TEST(Transport, PipeBulkVolume) {
    struct Case {
        const char* name;
        std::string main_length, dist_length, households, expected;
    };
    const Case cases[] = {
        {"2 in x 100 m with 10 connections: 407.5 k", "", "100", "10", "1"},
        {"985 m of 2 in: 2.0018 m3 with 0.7875", "985", "", "", "3"},
        {"984 m of 2 in: 1.9997 m3", "984", "", "", "2"},
        {"3000 connections count 3 m of 0.5 in each: 2254 k", "", "1", "3000", "2"},
        {"connections on a row without length do not count", "", "", "400", "0"},
        {"no pipes", "", "", "", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.start();
        f.doc.SG4.set_cell(2, 1, c.main_length);
        f.doc.SG5.set_cell(2, 1, c.dist_length);
        f.doc.SG5.set_cell(3, 1, c.households);
        transporte(f.doc);
        EXPECT_EQ(f.doc.SG7(2, 5), c.expected);
    }
    EXPECT_NEAR(407.5 * kPipeBulk, 0.207, 0.0005);
}

TEST(Transport, TripTotals) {
    Fixture f;
    f.start();
    Grid& t = f.doc.SG7;
    t.set_cell(3, 1, "2");
    t.set_cell(4, 1, "50");
    t.set_cell(5, 1, "1");
    t.set_cell(6, 1, "120");
    t.set_cell(3, 4, "1.5");
    t.set_cell(4, 4, "10");
    t.set_cell(6, 4, "x");  // not a number: 0
    table_edited(f.doc, ProjectTable::SG7);
    EXPECT_EQ(t(7, 1), "220");
    EXPECT_EQ(t(7, 4), "15");
    EXPECT_EQ(t(7, 2), "0");
    EXPECT_EQ(t.row(7), (Row{"Total", "------", "------", "3.5", "", "1", "", "235"}));
    EXPECT_FALSE(f.doc.saved);
    EXPECT_TRUE(f.doc.report_outdated);
}

TEST(Transport, NumbersUseTheDocumentsDecimalSeparator) {
    Fixture f;
    f.start();
    f.doc.decimal_separator = ',';
    f.doc.SG7.set_cell(3, 1, "1,5");
    f.doc.SG7.set_cell(4, 1, "3");
    f.doc.SG7.set_cell(3, 2, "1.5");  // not a number with ","
    f.doc.SG7.set_cell(4, 2, "3");
    table_edited(f.doc, ProjectTable::SG7);
    EXPECT_EQ(f.doc.SG7(7, 1), "4,5");
    EXPECT_EQ(f.doc.SG7(7, 2), "0");
    EXPECT_EQ(f.doc.SG7(3, 7), "1,5");
}

TEST(Transport, AnOpenedProjectKeepsItsQuantitiesUntilAnEdit) {
    Fixture f;
    f.start();
    f.doc.SG7.set_cell(2, 1, "99");
    transport_tab_shown(f.doc);
    EXPECT_EQ(f.doc.SG7(2, 1), "99");
    f.set_quantity(1, "1");
    transport_tab_shown(f.doc);
    EXPECT_EQ(f.doc.SG7(2, 1), "5");
}

TEST(Transport, AMissingBillStopsWithoutWriting) {
    Fixture f;
    f.start();
    f.set_quantity(1, "1");
    f.set_quantity(2, "1");
    fs::remove(f.files / "tap.csv");
    EXPECT_THROW(transporte(f.doc), FileError);
    EXPECT_EQ(f.doc.SG7(2, 1), "");
}

TEST(Transport, CommunityListRows) {
    Fixture f;
    f.write("aportesm.cst", {"2004", "9999", "2002"});
    f.start();
    EXPECT_EQ(f.doc.SG6.row_count(), 4);
    EXPECT_EQ(f.doc.SG6.row(1), (Row{"2004", "Cement", "100"}));
    EXPECT_EQ(f.doc.SG6.row(2), (Row{"", "", ""}));
    EXPECT_EQ(f.doc.SG6.row(3), (Row{"2002", "Sand", "100"}));
    EXPECT_EQ(f.messages.records(), (std::vector<MessageRecord>{{"notice", "", "The code 9999 is not listed"}}));
    EXPECT_EQ(f.doc.codigoaportecomunal, (Row{"2004", "9999", "2002"}));
    f.write("aportesm.cst", {"2001"});
    community_list_closed(f.doc, f.messages);
    EXPECT_EQ(f.doc.SG6.row_count(), 2);
    EXPECT_EQ(f.doc.SG6.row(1), (Row{"2001", "Steel bar", "100"}));
    EXPECT_TRUE(f.doc.save_menu_enabled);
}

}  // namespace
}  // namespace velmora::budget

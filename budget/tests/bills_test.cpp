#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "budget/tests/fixture.h"
#include "common/errors.h"

#include <gtest/gtest.h>

namespace velmora::budget {
namespace {

using testing::Fixture;
using Row = std::vector<std::string>;

// Tap: 1 inlet with 1 valve; Tank: 1 inlet (valve, elbow) and 1 outlet (valve).
void fittings_project(Fixture& f, const std::string& tap_units, const std::string& tank_units) {
    f.write("obras.csv", {"h", "h", "1,Tank,1,1,1,0,1,1,0,tank.csv,unit", "2,Tap,1,0,0,0,1,0,0,tap.csv,unit",
                          "3,Fence,0,0,0,0,0,0,0,fence.csv,m"});
    f.start();
    f.set_quantity(1, tank_units);
    f.set_quantity(2, tap_units);
    for (int r = 1; r < f.doc.SG3.row_count(); ++r) {
        f.doc.SG3.set_cell(2, r, "2");
        if (f.doc.SG3(3, r) != "-----") f.doc.SG3.set_cell(3, r, "2");
    }
}

Row quantities(const Grid& boq) {
    Row out;
    for (int r = 1; r < boq.row_count(); ++r) out.push_back(boq(0, r) + " = " + boq(2, r));
    return out;
}

TEST(Bills, ValvesAndValveFittingsPerUnitAndInTotal) {
    Fixture f;
    fittings_project(f, "2", "0");
    rebuild_report(f.doc);
    const Grid& c = f.doc.SG16;
    ASSERT_EQ(c.row_count(), 9);  // the last separator is not shown
    EXPECT_EQ(c.row(0), (Row{"Material/component", "Unit", "Quantity", "U.P.", "Total"}));
    EXPECT_EQ(c.row(1), (Row{"TAP", "UNIT", "2", "-----", "-----"}));
    EXPECT_EQ(c.row(2), (Row{"Cement", "Sack", "1", "8", "8"}));
    EXPECT_EQ(c.row(3), (Row{"Steel bar", "bar", "2", "6", "12"}));
    EXPECT_EQ(c.row(4), (Row{"Cost per unit", "------", "------", "------", "20"}));
    for (int unit : {5, 7}) {
        EXPECT_EQ(c.row(unit), (Row{"Gate valve 2 in (inlet)", "unit", "1", "40", "40"}));
        EXPECT_EQ(c.row(unit + 1), (Row{"Male adapter 2 in (inlet)", "unit", "2", "3", "6"}));
    }
    EXPECT_EQ(highlighted_rows(f.doc, c), std::vector<int>{1});
    EXPECT_EQ(quantities(f.doc.SG17),
              (Row{"Gate valve 2 in = 2", "Male adapter 2 in = 4", "Steel bar = 4", "Cement = 2"}));
}

TEST(Bills, InletAndOutletFittingsOfOneUnit) {
    Fixture f;
    fittings_project(f, "0", "1");
    rebuild_report(f.doc);
    const Grid& c = f.doc.SG16;
    Row names;
    EXPECT_EQ(c.row(6), (Row{"Cost per unit", "------", "------", "------", "470"}));  // labour lines are costed too
    for (int r = 7; r < c.row_count(); ++r) names.push_back(c(0, r) + " x" + c(2, r));
    EXPECT_EQ(names, (Row{"Gate valve 2 in (inlet) x1", "Ball valve 2 in (outlet) x1", "Male adapter 2 in (inlet) x2",
                          "Male adapter 2 in (outlet) x2", "Elbow 2 in (inlet) x1"}));
    // Sand and cement from the bill; labour never appears.
    EXPECT_EQ(quantities(f.doc.SG17), (Row{"Gate valve 2 in = 1", "Ball valve 2 in = 1", "Male adapter 2 in = 4",
                                           "Elbow 2 in = 1", "Sand = 3", "Cement = 5"}));
}

TEST(Bills, DiametersAreComparedAsText) {
    Fixture f;
    fittings_project(f, "1", "0");
    f.doc.SG3.set_cell(2, 1, "2.0");
    rebuild_report(f.doc);
    EXPECT_EQ(f.doc.SG16(0, 4), "Cost per unit");
    EXPECT_EQ(f.doc.SG16.row_count(), 5);
    EXPECT_EQ(quantities(f.doc.SG17), (Row{"Steel bar = 2", "Cement = 1"}));
}

TEST(Bills, HouseholdConnectionsAndPipes) {
    Fixture f;
    f.start();
    int small = f.pipe_row(f.doc.SG5, "6002");
    int large = f.pipe_row(f.doc.SG5, "6001");
    f.doc.SG5.set_cell(3, small, "12");
    f.doc.SG5.set_cell(2, large, "250");
    f.doc.SG5.set_cell(3, large, "5");  // 2 in pipe: not the saddle's diameter
    f.doc.SG4.set_cell(2, large, "100");
    rebuild_report(f.doc);
    EXPECT_EQ(quantities(f.doc.SG17), (Row{"Saddle clamp 0.5 in = 12", "PVC pipe 2 in = 350"}));
}

TEST(Bills, AMalformedBillLineStopsWithAConversionError) {
    Fixture f;
    f.write_bill("tap.csv", {"h", "Cement,Sack,abc,2004"});
    f.start();
    f.set_quantity(2, "1");
    try {
        rebuild_report(f.doc);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value (bill file \"tap.csv\", row 1)");
    }
    EXPECT_EQ(f.doc.SG16(0, 1), "TAP");
    f.write_bill("tap.csv", {"h", "Cement,Sack,1,20x4"});
    EXPECT_THROW(rebuild_report(f.doc), ConversionError);
}

}  // namespace
}  // namespace velmora::budget

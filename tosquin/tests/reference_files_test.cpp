#include "tosquin/tests/fixture.h"

#include "common/errors.h"
#include "common/textfile.h"
#include "tosquin/engine/catalogue.h"
#include "tosquin/engine/predetermined.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace velmora::tosquin::testing {
namespace {

namespace fs = std::filesystem;
using numtext::format_general;

TEST(LeerarchivosTest, EmptyFolderGetsTheDefaultFiles) {
    Fixture f(false);
    leerarchivos(f.doc);
    EXPECT_EQ(textfile::read_lines(f.dir / "qtx.min"), (std::vector<std::string>{"250", "0.75"}));
    auto units = textfile::read_lines(f.dir / "units.qtx");
    ASSERT_EQ(units.size(), 8u);
    EXPECT_EQ(units[0], "\"Quantity measured\",Unit,Symbol");
    EXPECT_EQ(units[3], "\"Nominal Diameter (ND)\",inch,\"\"\"\"");
    EXPECT_EQ(f.doc.ref.presioninicial, 250);
    EXPECT_EQ(f.doc.ref.diametrominimo, 0.75);
    const UnitSymbols& u = f.doc.ref.units;
    EXPECT_EQ(std::vector<std::string>({u.length, u.internal_diameter, u.nominal_diameter, u.pressure, u.head_loss,
                                        u.velocity, u.flow}),
              std::vector<std::string>({"m", "mm", "\"", "PSI", "m", "m/s", "l/s"}));
    EXPECT_EQ(f.doc.ref.catalogo.row_count(), 1);  // no catalogue: left as it was
    EXPECT_EQ(f.doc.ref.moneda, "");
}

TEST(LeerarchivosTest, FirstInstanceDiametersOnceInCatalogueOrder) {
    Fixture f;
    leerarchivos(f.doc);
    leerarchivos(f.doc);
    const Grid& c = f.doc.ref.catalogo;
    std::vector<std::string> expected_ld, expected_ldn;
    for (int r = 1; r < c.row_count(); ++r)
        if (c(3, r) == "250") expected_ld.push_back(c(4, r)), expected_ldn.push_back(c(2, r));
    EXPECT_EQ(f.doc.ref.ld, expected_ld);
    EXPECT_EQ(f.doc.ref.ldn, expected_ldn);
    EXPECT_EQ(f.doc.ref.moneda, "$");
    EXPECT_EQ(f.doc.ref.preciocaja, 850);
}

// The shipped catalogue is what the design relies on: the same classes in
// ascending order for every diameter, the pressure columns converted from
// PSI, internal diameters growing with the diameter.
TEST(ShippedDataTest, CatalogueIsConsistent) {
    Fixture f;
    const Grid& c = f.doc.ref.catalogo;
    std::vector<std::string> classes;
    std::string nd;
    std::vector<std::vector<std::string>> per_diameter;
    for (int r = 1; r < c.row_count(); ++r) {
        if (c(2, r) != nd) {
            nd = c(2, r);
            per_diameter.emplace_back();
        }
        per_diameter.back().push_back(c(3, r));
        double psi = numtext::read_strict(c(3, r));
        EXPECT_EQ(c(7, r), format_general(psi_to_kgcm2(psi))) << r;
        EXPECT_EQ(c(8, r), format_general(psi_to_bar(psi))) << r;
        EXPECT_EQ(c(9, r), format_general(psi_to_mpa(psi))) << r;
        EXPECT_EQ(c(0, r), std::to_string(r));
        EXPECT_EQ(c(2, r), format_general(numtext::read_strict(c(2, r))));  // shortest form
    }
    ASSERT_GE(per_diameter.size(), 6u);
    for (const auto& wp : per_diameter) {
        EXPECT_EQ(wp, per_diameter.front());
        EXPECT_TRUE(std::is_sorted(wp.begin(), wp.end(),
                                   [](auto& a, auto& b) { return numtext::read_strict(a) < numtext::read_strict(b); }));
    }
    for (size_t i = 1; i < f.doc.ref.ld.size(); ++i)
        EXPECT_LT(numtext::read_strict(f.doc.ref.ld[i - 1]), numtext::read_strict(f.doc.ref.ld[i]));
}

TEST(ShippedDataTest, PressureTableIsLoadFromFileAt80Percent) {
    Fixture f;
    auto shipped = f.doc.ref.presiones.to_lines();
    load_pressures_from_catalogue(f.doc, 80);
    EXPECT_EQ(f.doc.ref.presiones.to_lines(), shipped);
    EXPECT_EQ(textfile::read_lines(kShipped / "pressures.csv"), shipped);
}

TEST(CatalogueTest, PressureUnitConversions) {
    EXPECT_EQ(format_general(psi_to_kgcm2(160)), "11.27");
    EXPECT_EQ(format_general(psi_to_bar(160)), "11.03");
    EXPECT_EQ(format_general(psi_to_mpa(160)), "1.1");
    EXPECT_EQ(format_general(bar_to_psi(11.03)), "160");
    EXPECT_EQ(format_general(mpa_to_psi(1.1)), "160");
    EXPECT_EQ(format_general(kgcm2_to_psi(11.27)), "159.96");

    struct Case {
        int col;
        std::string typed;
        std::vector<std::string> psi_kg_bar_mpa;
    } cases[] = {
        {3, "160", {"160", "11.27", "11.03", "1.1"}},
        {8, "11.03", {"160", "11.27", "11.03", "1.1"}},
        {9, "1.1", {"160", "11.27", "11.03", "1.1"}},
        {7, "11.27", {"159.96", "11.27", "11.02", "1.1"}},
        {3, "abc", {"abc", "0", "0", "0"}},
    };
    for (const auto& c : cases) {
        Grid g(10, 2);
        g.set_cell(c.col, 1, c.typed);
        convert_pressures(g, c.col, 1);
        EXPECT_EQ(std::vector<std::string>({g(3, 1), g(7, 1), g(8, 1), g(9, 1)}), c.psi_kg_bar_mpa) << c.typed;
    }
}

TEST(LoadFromFileTest, OneClassPerTypeAndPressure) {
    Fixture f(false);
    textfile::write_lines(f.dir / "pipes.csv", {"No,Type,ND,WP,ID,Price,mm,kg,bar,mpa", "1,PVC,1,160,30,1,25,,,",
                                                "2,PVC,2,160,55,2,50,,,", "3,GI,2,160,52,5,50,,,",
                                                "4,PE,2,125,50,3,50,,,", "5,XX,3,200,80,9,80,,,"});
    leerarchivos(f.doc);
    load_pressures_from_catalogue(f.doc, 80);
    std::vector<std::string> expected{"Type,WP,\"Designing P [PSI]\",HWC", "PVC,160,89,150", "GI,160,89,100",
                                      "PE,125,70,155", "XX,200,112,155"};
    EXPECT_EQ(f.doc.ref.presiones.to_lines(), expected);
}

TEST(LeerarchivosTest, MalformedFilesAreNamedAndNothingChanges) {
    struct Case {
        const char* file;
        std::vector<std::string> lines;
        std::string fragment;
    } cases[] = {
        {"pipes.csv", {"No,Type,ND,WP,ID,Price", "1,PVC,2,160,fifty,2"}, "internal diameter 'fifty'"},
        {"pipes.csv", {"No,Type,ND,WP,ID,Price", "1,PVC,2\",160,50,2"}, "nominal diameter"},
        {"pressures.csv", {"Type,WP,P,HWC", "PVC,160,89.5,150"}, "design pressure '89.5'"},
        {"pressures.csv", {"Type,WP,P,HWC", "PVC,160,89,rough"}, "HWC 'rough'"},
        {"qtx.min", {"250 PSI", "0.75"}, "line 1"},
        {"qtx.min", {"250"}, "line 2"},
        {"prices.qtx", {"$", "850", "a lot", "280"}, "line 3"},
        {"units.qtx", {"Quantity measured,Unit,Symbol", "Length (L),meter,m"}, "8 lines"},
    };
    for (const auto& c : cases) {
        Fixture f;
        const Grid catalogue = f.doc.ref.catalogo;
        const Grid pressures = f.doc.ref.presiones;
        textfile::write_lines(f.dir / c.file, c.lines);
        std::map<std::string, std::string> before;
        for (const auto& e : fs::directory_iterator(f.dir.path()))
            before[e.path().filename().string()] = textfile::read_bytes(e.path());
        try {
            leerarchivos(f.doc);
            ADD_FAILURE() << c.file << " accepted";
        } catch (const FileError& e) {
            std::string m = e.what();
            EXPECT_NE(m.find(c.file), std::string::npos) << m;
            EXPECT_NE(m.find(c.fragment), std::string::npos) << m;
        }
        EXPECT_EQ(f.doc.ref.catalogo.to_lines(), catalogue.to_lines()) << c.file;
        EXPECT_EQ(f.doc.ref.presiones.to_lines(), pressures.to_lines()) << c.file;
        std::map<std::string, std::string> after;
        for (const auto& e : fs::directory_iterator(f.dir.path()))
            after[e.path().filename().string()] = textfile::read_bytes(e.path());
        EXPECT_EQ(after, before) << c.file;
    }
}

TEST(OptionsTest, OkSavesOnlyChangedPagesWhoseFileExists) {
    Fixture f;
    fs::remove(f.dir / "prices.qtx");
    OptionsWindow w = open_options(f.doc);
    choose_pressure_unit(f.doc, w, 2);
    EXPECT_EQ(f.doc.ref.unidades(2, 4), "Bar");
    EXPECT_EQ(f.doc.ref.unidades(1, 4), "atmosphere");
    show_minimum_diameter_page(f.doc, w);
    EXPECT_EQ(w.pressure_box, "125");
    EXPECT_EQ(w.diameter_items.front(), "0.5");
    w.pressure_box = "200";
    w.diameter_box = "1";
    w.cambio3 = true;
    w.cambio4 = true;
    w.prices[0] = "900";
    f.messages.answer_next(Answer::Yes);
    f.messages.answer_next(Answer::No);
    f.messages.answer_next(Answer::Yes);
    options_ok(f.doc, w, f.messages);
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{
                  "The data has changed. Do you want to save the changes?",
                  "The design parameters have changed which will affect all the project\xC2\xB4s designs. Would you "
                  "like to save the changes",
                  "The data has changed. Would you like to save the changes?"}));
    EXPECT_EQ(textfile::read_lines(f.dir / "units.qtx")[4], "\"Working Pressure (P)\",atmosphere,Bar");
    EXPECT_EQ(textfile::read_lines(f.dir / "qtx.min"), (std::vector<std::string>{"250", "0.75"}));  // answered No
    EXPECT_FALSE(fs::exists(f.dir / "prices.qtx"));  // never created
}

TEST(PredeterminedTest, DiameterDialogChecks) {
    Fixture f;
    f.profile(falling_line(3000, 150, 100), 2, 5);
    f.box(1500);
    open_predetermined_diameters(f.doc);
    Grid& g = f.doc.predeterminados;
    EXPECT_EQ(g.row_count(), 3);
    EXPECT_EQ(g.row(1, 0, 2), (std::vector<std::string>{"0", "0.00"}));
    EXPECT_EQ(g.row(2, 0, 2), (std::vector<std::string>{"1", "1500.00"}));
    auto lists = diameter_lists(f.doc.ref);
    EXPECT_EQ(lists.dpul.front(), "0.5");
    EXPECT_EQ(lists.dmm.front(), "15");
    struct Case {
        std::vector<std::string> row1, row2;
        std::string ok_message;
    } cases[] = {
        {{"", "", "", ""}, {"", "", "", ""}, ""},
        {{"200", "2", "50"}, {"", "", ""}, ""},
        {{"200", "", ""}, {"", "", ""}, kIncompleteData},
        {{"", "2", "50"}, {"", "", ""}, kIncompleteData},
        {{"1500", "2", "50"}, {"", "", ""}, kBeyondBox},
        {{"1499.9", "2", "50"}, {"3000", "2", "50"}, kBeyondBox},
        {{"1499.9", "2", "50"}, {"2999", "2", "50"}, ""},
    };
    for (const auto& c : cases) {
        g.set_row(1, c.row1, 2);
        g.set_row(2, c.row2, 2);
        EXPECT_EQ(check_predetermined_diameters(f.doc), c.ok_message) << c.row1[0] << "/" << c.row2[0];
    }
    g.set_row(1, {"", "2", "50"}, 2);
    predetermined_key_released(f.doc, 1);
    EXPECT_EQ(g.row(1, 2, 3), (std::vector<std::string>{"", "", ""}));
    pick_predetermined_diameter(f.doc, lists, 3, 1, 5);
    EXPECT_EQ(g.row(1, 3, 2), (std::vector<std::string>{lists.dpul[5], lists.dmm[5]}));
}

TEST(PredeterminedTest, SectionsDialogCompletionAndChecks) {
    Fixture f;
    Grid& c = f.doc.ref.catalogo;
    c.set_row(3, {"3", "GI", "0.5", "300"});
    std::string prefix = type_in_fixed_section(f.doc, 2, 1, "", 'g');
    EXPECT_EQ(prefix, "g");
    EXPECT_EQ(f.doc.tramosfijos.row(1, 2, 2), (std::vector<std::string>{"GI", "300"}));
    prefix = type_in_fixed_section(f.doc, 2, 1, "", 'p');
    EXPECT_EQ(f.doc.tramosfijos.row(1, 2, 2), (std::vector<std::string>{"PVC", "125"}));
    EXPECT_EQ(type_in_fixed_section(f.doc, 2, 1, prefix, 'z'), "");
    EXPECT_EQ(f.doc.tramosfijos(2, 1), "");
    prefix = type_in_fixed_section(f.doc, 3, 2, "", '2');
    EXPECT_EQ(f.doc.tramosfijos.row(2, 2, 2), (std::vector<std::string>{"PVC", "250"}));
    EXPECT_EQ(type_in_fixed_section(f.doc, 3, 2, prefix, '5'), "25");
    EXPECT_EQ(f.doc.tramosfijos(3, 2), "250");
    EXPECT_EQ(type_in_fixed_section(f.doc, 3, 2, "25", '1'), "1");  // restarts from the last character
    EXPECT_EQ(f.doc.tramosfijos(3, 2), "125");
    EXPECT_EQ(type_in_fixed_section(f.doc, 3, 2, "1", 'x'), "");

    f.doc.tramosfijos.clear_rows_from(1);
    f.doc.tramosfijos.set_row(1, {"100", "300", "PVC", "160"});
    EXPECT_EQ(check_fixed_sections(f.doc), "");
    f.doc.tramosfijos.set_row(2, {"400", "", "PVC", "160"});
    EXPECT_EQ(check_fixed_sections(f.doc), kIncompleteData);
    EXPECT_EQ(close_fixed_sections(f.doc), "");
    f.doc.tramosfijos.set_row(2, {"400", "500", "PVC", ""});
    EXPECT_EQ(close_fixed_sections(f.doc), kIncompleteData);
    EXPECT_EQ(count_fixed_sections(f.doc), 2);
    delete_fixed_section(f.doc, 1);
    EXPECT_EQ(f.doc.tramosfijos(0, 1), "400");
    EXPECT_EQ(f.doc.tramosfijos.row_count(), 100);
    EXPECT_EQ(count_fixed_sections(f.doc), 1);
}

}  // namespace
}  // namespace velmora::tosquin::testing

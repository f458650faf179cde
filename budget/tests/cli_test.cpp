// The `velmora budget report` command and the shipped catalogue set.
#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "budget/tests/fixture.h"
#include "common/textfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::budget {
namespace {

namespace fs = std::filesystem;
using testing::Fixture;

const char* kSheets[] = {"Components", "Main Pipeline", "Distribution Network", "Budget",
                         "Funding", "Bill per component", "Bill of quantities"};

struct CliRun {
    int status;
    std::string err;
};

CliRun run(const std::string& args, const fs::path& scratch) {
    fs::path err = scratch / "stderr.txt";
    std::string cmd = std::string("\"") + VELMORA_CLI + "\" budget " + args + " >/dev/null 2>\"" + err.string() + "\"";
    int rc = std::system(cmd.c_str());
    std::string text = fs::exists(err) ? textfile::read_bytes(err) : "";
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, text};
}

std::string q(const fs::path& p) { return "\"" + p.string() + "\""; }

// A saved fixture project with priced components and pipes.
fs::path saved_project(Fixture& f) {
    f.start();
    f.doc.SG1.set_cell(1, 0, "Los Pinos");
    f.set_quantity(1, "2");
    f.set_quantity(2, "3");
    for (int r = 1; r < f.doc.SG3.row_count(); ++r)
        for (int c = 2; c < f.doc.SG3.col_count(); ++c)
            if (f.doc.SG3(c, r) != "-----") f.doc.SG3.set_cell(c, r, "2");
    f.doc.SG4.set_cell(2, 1, "120.5");
    f.doc.SG5.set_cell(2, 2, "80");
    f.doc.SG5.set_cell(3, 2, "7");
    f.doc.SG8.set_cell(2, 2, "3");
    fs::path bfl = f.projects / "pinos.bfl";
    salvarproyecto(f.doc, bfl);
    return bfl;
}

TEST(Cli, ReportWritesEveryReportTable) {
    Fixture f;
    fs::path bfl = saved_project(f);
    fs::path out = f.dir / "out";
    CliRun r = run("report " + q(bfl) + " --data " + q(f.files) + " --csv-dir " + q(out) + " --xlsx " +
                    q(f.dir / "r.xlsx"),
                f.dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // The same project priced in process.
    Fixture g;
    g.start();
    cargarproyecto(g.doc, bfl);
    rebuild_report(g.doc);
    const Grid* tables[] = {&g.doc.SG11, &g.doc.SG12, &g.doc.SG13, &g.doc.SG14,
                            &g.doc.SG15, &g.doc.SG16, &g.doc.SG17};
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(kSheets[k]);
        EXPECT_EQ(textfile::read_lines(out / (std::string(kSheets[k]) + ".csv")), tables[k]->to_lines());
    }
    // The opened diameters price the fittings without any edit: the tank's
    // inlet valve once per unit.
    EXPECT_EQ(g.doc.SG17.row(1), (std::vector<std::string>{"Gate valve 2 in", "unit", "2"}));
    EXPECT_EQ(textfile::read_bytes(f.dir / "r.xlsx").substr(0, 2), "PK");
}

TEST(Cli, FailuresAndExitStatus) {
    Fixture f;
    fs::path bfl = saved_project(f);
    fs::path out = f.dir / "out";
    std::string tail = " --data " + q(f.files) + " --csv-dir " + q(out);

    EXPECT_EQ(run("report " + q(f.projects / "none.bfl") + tail, f.dir.path()).status, 2);
    EXPECT_EQ(run("report " + q(bfl) + " --csv-dir " + q(out), f.dir.path()).status, 2);
    EXPECT_EQ(run("print " + q(bfl) + tail, f.dir.path()).status, 2);

    fs::remove(f.files / "tap.csv");
    CliRun missing = run("report " + q(bfl) + tail, f.dir.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("Warning: The component file of \"Tap\" has not been found. Would you like to enter the "
                                "data right now?\nError: ",
                                0),
              0u)
        << missing.err;
    EXPECT_FALSE(fs::exists(out / "Budget.csv"));

    f.write_bill("tap.csv", {"h", "Cement,Sack,one,2004"});
    CliRun malformed = run("report " + q(bfl) + tail, f.dir.path());
    EXPECT_EQ(malformed.status, 1);
    EXPECT_EQ(malformed.err, "Error: 'one' is not a valid floating point value (bill file \"tap.csv\", row 1)\n");

    fs::remove(f.files / "precios.csv");
    EXPECT_EQ(run("report " + q(bfl) + tail, f.dir.path()).status, 2);
}

TEST(ShippedData, CataloguesAreCoherentAndTheExamplePrices) {
    fs::path data = BUDGET_DATA_DIR;
    Document doc;
    doc.files_dir = data;
    load_catalogues(doc);
    auto has = [&](long long lo, long long hi) {
        for (int r = kFirstPriceRow; r < doc.SGprecios.row_count(); ++r) {
            long long c = int_or_zero(doc.SGprecios(0, r));
            if (c > lo && c < hi) return true;
        }
        return false;
    };
    for (auto [lo, hi] : std::vector<std::pair<long long, long long>>{
             {1500, 1600}, {1600, 1700}, {1700, 1800}, {1800, 1900}, {1900, 2000}, {2001, 2003}, {2003, 2005},
             {2010, 2012}, {2011, 2013}, {6000, 7000}, {7000, 7002}, {7001, 7003}})
        EXPECT_TRUE(has(lo, hi)) << lo << ".." << hi;
    EXPECT_GE(doc.obra.size(), 6u);
    EXPECT_LE(doc.obra.size(), 9u);
    for (size_t i = 1; i < doc.archivo.size(); ++i) {
        Grid bill = read_table_file(data / doc.archivo[i]);
        for (int l = 1; l < bill.row_count(); ++l)
            EXPECT_TRUE(find_price_row(doc, bill(3, l)).has_value()) << doc.archivo[i] << " " << bill(3, l);
    }
    Grid moe = read_table_file(data / "moe.csv");
    Grid recomputed = moe;
    recompute_benefits(recomputed);
    EXPECT_EQ(recomputed.to_lines(), moe.to_lines());

    fs::path out = fs::temp_directory_path() / ("velmora-budget-shipped-" + std::to_string(::getpid()));
    CliRun r = run("report " + q(data / "examples" / "los_pinos.bfl") + " --data " + q(data) + " --csv-dir " + q(out),
                fs::temp_directory_path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");  // every bill present, every community code listed
    auto budget = textfile::read_lines(out / "Budget.csv");
    ASSERT_FALSE(budget.empty());
    EXPECT_EQ(budget.back().rfind("Total,-----,-----,-----,", 0), 0u);
    fs::remove_all(out);
}

}  // namespace
}  // namespace velmora::budget

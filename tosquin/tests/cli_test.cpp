#include "tosquin/tests/fixture.h"

#include "common/textfile.h"
#include "tosquin/engine/profile.h"
#include "tosquin/engine/project_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace velmora::tosquin::testing {
namespace {

namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string out, err;
};

CliResult run_cli(const velmora::testing::TempDir& dir, const std::string& args) {
    const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    std::string command = std::string("\"") + VELMORA_BINARY + "\" tosquin " + args + " >\"" + out.string() +
                          "\" 2>\"" + err.string() + "\"";
    int raw = std::system(command.c_str());
    CliResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = textfile::read_bytes(out);
    r.err = textfile::read_bytes(err);
    return r;
}

std::string quoted(const fs::path& p) { return "\"" + p.string() + "\""; }

const fs::path kExample = kShipped / "examples" / "quebrada_honda.lin";

TEST(ExampleProjectTest, IsAFallingLineWithABoxAndTwoValves) {
    Fixture f;
    nuevoproyecto(f.doc);
    open_and_design(f.doc, kExample, f.messages, f.canvas);
    const double length = f.doc.last_distance - f.doc.first_distance;
    const double fall = f.doc.first_elevation - f.doc.last_elevation;
    EXPECT_GE(length, 3000);
    EXPECT_LE(length, 6000);
    EXPECT_GE(fall, 150);
    EXPECT_LE(fall, 250);
    EXPECT_EQ(f.doc.nsecciones, 2);
    EXPECT_EQ(f.doc.nvalvulasaire, 1);
    EXPECT_EQ(f.doc.nvalvulaslavado, 1);
    EXPECT_TRUE(f.messages.records().empty()) << f.messages_text();
    EXPECT_NE(cost_text(f.doc), "");
}

TEST(CliTest, DesignsTheProjectLikeTheEngine) {
    velmora::testing::TempDir dir;
    provision_reference_files(kShipped, dir / "db");
    fs::remove(dir / "db" / "units.qtx");
    CliResult r = run_cli(dir, "calc " + quoted(kExample) + " --data " + quoted(dir / "db") + " --csv " +
                                   quoted(dir / "out.csv"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fs::exists(dir / "db" / "units.qtx"));
    EXPECT_TRUE(fs::exists(dir / "db" / "qtx.min"));

    Fixture f;
    nuevoproyecto(f.doc);
    open_and_design(f.doc, kExample, f.messages, f.canvas);
    EXPECT_EQ(r.out, cost_text(f.doc) + "\n");
    EXPECT_EQ(textfile::read_bytes(dir / "out.csv"), textfile::join_lines(sheet_lines(f.doc)));
    EXPECT_EQ(textfile::read_lines(dir / "out.csv")[0].substr(0, 20), "From,To,\"Dist. [m]\",");
}

TEST(CliTest, ExitStatusAndMessages) {
    velmora::testing::TempDir dir;
    provision_reference_files(kShipped, dir / "db");
    auto write_lin = [&](const std::string& name, const std::vector<std::string>& lines) {
        textfile::write_lines(dir / name, lines);
        return quoted(dir / name);
    };
    const std::string uphill = write_lin("uphill.lin", {"Up", "3", "2", "5", "0", "500", "1000", "900", "950", "1000"});
    const std::string broken = write_lin("broken.lin", {"Broken", "3", "2,5", "5", "0", "500", "1000", "1", "2", "3"});
    const std::string rough =
        write_lin("rough.lin", {"Rough", "4", "3", "5", "0", "10", "1000", "1010", "1000", "870", "869", "868"});
    Grid p = read_table_file(dir / "db" / "pressures.csv", 4);
    p.set_cell(3, p.row_count() - 1, "5");
    fs::create_directories(dir / "rough_db");
    provision_reference_files(kShipped, dir / "rough_db");
    write_table_file(dir / "rough_db" / "pressures.csv", p);
    const std::string db = " --data " + quoted(dir / "db");
    const std::string csv = " --csv " + quoted(dir / "out.csv");
    struct Case {
        std::string args;
        int status;
        std::string err_part;
    } cases[] = {
        {"calc " + uphill + db + csv, 1, "Warning: Section 1 cannot be designed"},
        {"calc " + broken + db + csv, 2, "Error: File \"" + (dir / "broken.lin").string() + "\": line 3"},
        {"calc " + rough + " --data " + quoted(dir / "rough_db") + csv + " --answer no", 1,
         "Warning: The conditions do not allow a design by deafault. Do you want to continue?"},
        {"calc " + quoted(kExample) + db, 2, "--csv"},
        {"calc " + quoted(kExample) + db + " --csv " + quoted(kExample), 2, "project's own files"},
        {"calc " + quoted(kExample) + " --data " + quoted(dir / "missing") + csv, 2, "missing"},
        {"calc " + quoted(dir / "none.lin") + db + csv, 2, "none.lin"},
        {"calc " + quoted(kExample) + db + csv + " --answer maybe", 2, "--answer"},
    };
    for (const auto& c : cases) {
        CliResult r = run_cli(dir, c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.err_part), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(r.out, "") << c.args;
    }
    // Answered Yes, the run goes on with the last stretches.
    CliResult r = run_cli(dir, "calc " + rough + " --data " + quoted(dir / "rough_db") + csv);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Cost $=", 0), 0u);
}

}  // namespace
}  // namespace velmora::tosquin::testing

#pragma once
// A small catalogue folder and a started document, for the budget tests.
//
// Price list (code type description unit price ... diameter weight ... days):
//   1501 valve 2 in 40 | 1601 outlet valve 2 in 30 | 1701 adapter 2 in 3 |
//   1801 elbow 2 in 2.5 | 1901 saddle 0.5 in 4 | 2001 steel bar 6 (5 kg) |
//   2002 sand 10 | 2004 cement 8 (no weight) | 6001 pipe 2 in 3 (0.01/0.05 days) |
//   6002 pipe 0.5 in 1 | 7001 skilled 100 | 7002 unskilled 50
// Works list: 1 Tank (1 inlet, 1 outlet, 1 elbow per inlet, valves 1/1),
//   2 Tap (1 inlet, no valve), 3 Fence (no pipes).
// Benefits: one benefit of x = 5, so B = 0.2. Community list: 2002 (sand).
#include "budget/engine/document.h"
#include "common/ports.h"
#include "common/tests/test_dir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::budget::testing {

class Fixture {
public:
    Fixture();
    void write(const std::string& name, const std::vector<std::string>& lines) const;
    void write_bill(const std::string& name, const std::vector<std::string>& lines) const;
    // inicializardatos and inicializar.
    void start();
    // The quantity of SG2 row `component` (as typed, then released).
    void set_quantity(int component, const std::string& quantity);
    // Row of SG4/SG5 holding the pipe code.
    int pipe_row(const Grid& pipes, const std::string& code) const;

    velmora::testing::TempDir dir;
    std::filesystem::path files;
    std::filesystem::path projects;
    Document doc;
    ScriptedMessages messages;
};

}  // namespace velmora::budget::testing

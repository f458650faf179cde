// Comma text, the line format of every table file: the input is read as a
// file (encoding detection and line splitting), every line is read in both
// dialects, and what the writer makes of the items must read back the same.
#include "fuzz/fuzz_support.h"

#include "common/commatext.h"
#include "common/grid.h"
#include "common/textfile.h"

#include <cstdlib>

using namespace velmora;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::seed_corpus(*argc, *argv, fuzz::data_dir() / "budget" / "precios.csv");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = fuzz::scratch() / "table.csv";
    fuzz::write_file(file, data, size);
    std::vector<std::string> lines;
    if (!fuzz::expect_file_errors([&] { lines = textfile::read_lines(file); })) return 0;
    for (const auto& line : lines) {
        for (auto dialect : {commatext::Dialect::SpacesSeparate, commatext::Dialect::CommasOnly}) {
            const auto items = commatext::read_line(line, dialect);
            if (commatext::read_line(commatext::write_line(items), dialect) != items) std::abort();
        }
    }
    // A grid loads the lines and writes them back as it would save them.
    Grid grid;
    grid.load_lines(lines, 0, commatext::Dialect::CommasOnly, true);
    Grid back;
    back.load_lines(grid.to_lines(0), 0, commatext::Dialect::CommasOnly, true);
    if (back.to_lines(0) != grid.to_lines(0)) std::abort();
    return 0;
}

// The survey book's ".sur" reader, in each designer's variant: the file is
// read, written back and read again, and the second reading must give the
// same lines (up to the characters Windows-1252 cannot hold).
#include "fuzz/fuzz_support.h"

#include "common/textfile.h"
#include "terrain/survey_book.h"

#include <cstdlib>

using namespace velmora;

// No survey book ships with the examples: the seed is a small book of shots
// as the window saves it.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    terrain::SurveyBook book;
    book.set_initial_elevation("250");
    book.paste("1\t2\t1.0\t1.25\t1.5\t90\t0\t0\t90\t0\t0\t1.5\t4\r\n"
               "2\t3\t2.0\t2.5\t3.0\t85\t0\t0\t0\t0\t0\t1.4\t2\r\n"
               "2\t4\t0.5\t1.0\t1.5\t90\t30\t0\t270\t0\t0\t1.45\t1\r\n",
               1, 2);
    const auto seed = fuzz::scratch() / "book.sur";
    book.write_sur(seed);
    fuzz::seed_corpus(*argc, *argv, seed);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = fuzz::scratch() / "book.sur";
    const auto again = fuzz::scratch() / "again.sur";
    fuzz::write_file(file, data, size);
    for (terrain::Designer designer : {terrain::Designer::Kelvaro, terrain::Designer::Marulet}) {
        terrain::SurveyBook book(designer);
        if (!fuzz::expect_file_errors([&] { book.read_sur(file); })) continue;
        const auto lines = book.sur_lines();
        book.write_sur(again);
        terrain::SurveyBook back(designer);
        back.read_sur(again);
        // The file is Windows-1252: a character it has no code for is
        // written as '?', the rest must come back unchanged.
        auto expected = lines;
        for (auto& line : expected) line = textfile::cp1252_to_utf8(textfile::utf8_to_cp1252(line));
        if (back.sur_lines() != expected) std::abort();
    }
    return 0;
}

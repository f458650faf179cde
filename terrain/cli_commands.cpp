// velmora survey reduce IN.sur [--view planimetry|altimetry|total]
//                              [--length-factor F] [--initial-elevation E] --out OUT.sur
//
// Reduces every shot of a field book the way pasting its rows into the survey
// book does in that view, and writes the reduced book.
#include "cli/args.h"
#include "cli/registry.h"
#include "common/commatext.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "terrain/survey_book.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using velmora::cli::Args;
using velmora::cli::UsageError;
using velmora::terrain::SurveyBook;
using velmora::terrain::SurveyView;

int run_survey(const std::vector<std::string>& words) {
    if (words.empty() || words[0] != "reduce") throw UsageError("expected 'reduce'");
    Args args(std::vector<std::string>(words.begin() + 1, words.end()),
              {"view", "length-factor", "initial-elevation", "out"});
    if (args.positional().size() != 1) throw UsageError("expected one input file IN.sur");
    const std::string view_name = args.choice("view", {"planimetry", "altimetry", "total"}, "planimetry");
    const std::string out = args.require("out");
    const std::string factor = args.get("length-factor").value_or("1.03");
    const std::string elevation = args.get("initial-elevation").value_or("1000");
    if (!velmora::numtext::is_number(factor)) {
        std::fprintf(stderr, "velmora survey: the length factor '%s' is not a number\n", factor.c_str());
        return 2;
    }

    std::vector<std::string> lines;
    try {
        lines = velmora::textfile::read_lines(args.positional()[0]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora survey: %s\n", e.what());
        return 2;
    }

    SurveyBook book;
    book.set_view(view_name == "planimetry"  ? SurveyView::Planimetry
                  : view_name == "altimetry" ? SurveyView::Altimetry
                                             : SurveyView::TotalCoordinates);
    book.set_LFE(factor);
    book.set_initial_elevation(elevation);
    // The book holds exactly the file's rows, as after opening it.
    book.ZCSG1.set_row_count(2 + static_cast<int>(lines.size()));
    std::vector<std::vector<std::string>> rows;
    rows.reserve(lines.size());
    for (const auto& line : lines) rows.push_back(velmora::commatext::read_line(line));
    book.paste_rows(rows, 0, 2);
    book.write_sur(out);
    std::printf("%d shots reduced (%s view), written to %s\n", book.end_of_data() - 2, view_name.c_str(),
                out.c_str());
    return 0;
}

const velmora::cli::Registration registration{
    {"survey",
     "reduce IN.sur [--view planimetry|altimetry|total] [--length-factor F] [--initial-elevation E] --out OUT.sur",
     &run_survey}};

}  // namespace

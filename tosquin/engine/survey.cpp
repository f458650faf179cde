#include "tosquin/engine/survey.h"

#include "common/numtext.h"

#include <cmath>
#include <numbers>

namespace velmora::tosquin {
namespace {

using numtext::format_general;
using numtext::read_lenient;

constexpr double kDeg = std::numbers::pi / 180;

// Steps shared by typing and pasting: "From" values (first row from the
// edits, later rows from the shot that sighted this row's "From" point among
// rows 2 .. last_lookup), partial distance, "To" elevation and distance, and
// the station of the profile.
void reduce(Document& doc, int r, int last_lookup) {
    Grid& b = doc.SG3;
    Grid& st = doc.SG2;
    if (r == 2) {
        b.set_cell(10, r, doc.Edit6);
        b.set_cell(13, r, doc.Edit7);
        st.set_cell(1, 1, doc.Edit7);
        st.set_cell(2, 1, doc.Edit6);
    }
    for (int d = 2; d <= last_lookup; ++d) {
        if (b(2, d) != b(1, r)) continue;
        b.set_cell(10, r, b(11, d));
        b.set_cell(13, r, b(14, d));
    }
    auto num = [&](int c) { return read_lenient(b(c, r)); };
    const double upper_minus_middle = num(5) - num(4);
    const double zenith = num(6) + (num(7) + num(8) / 60) / 60;
    const double partial =
        numtext::round_to(upper_minus_middle * 200 * std::cos((90 - zenith) * kDeg) * read_lenient(doc.LFE), 2);
    const double dh = upper_minus_middle * 100 * std::sin(2 * zenith * kDeg);
    const double to_elev = numtext::round_to(num(9) + num(10) + dh - num(4), 2);
    const double to_dist = partial + num(13);
    b.set_cell(12, r, format_general(partial));
    b.set_cell(11, r, format_general(to_elev));
    b.set_cell(14, r, format_general(to_dist));
    st.set_cell(1, r, b(14, r));
    st.set_cell(2, r, b(11, r));
}

}  // namespace

void reduce_survey_row(Document& doc, int r) {
    Grid& b = doc.SG3;
    if (r < 2 || r >= b.row_count()) return;
    int last = 1;
    while (last + 1 < b.row_count() && !b(14, last + 1).empty()) ++last;
    doc.maximo = last + 1;
    doc.Edit2 = std::to_string(last);
    for (int k = 1; k <= doc.maximo; ++k) doc.SG2.set_cell(0, k, std::to_string(k));
    b.set_cell(5, r, format_general(2 * read_lenient(b(4, r)) - read_lenient(b(3, r))));
    reduce(doc, r, doc.maximo - 1);
}

void survey_key_released(Document& doc, Key key, int col, int row) {
    switch (key) {
        case Key::Digit:
        case Key::Dot:
        case Key::Backspace: reduce_survey_row(doc, row); break;
        case Key::Arrow: break;
        case Key::Other: doc.SG3.set_cell(col, row, ""); break;
    }
}

void paste_survey(Document& doc, const std::string& text, int col, int row) {
    if (doc.input_mode == InputMode::SurveyBook) doc.SG3.set_cell(10, 2, doc.Edit6);
    int p = paste_block(doc.SG3, text, col, row);
    if (p < 2) return;
    if (doc.SG2.row_count() < p + 1) doc.SG2.set_row_count(p + 1);
    for (int q = 2; q <= p; ++q) {
        reduce(doc, q, p);
        doc.SG2.set_cell(0, q, std::to_string(q));
    }
    doc.SG2.set_row_count(p + 1);
    doc.Edit2 = std::to_string(p);
}

}  // namespace velmora::tosquin

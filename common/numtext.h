#pragma once
// Number <-> text, locale independent, "." as decimal separator.
//
// Reading:
//   read_lenient  - whole text must be a number, else 0 (empty included)
//   read_strict   - whole text must be a number, else ConversionError with the
//                   reader's message: 'abc' is not a valid floating point value
//   read_int_*    - the same for whole numbers
//   val           - the longest leading number ("12.5m" -> 12.5), 0 when none
// Writing:
//   format_general - shortest text of at most 15 significant digits, no
//                    thousands separator; scientific ("1E-7", "1.5E20") below
//                    1E-5 or from 1E15 on
//   format_fixed   - k decimals, optional thousands separators; ties of the
//                    exact binary value go to the even digit
//   format_pattern - "#,##0.00", "0.000", "0", "%.2n", "%.2f" ...
//   round_to       - scale by 10^k, round half to even, scale back
//   roundtrip_general - the number a cell holds after writing x in general
//                    format and reading it back
#include <string>
#include <string_view>

namespace velmora::numtext {

double read_lenient(std::string_view text);
double read_strict(std::string_view text);
long long read_int_lenient(std::string_view text);
long long read_int_strict(std::string_view text);
// True when the whole text (surrounding blanks allowed) is a number.
bool is_number(std::string_view text);
bool is_integer(std::string_view text);
double val(std::string_view text);

// The decimal separator used by read_*/format_* variants that take one
// (budget reads and writes with the user's separator).
double read_lenient(std::string_view text, char decimal_separator);
double read_strict(std::string_view text, char decimal_separator);

std::string format_general(double x);
std::string format_general(double x, char decimal_separator);
std::string format_fixed(double x, int decimals, bool thousands = false);
std::string format_pattern(double x, std::string_view pattern);
std::string format_int(long long v);

double round_to(double x, int decimals);
double roundtrip_general(double x);

}  // namespace velmora::numtext

#include "common/numtext.h"

#include "common/errors.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace velmora::numtext {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// Length of the longest prefix of s that is a decimal number
// ([+-] digits [. digits] [e [+-] digits], at least one mantissa digit).
size_t number_prefix(std::string_view s, char sep) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; ++digits; }
    if (i < s.size() && s[i] == sep) {
        size_t j = i + 1;
        size_t frac = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') { ++j; ++frac; }
        if (digits + frac > 0) { i = j; digits += frac; }
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        size_t exp_digits = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') { ++j; ++exp_digits; }
        if (exp_digits > 0) i = j;
    }
    return i;
}

// Converts a text already known to be a number (prefix form) to double.
double convert(std::string_view s, char sep) {
    std::string buf;
    buf.reserve(s.size());
    for (char c : s) {
        if (c == '+') continue;
        buf.push_back(c == sep ? '.' : c);
    }
    double v = 0;
    const char* first = buf.data();
    auto res = std::from_chars(first, first + buf.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Overflow gives infinity, underflow gives zero, like strtod.
        v = std::strtod(buf.c_str(), nullptr);
    }
    return v;
}

bool parse_whole(std::string_view text, char sep, double& out) {
    std::string_view t = trim(text);
    if (t.empty()) return false;
    size_t n = number_prefix(t, sep);
    if (n != t.size()) return false;
    out = convert(t, sep);
    return std::isfinite(out);
}

bool parse_int_whole(std::string_view text, long long& out) {
    std::string_view t = trim(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    auto res = std::from_chars(t.data(), t.data() + t.size(), out);
    return res.ec == std::errc() && res.ptr == t.data() + t.size();
}

std::string quoted(std::string_view s) {
    std::string m = "'";
    m.append(s);
    m += "'";
    return m;
}

std::string group_thousands(std::string_view digits) {
    std::string out;
    size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        out.push_back(digits[i]);
        size_t left = n - i - 1;
        if (left > 0 && left % 3 == 0) out.push_back(',');
    }
    return out;
}

}  // namespace

double read_lenient(std::string_view text) { return read_lenient(text, '.'); }
double read_strict(std::string_view text) { return read_strict(text, '.'); }

double read_lenient(std::string_view text, char sep) {
    double v = 0;
    return parse_whole(text, sep, v) ? v : 0.0;
}

double read_strict(std::string_view text, char sep) {
    double v = 0;
    if (!parse_whole(text, sep, v))
        throw ConversionError(quoted(text) + " is not a valid floating point value");
    return v;
}

long long read_int_lenient(std::string_view text) {
    long long v = 0;
    return parse_int_whole(text, v) ? v : 0;
}

long long read_int_strict(std::string_view text) {
    long long v = 0;
    if (!parse_int_whole(text, v)) throw ConversionError(quoted(text) + " is not a valid integer value");
    return v;
}

bool is_number(std::string_view text) {
    double v;
    return parse_whole(text, '.', v);
}

bool is_integer(std::string_view text) {
    long long v;
    return parse_int_whole(text, v);
}

double val(std::string_view text) {
    std::string_view t = text;
    while (!t.empty() && is_blank(t.front())) t.remove_prefix(1);
    size_t n = number_prefix(t, '.');
    if (n == 0) return 0.0;
    double v = convert(t.substr(0, n), '.');
    return std::isfinite(v) ? v : 0.0;
}

std::string format_general(double x) { return format_general(x, '.'); }

std::string format_general(double x, char sep) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0) return "0";
    // 15 significant digits of the exact binary value.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    bool negative = s.front() == '-';
    if (negative) s.remove_prefix(1);
    size_t epos = s.find('e');
    int exponent = 0;
    std::from_chars(s.data() + epos + 1 + (s[epos + 1] == '+' ? 1 : 0), s.data() + s.size(), exponent);
    std::string digits;
    for (char c : s.substr(0, epos))
        if (c != '.') digits.push_back(c);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back(sep);
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += '0';
        out.push_back(sep);
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        size_t int_len = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= int_len) {
            out += digits;
            out.append(int_len - digits.size(), '0');
        } else {
            out.append(digits, 0, int_len);
            out.push_back(sep);
            out.append(digits, int_len);
        }
    }
    return out;
}

std::string format_fixed(double x, int decimals, bool thousands) {
    if (!std::isfinite(x)) return format_general(x);
    if (decimals < 0) decimals = 0;
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    bool negative = !s.empty() && s.front() == '-';
    if (negative) s.remove_prefix(1);
    // A value that rounds to zero is written without a sign.
    if (negative && s.find_first_of("123456789") == std::string_view::npos) negative = false;
    size_t dot = s.find('.');
    std::string_view int_part = s.substr(0, dot);
    std::string out = negative ? "-" : "";
    out += thousands ? group_thousands(int_part) : std::string(int_part);
    if (dot != std::string_view::npos) out.append(s.substr(dot));
    return out;
}

std::string format_pattern(double x, std::string_view pattern) {
    // printf-like "%.Nn" (thousands) and "%.Nf" (no thousands).
    if (pattern.size() >= 3 && pattern[0] == '%') {
        int decimals = 2;
        size_t dot = pattern.find('.');
        if (dot != std::string_view::npos) {
            std::from_chars(pattern.data() + dot + 1, pattern.data() + pattern.size(), decimals);
        }
        return format_fixed(x, decimals, pattern.back() == 'n');
    }
    bool thousands = pattern.find(',') != std::string_view::npos;
    int decimals = 0;
    size_t dot = pattern.find('.');
    if (dot != std::string_view::npos) {
        for (size_t i = dot + 1; i < pattern.size() && (pattern[i] == '0' || pattern[i] == '#'); ++i) ++decimals;
    }
    return format_fixed(x, decimals, thousands);
}

std::string format_int(long long v) { return std::to_string(v); }

double round_to(double x, int decimals) {
    double scale = std::pow(10.0, decimals);
    return std::nearbyint(x * scale) / scale;
}

double roundtrip_general(double x) { return read_lenient(format_general(x)); }

}  // namespace velmora::numtext

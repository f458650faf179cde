#include "common/commatext.h"

namespace velmora::commatext {
namespace {

bool needs_quotes(std::string_view item) {
    for (unsigned char c : item)
        if (c <= ' ' || c == '"' || c == ',') return true;
    return false;
}

bool is_space_or_control(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= ' ';
}

// Reads a quoted item starting at s[i] == '"'; doubled quotes give one quote.
// Without a closing quote the rest of the line is taken. Returns the index
// after the closing quote.
size_t read_quoted(std::string_view s, size_t i, std::string& out) {
    ++i;
    while (i < s.size()) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                out.push_back('"');
                i += 2;
                continue;
            }
            return i + 1;
        }
        out.push_back(s[i]);
        ++i;
    }
    return i;
}

}  // namespace

std::string quote_item(std::string_view item) {
    if (!needs_quotes(item)) return std::string(item);
    std::string out = "\"";
    for (char c : item) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string write_line(const std::vector<std::string>& items) {
    if (items.size() == 1 && items[0].empty()) return "\"\"";
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out.push_back(',');
        out += quote_item(items[i]);
    }
    return out;
}

std::vector<std::string> read_line(std::string_view s, Dialect dialect) {
    std::vector<std::string> items;
    const bool spaces = dialect == Dialect::SpacesSeparate;
    size_t i = 0;
    // A NUL ends the text, as it ends a C string.
    if (size_t nul = s.find('\0'); nul != std::string_view::npos) s = s.substr(0, nul);
    if (spaces)
        while (i < s.size() && is_space_or_control(s[i])) ++i;
    if (i >= s.size()) return items;
    while (i < s.size()) {
        std::string item;
        if (s[i] == '"') {
            i = read_quoted(s, i, item);
        } else {
            size_t start = i;
            while (i < s.size() && s[i] != ',' && !(spaces && is_space_or_control(s[i]))) ++i;
            item.assign(s.substr(start, i - start));
        }
        items.push_back(std::move(item));
        if (spaces)
            while (i < s.size() && is_space_or_control(s[i])) ++i;
        if (i < s.size() && s[i] == ',') {
            if (i + 1 == s.size()) items.emplace_back();
            ++i;
            if (spaces)
                while (i < s.size() && is_space_or_control(s[i])) ++i;
        }
    }
    return items;
}

}  // namespace velmora::commatext

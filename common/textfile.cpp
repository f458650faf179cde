#include "common/textfile.h"

#include "common/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <unistd.h>

namespace velmora::textfile {
namespace {

// Windows-1252 code points for bytes 0x80..0x9F (0 where the byte is unused;
// those bytes map to the C1 control of the same value).
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns false on an invalid sequence.
bool next_utf8(std::string_view s, size_t& i, char32_t& cp) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int len = 0;
    if (c < 0x80) { cp = c; i += 1; return true; }
    if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
    else return false;
    if (i + static_cast<size_t>(len) > s.size()) return false;
    for (int k = 1; k < len; ++k) {
        unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((cc & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return false;
    i += static_cast<size_t>(len);
    return true;
}

bool is_valid_utf8(std::string_view s, bool* high = nullptr) {
    bool any_high = false;
    size_t i = 0;
    char32_t cp;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) >= 0x80) any_high = true;
        if (!next_utf8(s, i, cp)) return false;
    }
    if (high) *high = any_high;
    return true;
}

bool is_valid_utf8_with_high(std::string_view s) {
    bool high = false;
    return is_valid_utf8(s, &high) && high;
}

bool starts_with_bom(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE");
}

std::string temp_name_for(const std::filesystem::path& file) {
    static std::mt19937_64 rng{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(rng()));
    return file.string() + suffix;
}

void write_temp(const std::filesystem::path& tmp, const std::filesystem::path& target, std::string_view bytes) {
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) throw FileError(file_message(target, std::strerror(errno)));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (::fsync(fileno(f)) == 0) && ok;
    int err = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        throw FileError(file_message(target, err ? std::strerror(err) : "write failed"));
    }
}

void rename_over(const std::filesystem::path& tmp, const std::filesystem::path& target) {
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw FileError(file_message(target, "cannot replace the file"));
    }
}

// Windows-1252 bytes of the text; but when those bytes happen to be valid
// UTF-8 with non-ASCII characters (as "Ã±" is) or begin like a byte-order
// mark ("ï»¿", "ÿþ"), reading would take them as UTF-8 or UTF-16 and give
// other characters back, so such text is written as UTF-8 behind a byte-order
// mark instead, which reads back exactly.
std::string cp1252_or_marked_utf8(std::string_view text) {
    std::string bytes = utf8_to_cp1252(text);
    if (!is_valid_utf8_with_high(bytes) && !starts_with_bom(bytes)) return bytes;
    return "\xEF\xBB\xBF" + cp1252_to_utf8(bytes);
}

std::string encode_text(std::string_view text, Encoding encoding) {
    switch (encoding) {
        case Encoding::Windows1252: return cp1252_or_marked_utf8(text);
        case Encoding::Utf8: return std::string(text);
        case Encoding::Utf16LeBom: return std::string("\xFF\xFE", 2) + utf8_to_utf16le(text);
    }
    return std::string(text);
}

std::string encode(const std::vector<std::string>& lines, Encoding encoding) {
    return encode_text(join_lines(lines), encoding);
}

}  // namespace

std::string file_message(const std::filesystem::path& file, std::string_view what) {
    std::string m = "File \"" + file.string() + "\": ";
    m.append(what);
    return m;
}

std::string cp1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char c : bytes) {
        if (c < 0x80) out.push_back(static_cast<char>(c));
        else if (c < 0xA0) append_utf8(out, kHigh[c - 0x80] ? kHigh[c - 0x80] : c);
        else append_utf8(out, c);
    }
    return out;
}

std::string utf8_to_cp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        size_t start = i;
        if (!next_utf8(text, i, cp)) {
            // Not UTF-8: pass the byte through unchanged.
            out.push_back(text[start]);
            i = start + 1;
            continue;
        }
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char byte = '?';
        for (int k = 0; k < 32; ++k) {
            if (kHigh[k] == cp || (kHigh[k] == 0 && cp == static_cast<char32_t>(0x80 + k))) {
                byte = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.push_back(byte);
    }
    return out;
}

std::string utf16le_to_utf8(std::string_view bytes) {
    std::string out;
    size_t n = bytes.size() / 2;
    auto unit = [&](size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    for (size_t k = 0; k < n; ++k) {
        char32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < n) {
            char32_t lo = unit(k + 1);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++k;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
        append_utf8(out, u);
    }
    return out;
}

std::string utf8_to_utf16le(std::string_view text) {
    std::string out;
    auto put = [&](char32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>((u >> 8) & 0xFF));
    };
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        size_t start = i;
        if (!next_utf8(text, i, cp)) {
            cp = static_cast<unsigned char>(text[start]);
            i = start + 1;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

std::string read_bytes(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) throw FileError(file_message(file, "the file does not exist"));
    if (std::filesystem::is_directory(file, ec)) throw FileError(file_message(file, "is a folder, not a file"));
    std::ifstream in(file, std::ios::binary);
    if (!in) throw FileError(file_message(file, "cannot be opened for reading"));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError(file_message(file, "read failed"));
    return bytes;
}

void write_bytes_atomic(const std::filesystem::path& file, std::string_view bytes, bool executable) {
    std::filesystem::path tmp = temp_name_for(file);
    write_temp(tmp, file, bytes);
    if (executable) {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(tmp,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec,
                        fs::perm_options::replace, ec);
    }
    rename_over(tmp, file);
}

std::string read_text(const std::filesystem::path& file, Encoding* found) {
    std::string bytes = read_bytes(file);
    Encoding enc = Encoding::Windows1252;
    std::string text;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        enc = Encoding::Utf16LeBom;
        text = utf16le_to_utf8(std::string_view(bytes).substr(2));
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        // A UTF-8 mark before bytes that are no UTF-8 (a file edited in two
        // encodings): those are taken as Windows-1252, so every byte still
        // shows as some character.
        enc = Encoding::Utf8;
        const std::string_view rest = std::string_view(bytes).substr(3);
        text = is_valid_utf8(rest) ? std::string(rest) : cp1252_to_utf8(rest);
    } else if (is_valid_utf8_with_high(bytes)) {
        enc = Encoding::Utf8;
        text = std::move(bytes);
    } else {
        text = cp1252_to_utf8(bytes);
    }
    if (found) *found = enc;
    return text;
}

std::vector<std::string> split_lines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> read_lines(const std::filesystem::path& file, Encoding* found) {
    return split_lines(read_text(file, found));
}

std::string join_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    return text;
}

void write_lines(const std::filesystem::path& file, const std::vector<std::string>& lines, Encoding encoding) {
    write_bytes_atomic(file, encode(lines, encoding));
}

void write_text(const std::filesystem::path& file, std::string_view text, Encoding encoding) {
    write_bytes_atomic(file, encode_text(text, encoding));
}

void AtomicGroup::add(const std::filesystem::path& file, std::string bytes) {
    files_.emplace_back(file, std::move(bytes));
}

void AtomicGroup::add_lines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                            Encoding encoding) {
    add(file, encode(lines, encoding));
}

void AtomicGroup::commit() {
    // A target that is a folder would only fail at its rename, after the
    // files before it were replaced: refuse the whole group first.
    for (const auto& [file, bytes] : files_) {
        std::error_code ec;
        if (std::filesystem::is_directory(file, ec)) throw FileError(file_message(file, "is a folder, not a file"));
    }
    std::vector<std::filesystem::path> temps;
    try {
        for (const auto& [file, bytes] : files_) {
            std::filesystem::path tmp = temp_name_for(file);
            write_temp(tmp, file, bytes);
            temps.push_back(tmp);
        }
    } catch (...) {
        std::error_code ec;
        for (const auto& t : temps) std::filesystem::remove(t, ec);
        throw;
    }
    for (size_t k = 0; k < files_.size(); ++k) rename_over(temps[k], files_[k].first);
    files_.clear();
}

}  // namespace velmora::textfile

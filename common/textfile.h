#pragma once
// Whole-file text reading and writing.
//
// Project, option and reference files are 8-bit Windows-1252 text with CR LF
// line ends, so files made by the earlier programs open unchanged. In memory
// all text is UTF-8: conversion happens here, at the boundary.
//
// Reading accepts CR LF, LF or CR line ends; a UTF-8 or UTF-16LE byte-order
// mark selects that encoding, and text that is valid UTF-8 with non-ASCII
// characters is taken as UTF-8; anything else is Windows-1252.
//
// Text is written in Windows-1252, except text whose Windows-1252 bytes would
// read back as UTF-8 or UTF-16 (mojibake such as "Ã±", or a first line that
// begins with "ï»¿" or "ÿþ"): that is written as UTF-8 behind a byte-order
// mark, so every file reads back as it was written. After a UTF-8 mark, bytes
// that are not UTF-8 are read as Windows-1252.
//
// Writing is atomic: the text goes to a temporary file in the same folder,
// which then replaces the target, so a failed write leaves the previous file
// intact. Every error is a FileError whose message names the file.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::textfile {

enum class Encoding { Windows1252, Utf8, Utf16LeBom };

std::string cp1252_to_utf8(std::string_view bytes);
// Characters with no Windows-1252 code are written as '?'.
std::string utf8_to_cp1252(std::string_view text);
std::string utf16le_to_utf8(std::string_view bytes);
std::string utf8_to_utf16le(std::string_view text);

// Raw bytes.
std::string read_bytes(const std::filesystem::path& file);
// `executable`: the new file gets the executable bits (programs replaced by
// the updaters).
void write_bytes_atomic(const std::filesystem::path& file, std::string_view bytes, bool executable = false);

// Decoded text (UTF-8) and the encoding it was found in.
std::string read_text(const std::filesystem::path& file, Encoding* found = nullptr);
std::vector<std::string> split_lines(std::string_view text);
std::vector<std::string> read_lines(const std::filesystem::path& file, Encoding* found = nullptr);

// Every line followed by CR LF (the last one too), encoded as asked.
std::string join_lines(const std::vector<std::string>& lines);
void write_lines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                 Encoding encoding = Encoding::Windows1252);
void write_text(const std::filesystem::path& file, std::string_view text,
                Encoding encoding = Encoding::Windows1252);

// Several files replaced together: every file is first written to a temporary
// file; only when all were written are they renamed over their targets. A
// failure before the renames leaves every target untouched.
class AtomicGroup {
public:
    void add(const std::filesystem::path& file, std::string bytes);
    void add_lines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                   Encoding encoding = Encoding::Windows1252);
    void commit();

private:
    std::vector<std::pair<std::filesystem::path, std::string>> files_;
};

std::string file_message(const std::filesystem::path& file, std::string_view what);

}  // namespace velmora::textfile

#pragma once
// What the engines ask of the outside world. The engine never blocks on a user
// itself: it asks through these interfaces. The windowed programs implement
// them with Qt, the command-line tool with stdout/stderr, and the tests with
// the scripted versions below, which record every call in order.
#include <cstdio>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

enum class Answer { Yes, No, Ok, Cancel };

class Messages {
public:
    virtual ~Messages() = default;
    // A plain box with the text and an OK button.
    virtual void notice(const std::string& text) = 0;
    // A box with a title and an OK button ("Warning", "Error" ...).
    virtual void warning(const std::string& title, const std::string& text) = 0;
    // Yes/No question; returns Yes or No.
    virtual Answer question(const std::string& text, const std::string& title = "Warning") = 0;
    // OK/Cancel confirmation; returns Ok or Cancel.
    virtual Answer confirm(const std::string& text, const std::string& title = "Warning") = 0;
    // The platform's error box for an exception that stopped a command.
    virtual void error(const std::string& text) = 0;
};

struct FileDialogRequest {
    std::string title;
    // Filter as the programs give it: "Kelvaro files (*.bra)|*.bra|All (*.*)|*.*".
    std::string filter;
    int filter_index = 1;  // 1-based, as the dialogs count
    std::filesystem::path initial_dir;
    std::string file_name;  // proposed name
    std::string default_ext;  // without the dot
};

struct FileChoice {
    std::filesystem::path path;
    int filter_index = 1;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<FileChoice> open(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> save(const FileDialogRequest& request) = 0;
};

// Splits "Text (*.a)|*.a|All|*.*" into (description, patterns) pairs.
std::vector<std::pair<std::string, std::string>> parse_filter(const std::string& filter);

class Progress {
public:
    virtual ~Progress() = default;
    virtual void set_position(int percent) = 0;  // 0..100
    virtual void set_status(const std::string& text) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    virtual void set_text(const std::string& text) = 0;
};

// ---- Implementations without a user ---------------------------------------

struct MessageRecord {
    std::string kind;  // "notice", "warning", "question", "confirm", "error"
    std::string title;
    std::string text;
    bool operator==(const MessageRecord&) const = default;
};

// Records every message; questions are answered from a script (Yes/Ok when
// the script is empty, or the default set).
class ScriptedMessages : public Messages {
public:
    void notice(const std::string& text) override;
    void warning(const std::string& title, const std::string& text) override;
    Answer question(const std::string& text, const std::string& title = "Warning") override;
    Answer confirm(const std::string& text, const std::string& title = "Warning") override;
    void error(const std::string& text) override;

    void answer_next(Answer a) { script_.push_back(a); }
    void set_default_yes(bool yes) { default_yes_ = yes; }
    const std::vector<MessageRecord>& records() const { return records_; }
    std::vector<std::string> texts() const;
    void clear() { records_.clear(); }

private:
    Answer next(bool yes_no);
    std::vector<MessageRecord> records_;
    std::deque<Answer> script_;
    bool default_yes_ = true;
};

// Prints "TITLE: TEXT" lines to a stream (stderr in the command-line tool);
// questions are answered by a fixed answer. Notices use `notice_title`.
class StreamMessages : public Messages {
public:
    StreamMessages(std::FILE* out, std::string notice_title, bool answer_yes = true);
    void notice(const std::string& text) override;
    void warning(const std::string& title, const std::string& text) override;
    Answer question(const std::string& text, const std::string& title = "Warning") override;
    Answer confirm(const std::string& text, const std::string& title = "Warning") override;
    void error(const std::string& text) override;
    int count() const { return count_; }

private:
    void print(const std::string& title, const std::string& text);
    std::FILE* out_;
    std::string notice_title_;
    bool yes_;
    int count_ = 0;
};

class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<FileChoice> open(const FileDialogRequest& request) override;
    std::optional<FileChoice> save(const FileDialogRequest& request) override;
    void push(std::optional<FileChoice> choice) { script_.push_back(std::move(choice)); }
    const std::vector<FileDialogRequest>& requests() const { return requests_; }

private:
    std::deque<std::optional<FileChoice>> script_;
    std::vector<FileDialogRequest> requests_;
};

class RecordingProgress : public Progress {
public:
    void set_position(int percent) override { positions.push_back(percent); }
    void set_status(const std::string& text) override { statuses.push_back(text); }
    std::vector<int> positions;
    std::vector<std::string> statuses;
};

class NullProgress : public Progress {
public:
    void set_position(int) override {}
    void set_status(const std::string&) override {}
};

class MemoryClipboard : public Clipboard {
public:
    std::string text() const override { return text_; }
    void set_text(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

}  // namespace velmora

#include "common/ports.h"

#include <cstdio>

namespace velmora {

std::vector<std::pair<std::string, std::string>> parse_filter(const std::string& filter) {
    std::vector<std::pair<std::string, std::string>> out;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= filter.size()) {
        size_t bar = filter.find('|', start);
        if (bar == std::string::npos) bar = filter.size();
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    for (size_t k = 0; k + 1 < parts.size(); k += 2) out.emplace_back(parts[k], parts[k + 1]);
    return out;
}

void ScriptedMessages::notice(const std::string& text) { records_.push_back({"notice", "", text}); }

void ScriptedMessages::warning(const std::string& title, const std::string& text) {
    records_.push_back({"warning", title, text});
}

Answer ScriptedMessages::next(bool yes_no) {
    Answer a = default_yes_ ? (yes_no ? Answer::Yes : Answer::Ok) : (yes_no ? Answer::No : Answer::Cancel);
    if (!script_.empty()) {
        a = script_.front();
        script_.pop_front();
    }
    // A script entry of the other pair maps onto this one (Yes~Ok, No~Cancel).
    if (yes_no && a == Answer::Ok) a = Answer::Yes;
    if (yes_no && a == Answer::Cancel) a = Answer::No;
    if (!yes_no && a == Answer::Yes) a = Answer::Ok;
    if (!yes_no && a == Answer::No) a = Answer::Cancel;
    return a;
}

Answer ScriptedMessages::question(const std::string& text, const std::string& title) {
    records_.push_back({"question", title, text});
    return next(true);
}

Answer ScriptedMessages::confirm(const std::string& text, const std::string& title) {
    records_.push_back({"confirm", title, text});
    return next(false);
}

void ScriptedMessages::error(const std::string& text) { records_.push_back({"error", "Error", text}); }

std::vector<std::string> ScriptedMessages::texts() const {
    std::vector<std::string> out;
    for (const auto& r : records_) out.push_back(r.text);
    return out;
}

StreamMessages::StreamMessages(std::FILE* out, std::string notice_title, bool answer_yes)
    : out_(out), notice_title_(std::move(notice_title)), yes_(answer_yes) {}

void StreamMessages::print(const std::string& title, const std::string& text) {
    ++count_;
    std::fprintf(out_, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(out_);
}

void StreamMessages::notice(const std::string& text) { print(notice_title_, text); }
void StreamMessages::warning(const std::string& title, const std::string& text) { print(title, text); }

Answer StreamMessages::question(const std::string& text, const std::string& title) {
    print(title, text);
    return yes_ ? Answer::Yes : Answer::No;
}

Answer StreamMessages::confirm(const std::string& text, const std::string& title) {
    print(title, text);
    return yes_ ? Answer::Ok : Answer::Cancel;
}

void StreamMessages::error(const std::string& text) { print("Error", text); }

std::optional<FileChoice> ScriptedFileDialogs::open(const FileDialogRequest& request) {
    requests_.push_back(request);
    if (script_.empty()) return std::nullopt;
    auto c = script_.front();
    script_.pop_front();
    return c;
}

std::optional<FileChoice> ScriptedFileDialogs::save(const FileDialogRequest& request) { return open(request); }

}  // namespace velmora

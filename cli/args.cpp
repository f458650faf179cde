#include "cli/args.h"

namespace velmora::cli {

Args::Args(const std::vector<std::string>& words, const std::set<std::string>& with_value,
           const std::set<std::string>& flags) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.rfind("--", 0) == 0 && w.size() > 2) {
            std::string name = w.substr(2);
            std::string value;
            bool inline_value = false;
            if (size_t eq = name.find('='); eq != std::string::npos) {
                value = name.substr(eq + 1);
                name = name.substr(0, eq);
                inline_value = true;
            }
            if (with_value.count(name)) {
                if (!inline_value) {
                    if (i + 1 >= words.size()) throw UsageError("option --" + name + " needs a value");
                    value = words[++i];
                }
                values_[name] = value;
            } else if (flags.count(name) && !inline_value) {
                flags_.insert(name);
            } else {
                throw UsageError("unknown option --" + name);
            }
        } else {
            positional_.push_back(w);
        }
    }
}

std::optional<std::string> Args::get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Args::require(const std::string& name) const {
    auto v = get(name);
    if (!v) throw UsageError("option --" + name + " is required");
    return *v;
}

std::string Args::choice(const std::string& name, const std::set<std::string>& choices,
                         const std::string& fallback) const {
    auto v = get(name);
    if (!v) return fallback;
    if (!choices.count(*v)) {
        std::string list;
        for (const auto& c : choices) list += (list.empty() ? "" : "|") + c;
        throw UsageError("option --" + name + " must be " + list);
    }
    return *v;
}

}  // namespace velmora::cli

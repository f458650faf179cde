#pragma once
// Minimal argument reading for the subcommands: positional words and
// "--name value" options (a flag is an option given without a value).
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Args {
public:
    // `with_value`: options that take a value; `flags`: options that do not.
    // Anything else starting with "--" is a usage error.
    Args(const std::vector<std::string>& words, const std::set<std::string>& with_value,
         const std::set<std::string>& flags = {});

    const std::vector<std::string>& positional() const { return positional_; }
    std::optional<std::string> get(const std::string& name) const;
    std::string require(const std::string& name) const;
    bool flag(const std::string& name) const { return flags_.count(name) > 0; }
    // The option's value must be one of `choices`; `fallback` when absent.
    std::string choice(const std::string& name, const std::set<std::string>& choices, const std::string& fallback) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
};

}  // namespace velmora::cli

#pragma once
// Exceptions that stop a running command. The message is the text the user sees.
#include <stdexcept>
#include <string>

namespace velmora {

// A cell or field that must be a number is not one (strict reading).
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be read, parsed or written. The message names the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command refused or stopped with a message already meant for the user.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velmora

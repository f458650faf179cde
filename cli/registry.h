#pragma once
// Subcommands of the `velmora` tool. A program's command source registers its
// subcommands and its demo with a static Registration object:
//
//   static const velmora::cli::Registration reg{
//       {"kelvaro", "calc PROJECT.bra --data DIR --csv OUT.csv", &run_kelvaro},
//       {"Kelvaro", &demo_kelvaro}};
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmora::cli {

// args: the words after the subcommand name. Returns the exit status.
using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct Command {
    std::string name;   // first word: "kelvaro", "survey" ...
    std::string usage;  // the rest of the usage line
    CommandFn run;
};

struct DemoContext {
    std::filesystem::path data_dir;  // the shipped data folder (data/)
    std::filesystem::path out_dir;   // where results go (out/<program>/)
};

// Runs the program's bundled examples; prints a line or two of summary to
// stdout and returns 0 on success.
using DemoFn = std::function<int(const DemoContext& context)>;

struct Demo {
    std::string program;  // "Kelvaro", "Marulet", "Tosquin", "budget"
    DemoFn run;
};

struct Registration {
    explicit Registration(Command command);
    Registration(Command command, Demo demo);
};

const std::vector<Command>& commands();
const std::vector<Demo>& demos();

}  // namespace velmora::cli

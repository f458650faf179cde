// velmora: the suite's calculations without windows.
//
//   velmora demo [--out DIR] [--data DIR]   design the bundled example projects
//   velmora <program> <command> ...         see `velmora --help`
//
// Exit status: 0 done; 1 the command refused or stopped with a message; 2 usage
// error or unreadable input.
#include "cli/args.h"
#include "cli/registry.h"
#include "common/provision.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace velmora::cli;

namespace {

void usage(std::FILE* out) {
    std::fprintf(out, "usage: velmora demo [--out DIR] [--data DIR]\n");
    for (const auto& c : commands()) std::fprintf(out, "       velmora %s %s\n", c.name.c_str(), c.usage.c_str());
}

int run_demo(const std::vector<std::string>& words) {
    Args args(words, {"out", "data"});
    fs::path out = args.get("out").value_or("out");
    fs::path data = args.get("data").value_or("");
    if (data.empty()) data = velmora::shipped_data_dir("").lexically_normal();
    int status = 0;
    const char* programs[] = {"Kelvaro", "Marulet", "Tosquin", "budget"};
    for (const char* program : programs) {
        const Demo* demo = nullptr;
        for (const auto& d : demos())
            if (d.program == program) demo = &d;
        if (!demo) {
            std::printf("%-8s not built yet\n", program);
            continue;
        }
        std::string folder = program;
        for (auto& ch : folder) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        DemoContext ctx{data, out / folder};
        fs::create_directories(ctx.out_dir);
        int rc = demo->run(ctx);
        if (rc != 0) {
            std::printf("%-8s FAILED (exit %d)\n", program, rc);
            status = 1;
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        usage(stdout);
        return words.empty() ? 2 : 0;
    }
    std::string name = words[0];
    std::vector<std::string> rest(words.begin() + 1, words.end());
    try {
        if (name == "demo") return run_demo(rest);
        for (const auto& c : commands())
            if (c.name == name) return c.run(rest);
        std::fprintf(stderr, "velmora: unknown command '%s'\n", name.c_str());
        usage(stderr);
        return 2;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "velmora %s: %s\n", name.c_str(), e.what());
        usage(stderr);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora %s: %s\n", name.c_str(), e.what());
        return 2;
    }
}

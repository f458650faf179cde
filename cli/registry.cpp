#include "cli/registry.h"

namespace velmora::cli {
namespace {
std::vector<Command>& command_list() {
    static std::vector<Command> list;
    return list;
}
std::vector<Demo>& demo_list() {
    static std::vector<Demo> list;
    return list;
}
}  // namespace

Registration::Registration(Command command) { command_list().push_back(std::move(command)); }

Registration::Registration(Command command, Demo demo) {
    command_list().push_back(std::move(command));
    demo_list().push_back(std::move(demo));
}

const std::vector<Command>& commands() { return command_list(); }
const std::vector<Demo>& demos() { return demo_list(); }

}  // namespace velmora::cli

// The launcher's update list as stored after the download: read as text and
// parsed, then compared with the installed programs' stamps.
#include "fuzz/fuzz_support.h"

#include "common/textfile.h"
#include "launcher/engine/launcher.h"

using namespace velmora;

// The list comes from the update server, not from the shipped data: the seed
// is a well-formed list of the nine rows.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    std::vector<std::string> lines = {"Program,Stamp,File"};
    for (int row = 1; row <= 8; ++row)
        lines.push_back("program" + std::to_string(row) + "," +
                        std::to_string(launcher::pack_stamp(2026, row, 10 + row, 8, 30, 0)) + ",file" +
                        std::to_string(row) + ".exe");
    const auto seed = fuzz::scratch() / "updates";
    textfile::write_lines(seed, lines);
    fuzz::seed_corpus(*argc, *argv, seed);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = fuzz::scratch() / "list";
    fuzz::write_file(file, data, size);
    fuzz::expect_file_errors([&] {
        const launcher::UpdateList list = launcher::parse_update_list(textfile::read_lines(file));
        std::array<std::int32_t, 9> local{};
        local.fill(-1);
        local[2] = launcher::pack_stamp(2026, 1, 1, 0, 0, 0);
        (void)launcher::plan_updates(local, list);
    });
    return 0;
}

// Marulet's readers: one target per file, chosen by VELMORA_FUZZ_FILE (a
// project extension such as ".gst", or the name of a Database file). The
// input replaces that file of the example project or of the Database folder.
#include "fuzz/fuzz_support.h"

#include "marulet/engine/project_files.h"
#include "marulet/engine/reference_files.h"

namespace {

using namespace velmora;
namespace fs = std::filesystem;

const std::string kFile = VELMORA_FUZZ_FILE;
bool project_file() { return kFile.front() == '.'; }

struct Setup {
    fs::path database, project, target;
};

const Setup& setup() {
    static const Setup s = [] {
        Setup out;
        out.database = fuzz::scratch() / "Database";
        fuzz::copy_files(fuzz::data_dir() / "marulet", out.database);
        // The first load writes the missing parameter files with their defaults.
        marulet::Document doc;
        marulet::load_reference_data(doc, out.database);
        const fs::path projects = fuzz::scratch() / "Projects";
        fuzz::copy_files(fuzz::data_dir() / "marulet" / "examples", projects);
        out.project = projects / "hillside_community.sew";
        out.target = project_file() ? fs::path(out.project).replace_extension(kFile) : out.database / kFile;
        return out;
    }();
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    velmora::fuzz::seed_corpus(*argc, *argv, setup().target);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Setup& s = setup();
    fuzz::write_file(s.target, data, size);
    marulet::Document doc;
    if (project_file()) {
        fuzz::expect_file_errors([&] { marulet::open_project(doc, s.project, 1); });
    } else {
        fuzz::expect_file_errors([&] {
            marulet::load_reference_data(doc, s.database);
            marulet::OptionsDialog dialog(s.database);
            dialog.show();
        });
    }
    return 0;
}

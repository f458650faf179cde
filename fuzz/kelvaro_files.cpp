// Kelvaro's readers: one target per file, chosen by VELMORA_FUZZ_FILE (a
// project extension such as ".ghd", or the name of a Database file). The
// input replaces that file of the example project or of the Database folder.
#include "fuzz/fuzz_support.h"

#include "common/folders.h"
#include "kelvaro/engine/options.h"
#include "kelvaro/engine/project_files.h"

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
        const Folders folders(fuzz::scratch() / "common", fuzz::scratch() / "user");
        kelvaro::Document doc;
        kelvaro::set_folders(doc, folders);
        out.database = doc.carpetadatos;
        fuzz::copy_files(fuzz::data_dir() / "kelvaro", out.database);
        kelvaro::ensure_option_files(out.database);
        const fs::path projects = doc.carpetaproyectos;
        fuzz::copy_files(fuzz::data_dir() / "kelvaro" / "examples", projects);
        out.project = projects / "villa_alta.bra";
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
    kelvaro::Document doc;
    doc.carpetadatos = s.database;
    if (project_file()) {
        kelvaro::ProjectFiles files;
        if (!fuzz::expect_file_errors([&] { files = kelvaro::read_project(s.project, true); })) return 0;
        kelvaro::apply_project(doc, std::move(files));
        // Opening goes on with the networks of the table; their own checks
        // answer with a conversion error shown to the user.
        try {
            kelvaro::after_open(doc);
        } catch (const ConversionError&) {
        }
    } else {
        fuzz::expect_file_errors([&] {
            kelvaro::becoming_active(doc);
            kelvaro::OptionsEditor editor;
            editor.fill(doc);
        });
    }
    return 0;
}

// Tosquin's readers: one target per file, chosen by VELMORA_FUZZ_FILE (a
// project extension such as ".des", or the name of a data-folder file). The
// input replaces that file of the example project or of the data folder.
#include "fuzz/fuzz_support.h"

#include "common/textfile.h"
#include "tosquin/engine/project_files.h"
#include "tosquin/engine/reference_files.h"

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
        fuzz::copy_files(fuzz::data_dir() / "tosquin", out.database);
        // The first reading writes "units.qtx" and "qtx.min" with their defaults.
        tosquin::Document doc;
        doc.carpetadatos = out.database;
        tosquin::leerarchivos(doc);
        const fs::path projects = fuzz::scratch() / "Projects";
        fuzz::copy_files(fuzz::data_dir() / "tosquin" / "examples", projects);
        out.project = projects / "quebrada_honda.lin";
        // No survey book ships with the example: a small one as written on save.
        const fs::path top = fs::path(out.project).replace_extension(".top");
        if (!fs::exists(top)) {
            Grid book(4, 3);
            book.set_row(0, {"Station", "Distance", "Elevation", "Note"});
            book.set_row(1, {"0", "0", "1520.4", "intake"});
            book.set_row(2, {"1", "35.5", "1511", "tank site"});
            textfile::write_lines(top, tosquin::top_lines(book), textfile::Encoding::Utf16LeBom);
        }
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
    tosquin::Document doc;
    doc.carpetadatos = s.database;
    if (project_file())
        fuzz::expect_file_errors([&] { tosquin::abrir(doc, s.project); });
    else
        fuzz::expect_file_errors([&] { tosquin::leerarchivos(doc); });
    return 0;
}

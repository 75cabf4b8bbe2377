// tiermark-mdbwrite: builds an Access 2000 (.mdb) file from a folder of TSV tables.
//
//   tiermark-mdbwrite [--password TEXT] [--scale N] <folder> <output.mdb>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/utf.h"
#include "tools/mdbwriter/mdb_writer.h"
#include "tools/mdbwriter/tsv_tables.h"

int main(int argc, char** argv) {
    std::u16string password;
    int scale = 1;
    std::string folder;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--password" && i + 1 < argc) {
            password = tiermark::fromUtf8(argv[++i]);
        } else if (arg == "--scale" && i + 1 < argc) {
            scale = std::atoi(argv[++i]);
        } else if (folder.empty()) {
            folder = arg;
        } else if (output.empty()) {
            output = arg;
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty() || output.empty() || scale < 1) {
        std::fprintf(stderr,
                     "usage: tiermark-mdbwrite [--password TEXT] [--scale N] <tsv folder> <output.mdb>\n");
        return 2;
    }
    auto tables = mdbwriter::readTsvFolder(folder);
    if (!tables) {
        std::fprintf(stderr, "tiermark-mdbwrite: %s\n", tables.error().message.c_str());
        return 1;
    }
    auto written =
        mdbwriter::writeJet4(mdbwriter::scaleSample(std::move(tables.value()), scale), password, output);
    if (!written) {
        std::fprintf(stderr, "tiermark-mdbwrite: %s\n", written.error().message.c_str());
        return 1;
    }
    return 0;
}

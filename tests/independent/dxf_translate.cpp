// tiermark-dxf-translate: a translated copy of a DXF file, for the test that holds it against an
// independent reader (ezdxf).
//
//   tiermark-dxf-translate SOURCE TARGET [--rename LAYER NEW COLOUR LINETYPE | --merge LAYER INTO]...
//
// Prints the copy's notes, one a line, and exits 0; on an error, prints it and exits 1.
#include <cstdio>
#include <string>
#include <vector>

#include "common/utf.h"
#include "dxf/translated_copy.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: tiermark-dxf-translate SOURCE TARGET [--rename L N C T | --merge L INTO]...\n");
        return 2;
    }
    std::vector<dxf::LayerChange> changes;
    for (int i = 3; i < argc;) {
        const std::string option = argv[i];
        if (option == "--rename" && i + 4 < argc) {
            changes.push_back({tiermark::fromUtf8(argv[i + 1]), tiermark::fromUtf8(argv[i + 2]),
                               dxf::LayerChange::Record::Renamed, std::stoi(argv[i + 3]),
                               tiermark::fromUtf8(argv[i + 4])});
            i += 5;
        } else if (option == "--merge" && i + 2 < argc) {
            changes.push_back({tiermark::fromUtf8(argv[i + 1]), tiermark::fromUtf8(argv[i + 2]),
                               dxf::LayerChange::Record::Removed, std::nullopt, std::nullopt});
            i += 3;
        } else {
            std::fprintf(stderr, "bad argument: %s\n", option.c_str());
            return 2;
        }
    }
    auto copied = dxf::writeTranslatedCopy(argv[1], argv[2], changes);
    if (!copied) {
        std::printf("%s\n", copied.error().message.c_str());
        return 1;
    }
    for (const std::u16string& note : copied->notes) {
        std::printf("%s\n", tiermark::toUtf8(note).c_str());
    }
    return 0;
}

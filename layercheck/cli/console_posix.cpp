#include <cstdio>
#include <string>

#include "common/utf.h"
#include "layercheck/cli/console.h"

namespace layercheck {

namespace {

void writeLine(std::FILE* stream, std::u16string_view line) {
    const std::string bytes = tiermark::toUtf8(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

}  // namespace

void writeOut(std::u16string_view line) {
    writeLine(stdout, line);
}

void writeErr(std::u16string_view line) {
    writeLine(stderr, line);
}

}  // namespace layercheck

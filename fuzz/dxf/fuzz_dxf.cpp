// The stand-in's DXF loading. Input: the file's bytes. Loading ends in a drawing or an error; a drawing
// that loads saves again, and what it saves loads again with the same layers and objects.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cadsim/core/drawing.h"
#include "cadsim/core/dxf_io.h"

namespace {

std::string tempPath(const char* suffix) {
    return (std::filesystem::temp_directory_path() / ("tiermark-fuzz-" + std::to_string(::getpid()) + suffix))
        .string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = tempPath("-in.dxf");
    static const std::string output = tempPath("-out.dxf");
    if (std::FILE* file = std::fopen(input.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        return 0;
    }
    auto drawing = cadsim::loadDxf(input);
    if (!drawing) {
        if (drawing.error().message.empty()) {
            std::abort();
        }
        return 0;
    }
    if (!cadsim::saveDxf(drawing.value(), output)) {
        return 0;  // a full disk or an unwritable temp folder is not the reader's fault
    }
    auto again = cadsim::loadDxf(output);
    if (!again || again->layers().size() != drawing->layers().size() ||
        again->objects().size() != drawing->objects().size()) {
        std::abort();
    }
    return 0;
}

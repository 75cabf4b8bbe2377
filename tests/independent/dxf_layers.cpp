// tiermark-dxf-layers: what Tiermark's reader makes of DXF files, as one JSON object per file, for the
// tests that hold it against an independent reader (ezdxf).
//
//   tiermark-dxf-layers FILE...   {"file": ..., "ok": true, "version": ..., "codePage": ..., "binary": ...,
//                                  "layers": [{"name", "colour", "trueColour", "linetype", "xref"}]}
//                                 or {"file": ..., "ok": false, "error": ...}
//   tiermark-dxf-layers --palette the RGB of every colour number, one "n rrggbb" line each
#include <cstdio>
#include <string>

#include "common/utf.h"
#include "dxf/colour_numbers.h"
#include "dxf/layer_table.h"

namespace {

std::string json(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string json(const std::u16string& text) {
    return json(tiermark::toUtf8(text));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--palette") {
        for (int n = 1; n <= 255; ++n) {
            std::printf("%d %06x\n", n, static_cast<unsigned>(*dxf::colourNumberRgb(n)));
        }
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string file = argv[i];
        auto table = dxf::readLayerTableFile(file);
        if (!table) {
            std::printf("{\"file\": %s, \"ok\": false, \"error\": %s}\n", json(file).c_str(),
                        json(table.error().message).c_str());
            continue;
        }
        std::string layers;
        for (const cadlink::DrawingLayer& layer : table->layers) {
            layers += std::string(layers.empty() ? "" : ", ") + "{\"name\": " + json(layer.name) +
                      ", \"colour\": " + std::to_string(layer.colour) + ", \"trueColour\": " +
                      (layer.trueColour ? std::to_string(*layer.trueColour) : std::string("null")) +
                      ", \"linetype\": " + json(layer.linetype) +
                      ", \"xref\": " + (layer.xrefDependent ? "true" : "false") + "}";
        }
        std::printf("{\"file\": %s, \"ok\": true, \"version\": %s, \"codePage\": %s, \"binary\": %s, "
                    "\"layers\": [%s]}\n",
                    json(file).c_str(), json(table->version).c_str(), json(table->codePage).c_str(),
                    table->binary ? "true" : "false", layers.c_str());
    }
    return 0;
}

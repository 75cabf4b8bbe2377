// tiermark-dxf-layers: what Tiermark's reader makes of DXF files, as one JSON object per file, for the
// tests that hold it against an independent reader (ezdxf).
//
//   tiermark-dxf-layers FILE...   {"file": ..., "ok": true, "version": ..., "codePage": ..., "binary": ...,
//                                  "layers": [{"name", "colour", "trueColour", "linetype", "xref"}]}
//                                 or {"file": ..., "ok": false, "error": ...}
//   tiermark-dxf-layers --palette the RGB of every colour number, one "n rrggbb" line each
#include <cstdio>
#include <string>

#include "cadsim/core/json.h"
#include "common/utf.h"
#include "dxf/colour_numbers.h"
#include "dxf/layer_table.h"

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
            std::printf("{\"file\": %s, \"ok\": false, \"error\": %s}\n", cadsim::jsonString(file).c_str(),
                        cadsim::jsonString(table.error().message).c_str());
            continue;
        }
        std::string layers;
        for (const cadlink::DrawingLayer& layer : table->layers) {
            layers += std::string(layers.empty() ? "" : ", ") +
                      "{\"name\": " + cadsim::jsonString(layer.name) +
                      ", \"colour\": " + std::to_string(layer.colour) + ", \"trueColour\": " +
                      (layer.trueColour ? std::to_string(*layer.trueColour) : std::string("null")) +
                      ", \"linetype\": " + cadsim::jsonString(layer.linetype) +
                      ", \"xref\": " + (layer.xrefDependent ? "true" : "false") + "}";
        }
        std::printf(
            "{\"file\": %s, \"ok\": true, \"version\": %s, \"codePage\": %s, \"binary\": %s, "
            "\"layers\": [%s]}\n",
            cadsim::jsonString(file).c_str(), cadsim::jsonString(table->version).c_str(),
            cadsim::jsonString(table->codePage).c_str(), table->binary ? "true" : "false", layers.c_str());
    }
    return 0;
}

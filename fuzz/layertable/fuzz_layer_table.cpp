// The layer table read from a DXF file, as the layer check and the changer's "参照..." read it. Input: the
// file's bytes. Reading ends in a table or in a Japanese message, never in a crash or a hang. A table read
// holds each name once (compared as AutoCAD LT compares them), no empty name and colours 1 to 255; and its
// layers, written as a layer set (the export's writer, dxflib) and read again, come back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "cadlink/sendable_text.h"
#include "common/ascii.h"
#include "dxf/layer_set_dxf.h"
#include "dxf/layer_table.h"

namespace {

// A name the link would type into AutoCAD LT: any other is no layer of a set to write, and may not read
// back as it stands (a backslash starts an escape).
bool writable(std::u16string_view name) {
    return name.empty() || !cadlink::layerNameProblem(name);
}

// A text written in code page 932 reads back as itself: the reader trusts the header's code page.
bool readsBackAs(std::u16string_view written, std::u16string_view read) {
    return written == read;
}

std::u16string effectiveLinetype(const cadlink::DrawingLayer& layer) {
    return layer.linetype.empty() ? std::u16string(u"Continuous") : layer.linetype;
}

// A file the writer made reads without fault.
dxf::LayerTable readBack(const std::string& bytes) {
    std::istringstream in(bytes);
    auto table = dxf::readLayerTable(in);
    if (!table) {
        std::abort();
    }
    return std::move(table.value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    auto table = dxf::readLayerTable(in);
    if (!table) {
        if (table.error().message.empty()) {
            std::abort();  // every failure tells the user why
        }
        return 0;
    }

    std::unordered_set<std::u16string> seen;
    std::vector<cadlink::DrawingLayer> set;
    for (const cadlink::DrawingLayer& layer : table->layers) {
        if (layer.name.empty() || layer.colour < 1 || layer.colour > 255 ||
            !seen.insert(tiermark::asciiUppercased(layer.name)).second) {
            std::abort();
        }
        if (tiermark::asciiUppercased(layer.name) != u"0" && writable(layer.name) &&
            writable(layer.linetype)) {
            set.push_back(layer);
        }
    }
    if (table->layers.size() > dxf::kMaxLayers) {
        std::abort();
    }

    // The export's writer refuses only names code page 932 cannot hold (a name read as U+FFFD); what it
    // writes reads back as layer "0" and then the same layers.
    auto written = dxf::layerSetDxf(set);
    if (!written) {
        if (written.error().message.empty()) {
            std::abort();
        }
        return 0;
    }
    const dxf::LayerTable again = readBack(written->bytes);
    if (again.layers.size() != set.size() + 1 || again.layers[0].name != u"0") {
        std::abort();
    }
    for (std::size_t i = 0; i < set.size(); ++i) {
        const cadlink::DrawingLayer& back = again.layers[i + 1];
        if (!readsBackAs(set[i].name, back.name) || back.colour != set[i].colour ||
            !readsBackAs(tiermark::asciiUppercased(effectiveLinetype(set[i])),
                         tiermark::asciiUppercased(effectiveLinetype(back)))) {
            std::abort();
        }
    }
    return 0;
}

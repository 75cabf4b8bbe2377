// The translated copy of a DXF file, as the folder run and the translation window write it. Input: the
// file's bytes. The copy ends in a file or in a Japanese message, never in a crash or a hang. Told to change
// nothing, it writes every byte as it came; told to rename one layer and merge another into layer 0, its
// layer table reads back with the renamed layer and without the merged one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "common/ascii.h"
#include "dxf/layer_table.h"
#include "dxf/translated_copy.h"

namespace {

bool copies(const std::string& bytes, const std::vector<dxf::LayerChange>& changes, std::string& out) {
    std::istringstream in(bytes);
    std::ostringstream written;
    auto copied = dxf::copyTranslated(in, written, changes);
    if (!copied && copied.error().message.empty()) {
        std::abort();  // every failure tells the user why
    }
    out = written.str();
    return copied.ok();
}

bool holds(const dxf::LayerTable& table, std::u16string_view name) {
    for (const cadlink::DrawingLayer& layer : table.layers) {
        if (tiermark::equalsIgnoringAsciiCase(layer.name, name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string same;
    const bool whole = copies(bytes, {}, same);
    if (whole && same != bytes) {
        std::abort();
    }
    std::istringstream in(bytes);
    auto table = dxf::readLayerTable(in);
    if (!table || table->layers.size() < 3 || table->layers[0].name != u"0" || holds(*table, u"T-1")) {
        return 0;
    }
    const std::u16string renamed = table->layers[1].name;
    const std::u16string merged = table->layers[2].name;
    const std::vector<dxf::LayerChange> changes = {
        {renamed, u"T-1", dxf::LayerChange::Record::Renamed, 3, u"Continuous"},
        {merged, u"0", dxf::LayerChange::Record::Removed, std::nullopt, std::nullopt}};
    std::string translated;
    if (copies(bytes, changes, translated) != whole) {
        std::abort();  // the changes never make a file readable or unreadable
    }
    if (!whole) {
        return 0;
    }
    std::istringstream back(translated);
    auto again = dxf::readLayerTable(back);
    if (!again || !holds(*again, u"T-1") || holds(*again, merged) ||
        again->layers.size() != table->layers.size() - 1) {
        std::abort();
    }
    return 0;
}

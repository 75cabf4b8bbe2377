#include "builder/layer_set.h"

#include <cstdint>

#include "builder/cascade.h"
#include "builder/colours.h"
#include "builder/layer_names.h"
#include "builder/value_text.h"
#include "cadlink/command_texts.h"
#include "common/ascii.h"

namespace builder {

std::optional<std::int16_t> numberedFamily(const stddb::Value& remarks) {
    const std::optional<double> value = valueNumber(remarks);
    if (!value || (*value != 1.0 && *value < 2.0)) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> whole = valueInteger(remarks);
    if (!whole || *whole > INT16_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*whole);
}

std::u16string rowLinetype(const stddb::Value& linetype) {
    const std::u16string text = stddb::asText(linetype);
    return text == u"実線" ? std::u16string(cadlink::kContinuous) : text;
}

std::int64_t rowColour(const stddb::Value& colourName, const ColourLookup& lookup) {
    if (stddb::isNull(colourName)) {
        return layerColour(7);
    }
    const std::u16string name = stddb::asText(colourName);
    if (name == u"任意") {
        return layerColour(8);
    }
    // A name without a row in "線色マスター" gets 7 rather than whatever the previous layer had.
    const std::optional<stddb::Value> constant = lookup ? lookup(name) : std::nullopt;
    const std::optional<std::int64_t> number = constant ? valueInteger(*constant) : std::nullopt;
    return layerColour(number.value_or(kColourWithoutRow));
}

cadlink::LayerRecord rowRecord(const LayerRow& row, std::u16string_view letter, bool standardNamesOnly,
                               const ColourLookup& lookup) {
    cadlink::LayerRecord record;
    record.name = standardLayerName(letter, row.object, row.element);
    record.display = displayName(standardNamesOnly, row.content, record.name);
    if (!isTemplateElement(row.element)) {
        record.linetype = rowLinetype(row.linetype);
        record.colour = rowColour(row.colour, lookup);
    }
    return record;
}

std::vector<cadlink::LayerRecord> plannedLayers(const std::vector<LayerRow>& rows, int stageIndex,
                                                bool standardNamesOnly, const ColourLookup& lookup) {
    const std::u16string letter = lifeCycleLetter(stageIndex);
    std::vector<cadlink::LayerRecord> layers;
    for (const LayerRow& row : rows) {
        if (numberedFamily(row.remarks) || isTemplateElement(row.element)) {
            continue;
        }
        cadlink::LayerRecord layer = rowRecord(row, letter, standardNamesOnly, lookup);
        const std::u16string& name = layer.name;
        auto earlier = std::find_if(layers.begin(), layers.end(), [&](const cadlink::LayerRecord& l) {
            return tiermark::equalsIgnoringAsciiCase(l.name, name);
        });
        if (earlier != layers.end()) {
            // Creating it again changes nothing; its line type and colour are set once more.
            earlier->linetype = layer.linetype;
            earlier->colour = layer.colour;
        } else {
            layers.push_back(std::move(layer));
        }
    }
    return layers;
}

std::vector<PlannedFamily> plannedFamilies(const std::vector<LayerRow>& rows, int stageIndex) {
    const std::u16string letter = lifeCycleLetter(stageIndex);
    std::vector<PlannedFamily> families;
    for (const LayerRow& row : rows) {
        if (const std::optional<std::int16_t> family = numberedFamily(row.remarks)) {
            families.push_back(PlannedFamily{standardLayerName(letter, row.object, row.element), *family});
        }
    }
    return families;
}

}  // namespace builder

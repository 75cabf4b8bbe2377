#include "builder/layer_set_export.h"

#include "builder/creation_run.h"
#include "cadlink/command_texts.h"
#include "cadlink/script.h"
#include "cadlink/sendable_text.h"
#include "common/utf.h"
#include "dxf/layer_set_dxf.h"

namespace builder {

tiermark::Result<LayerSetFiles> layerSetFiles(const std::vector<cadlink::LayerRecord>& layers) {
    if (layers.empty()) {
        return tiermark::makeError("この図面名には書き出すレイヤーがありません。");
    }
    std::vector<cadlink::DrawingLayer> drawingLayers;
    std::vector<std::u16string> leftOut;
    cadlink::Script script;
    for (const cadlink::LayerRecord& layer : layers) {
        const std::string named = "レイヤー「" + tiermark::toUtf8(layer.name) + "」: ";
        if (layer.colour < 1 || layer.colour > 255) {
            return tiermark::makeError(named + "色番号 " + std::to_string(layer.colour) +
                                       " は AutoCAD LT の色番号（1～255）ではありません。");
        }
        const cadlink::LayerDefinition definition =
            cadlink::layerDefinitionTexts(layer, cadlink::LayerUse::Exported);
        // What the link would not type into AutoCAD LT is not written either: the layer is left out and
        // named, as "レイヤー作成" leaves it out.
        if (!definition.ok()) {
            leftOut.push_back(layer.name.empty() ? std::u16string(kNoName)
                                                 : cadlink::visibleText(layer.name));
            continue;
        }
        std::vector<std::vector<std::u16string>> sequences{definition.create};
        sequences.insert(sequences.end(), definition.properties.begin(), definition.properties.end());
        for (const std::vector<std::u16string>& sequence : sequences) {
            if (auto added = script.add(sequence); !added) {
                return tiermark::makeError(named + added.error().message);
            }
        }
        drawingLayers.push_back(cadlink::DrawingLayer{layer.name, static_cast<int>(layer.colour),
                                                      cadlink::effectiveLinetype(layer)});
    }
    if (drawingLayers.empty()) {
        return tiermark::makeError(tiermark::toUtf8(leftOutMessage(leftOut)));
    }
    auto scriptBytes = script.bytes();
    if (!scriptBytes) {
        return scriptBytes.error();
    }
    auto drawing = dxf::layerSetDxf(drawingLayers);
    if (!drawing) {
        return drawing.error();
    }
    return LayerSetFiles{std::move(drawing->bytes), std::move(*scriptBytes),
                         std::move(drawing->unknownLinetypes), std::move(leftOut)};
}

}  // namespace builder

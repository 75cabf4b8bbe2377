#include "builder/layer_set_export.h"

#include <algorithm>
#include <iterator>

#include "builder/creation_run.h"
#include "cadlink/command_texts.h"
#include "cadlink/script.h"
#include "cadlink/sendable_text.h"
#include "common/utf.h"
#include "dxf/layer_set_dxf.h"

namespace builder {

tiermark::Result<LayerSetFiles> layerSetFiles(const std::vector<PlannedLayer>& layers) {
    if (layers.empty()) {
        return tiermark::makeError("この図面名には書き出すレイヤーがありません。");
    }
    std::vector<cadlink::DrawingLayer> drawingLayers;
    std::vector<std::u16string> leftOut;
    cadlink::Script script;
    for (const PlannedLayer& layer : layers) {
        const std::string named = "レイヤー「" + tiermark::toUtf8(layer.name) + "」: ";
        if (layer.colour < 1 || layer.colour > 255) {
            return tiermark::makeError(named + "色番号 " + std::to_string(layer.colour) +
                                       " は AutoCAD LT の色番号（1～255）ではありません。");
        }
        const cadlink::Sequence sequences[] = {cadlink::createLayerTexts(layer.name),
                                               cadlink::linetypeTexts(layer.linetype, layer.name),
                                               cadlink::colourTexts(layer.colour, layer.name)};
        // What the link would not type into AutoCAD LT is not written either: the layer is left out and
        // named, as "レイヤー作成" leaves it out.
        if (std::any_of(std::begin(sequences), std::end(sequences),
                        [](const cadlink::Sequence& sequence) { return !sequence.ok(); })) {
            leftOut.push_back(layer.name.empty() ? std::u16string(kNoName)
                                                 : cadlink::visibleText(layer.name));
            continue;
        }
        for (const cadlink::Sequence& sequence : sequences) {
            if (auto added = script.add(*sequence); !added) {
                return tiermark::makeError(named + added.error().message);
            }
        }
        drawingLayers.push_back(
            cadlink::DrawingLayer{layer.name, static_cast<int>(layer.colour), effectiveLinetype(layer)});
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

#include "core/drawing_layers.h"

#include "common/utf.h"
#include "core/program.h"

namespace core {

bool drawingReadable(const Program& program) {
    const cadlink::DrawingAccess* drawing = program.drawing();
    return drawing != nullptr && drawing->available();
}

ChosenDrawingLayers readChosenDrawing(const Program& program, bool currentLayerToo) {
    ChosenDrawingLayers read;
    cadlink::DrawingAccess* drawing = program.drawing();
    cadlink::WindowHandle window = 0;
    if (drawing == nullptr || !program.targetWindow(window)) {
        read.problem = u"対象の図面が選ばれていません。";
        return read;
    }
    auto layers = drawing->layerTable(window);
    if (!layers) {
        read.problem = u"図面の画層を読み取れませんでした。\r" + tiermark::fromUtf8(layers.error().message);
        return read;
    }
    if (currentLayerToo) {
        auto current = drawing->currentLayer(window);
        if (!current) {
            read.problem =
                u"図面の画層を読み取れませんでした。\r" + tiermark::fromUtf8(current.error().message);
            return read;
        }
        read.currentLayer = std::move(*current);
    }
    read.layers = std::move(*layers);
    read.source = u"読み込み元：図面 " + program.chosenDrawing()->name;
    return read;
}

}  // namespace core

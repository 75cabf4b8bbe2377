#include "cadlink/drawing_access.h"

#include "common/ascii.h"

namespace cadlink {

tiermark::Result<bool> DrawingAccess::hasLayer(WindowHandle window, std::u16string_view name) {
    auto names = layerNames(window);
    if (!names) {
        return names.error();
    }
    for (const std::u16string& layer : *names) {
        if (tiermark::equalsIgnoringAsciiCase(layer, name)) {
            return true;
        }
    }
    return false;
}

tiermark::Result<std::vector<DrawingLayer>> DrawingAccess::layerTable(WindowHandle) {
    return tiermark::makeError(available() ? kNoLayerTableMessage : kNoReadBackMessage);
}

tiermark::Result<std::u16string> DrawingAccess::currentLayer(WindowHandle) {
    return std::u16string();
}

tiermark::Result<std::vector<std::u16string>> NullDrawingAccess::layerNames(WindowHandle) {
    return tiermark::makeError(kNoReadBackMessage);
}

tiermark::Result<void> NullDrawingAccess::renameLayer(WindowHandle, std::u16string_view,
                                                      std::u16string_view) {
    return tiermark::makeError(kNoReadBackMessage);
}

}  // namespace cadlink

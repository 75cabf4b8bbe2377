#include "cadlink/drawing_access.h"

namespace cadlink {

namespace {
char16_t fold(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool sameLayerName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}
}  // namespace

tiermark::Result<bool> DrawingAccess::hasLayer(WindowHandle window, std::u16string_view name) {
    auto names = layerNames(window);
    if (!names) {
        return names.error();
    }
    for (const std::u16string& layer : *names) {
        if (sameLayerName(layer, name)) {
            return true;
        }
    }
    return false;
}

tiermark::Result<std::vector<DrawingLayer>> DrawingAccess::layerTable(WindowHandle) {
    return tiermark::makeError(available() ? kNoLayerTableMessage : kNoReadBackMessage);
}

tiermark::Result<std::vector<std::u16string>> NullDrawingAccess::layerNames(WindowHandle) {
    return tiermark::makeError(kNoReadBackMessage);
}

tiermark::Result<void> NullDrawingAccess::renameLayer(WindowHandle, std::u16string_view,
                                                      std::u16string_view) {
    return tiermark::makeError(kNoReadBackMessage);
}

}  // namespace cadlink

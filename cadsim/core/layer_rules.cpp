#include "cadsim/core/layer_rules.h"

#include "cadsim/core/drawing.h"
#include "cadsim/core/text.h"
#include "common/utf.h"

namespace cadsim {

namespace {
constexpr std::size_t kMaxLayerName = 255;
constexpr std::u16string_view kForbidden = u"<>/\\\":;?*|,=`'";
}  // namespace

bool isForbiddenLayerChar(char16_t c) {
    return c < 0x20 || kForbidden.find(c) != std::u16string_view::npos;
}

std::optional<std::string> invalidLayerNameReason(std::u16string_view name) {
    if (name.empty()) {
        return std::string("A layer name cannot be empty.");
    }
    if (name.size() > kMaxLayerName) {
        return std::string("A layer name can be at most 255 characters long.");
    }
    for (char16_t c : name) {
        if (isForbiddenLayerChar(c)) {
            const std::string shown =
                c < 0x20 ? "a control character" : "\"" + tiermark::toUtf8(std::u16string(1, c)) + "\"";
            return "\"" + tiermark::toUtf8(name) + "\" is not a valid layer name: it holds " + shown + ".";
        }
    }
    return std::nullopt;
}

bool isFixedLayer(std::u16string_view name) {
    return equalsNoCase(name, kLayerZero) || equalsNoCase(name, kLayerDefpoints);
}

}  // namespace cadsim

#include "cadsim/core/layer_rules.h"

#include "cadsim/core/text.h"
#include "common/ascii.h"
#include "common/utf.h"

namespace cadsim {

namespace {
constexpr std::size_t kMaxName = 255;
constexpr std::size_t kMaxRelease14Name = 31;
constexpr std::u16string_view kForbidden = u"<>/\\\":;?*|,=`'";

bool isRelease14Char(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'$' ||
           c == u'_' || c == u'-';
}

std::string shown(char16_t c) {
    return c < 0x20 ? "a control character" : "\"" + tiermark::toUtf8(std::u16string(1, c)) + "\"";
}
}  // namespace

bool isForbiddenLayerChar(char16_t c) {
    return c < 0x20 || kForbidden.find(c) != std::u16string_view::npos;
}

std::optional<std::string> invalidLayerNameReason(std::u16string_view name, NameRules rules) {
    if (name.empty()) {
        return std::string("A layer name cannot be empty.");
    }
    const bool release14 = rules == NameRules::Release14;
    if (name.size() > (release14 ? kMaxRelease14Name : kMaxName)) {
        return release14 ? std::string("A layer name can be at most 31 characters long (EXTNAMES 0).")
                         : std::string("A layer name can be at most 255 characters long.");
    }
    for (char16_t c : name) {
        if (release14 ? !isRelease14Char(c) : isForbiddenLayerChar(c)) {
            return "\"" + tiermark::toUtf8(name) + "\" is not a valid layer name: it holds " + shown(c) +
                   (release14 ? " (EXTNAMES 0 takes A-Z, 0-9, $, _ and - only)." : ".");
        }
    }
    return std::nullopt;
}

bool isFixedLayer(std::u16string_view name) {
    return tiermark::equalsIgnoringAsciiCase(name, kLayerZero) ||
           tiermark::equalsIgnoringAsciiCase(name, kLayerDefpoints);
}

bool isXrefDependentLayer(std::u16string_view name) {
    return name.find(u'|') != std::u16string_view::npos;
}

}  // namespace cadsim

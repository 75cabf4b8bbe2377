#include "builder/layer_names.h"

#include "builder/value_text.h"

namespace builder {

std::u16string standardLayerName(std::u16string_view letter, const stddb::Value& object,
                                 const stddb::Value& element) {
    std::u16string name(letter);
    name += stddb::asText(object);
    if (!stddb::isNull(element)) {
        name += stddb::asText(element);
    }
    return name;
}

std::u16string displayName(bool standardNamesOnly, const stddb::Value& content,
                           std::u16string_view standardName) {
    if (standardNamesOnly) {
        return std::u16string(standardName);
    }
    return stddb::asText(content) + std::u16string(standardName);
}

std::optional<std::u16string> standardPart(std::u16string_view name) {
    const std::size_t hyphen = name.find(u'-');
    if (hyphen == std::u16string_view::npos) {
        return std::nullopt;
    }
    return std::u16string(name.substr(hyphen == 0 ? 0 : hyphen - 1));
}

std::u16string offeredLayer(std::u16string_view display) {
    return standardPart(display).value_or(std::u16string(display));
}

std::u16string targetLayer(std::u16string_view chosenText) {
    // The list offers display names; the rule that recovers their standard names applies to typed text too.
    return standardPart(chosenText).value_or(std::u16string());
}

bool isTemplateElement(const stddb::Value& element) {
    if (stddb::isNull(element)) {
        return false;
    }
    const std::u16string text = stddb::asText(element);
    return !text.empty() && text.back() == u'n';
}

}  // namespace builder

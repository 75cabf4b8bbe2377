#include "builder/layer_commands.h"

#include "builder/value_text.h"

namespace builder {

namespace {

std::u16string line(std::u16string_view text) {
    return std::u16string(text) + u"\r";
}

}  // namespace

std::vector<std::u16string> createLayerTexts(std::u16string_view name) {
    return {std::u16string(kEscEsc), std::u16string(kLayerCommand), std::u16string(kNewOption), line(name),
            std::u16string(kEsc)};
}

std::vector<std::u16string> linetypeTexts(std::u16string_view linetype, std::u16string_view name) {
    return {std::u16string(kEscEsc),
            std::u16string(kLayerCommand),
            std::u16string(kLinetypeOption),
            line(linetype),
            line(name),
            std::u16string(kEscEsc)};
}

std::vector<std::u16string> colourTexts(std::int64_t colour, std::u16string_view name) {
    return {std::u16string(kEscEsc),
            std::u16string(kLayerCommand),
            std::u16string(kColourOption),
            line(integerText(colour)),
            line(name),
            std::u16string(kEscEsc)};
}

}  // namespace builder

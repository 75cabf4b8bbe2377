#include "cadlink/sendable_text.h"

#include "common/utf.h"

namespace cadlink {

namespace {

bool isControl(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

// The characters AutoCAD's named-object rules exclude from names ("Rename Objects (.NET)" in Autodesk's
// developer guide lists them), and the backquote.
constexpr std::u16string_view kNameCharacters = u"<>/\\\":;?*|,=`'";

}  // namespace

std::optional<TextProblem> answerProblem(std::u16string_view text) {
    for (char16_t c : text) {
        if (isControl(c)) {
            return TextProblem::ControlCharacter;
        }
    }
    if (!tiermark::isValidUtf16(text)) {
        return TextProblem::UnpairedSurrogate;
    }
    return std::nullopt;
}

std::optional<TextProblem> layerNameProblem(std::u16string_view name) {
    if (auto problem = answerProblem(name)) {
        return problem;
    }
    if (name.empty()) {
        return TextProblem::EmptyName;
    }
    if (name.size() > kMaxLayerName) {
        return TextProblem::NameTooLong;
    }
    if (name.find_first_of(kNameCharacters) != std::u16string_view::npos) {
        return TextProblem::NameCharacter;
    }
    if (name.find(u' ') != std::u16string_view::npos) {
        return TextProblem::Blank;
    }
    return std::nullopt;
}

std::u16string visibleText(std::u16string_view text) {
    std::u16string shown = tiermark::replaceUnpairedSurrogates(std::u16string(text));
    for (char16_t& c : shown) {
        if (c < 0x20) {
            c = static_cast<char16_t>(0x2400 + c);  // the Control Pictures block: ␀ … ␟
        } else if (c == 0x7F) {
            c = u'\u2421';  // ␡
        }
    }
    return shown;
}

}  // namespace cadlink

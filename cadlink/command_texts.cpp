#include "cadlink/command_texts.h"

#include "builder/layer_names.h"
#include "common/numtext.h"

namespace app {

namespace {

// A text ending in CR and NUL, as AutoCAD LT takes one line of input.
std::u16string line(std::u16string_view text) {
    std::u16string result(text);
    result += u'\r';
    result += u'\0';
    return result;
}

// ESC ESC NUL: back to an idle command line.
std::u16string escape() {
    return std::u16string(u"\x1b\x1b\0", 3);
}

void append(std::vector<std::u16string>& to, std::vector<std::u16string> texts) {
    for (auto& text : texts) {
        to.push_back(std::move(text));
    }
}

}  // namespace

std::vector<std::u16string> groupCreationTexts() {
    return {escape(), line(u"-group"), line(u"C"), line(kGroupName), line(u"C")};
}

std::vector<std::u16string> moveTexts(double x, double y) {
    const std::u16string displacement =
        u"0,0\r" + tiermark::shortestDecimalU16(x) + u"," + tiermark::shortestDecimalU16(y);
    return {line(u"_move"), line(u"G"), line(std::u16string(kGroupName) + u"\r"), line(displacement),
            escape()};
}

std::u16string targetLayer(std::u16string_view combo1Text) {
    // Combo1 offers display names; the rule that recovers their standard names applies to typed text too.
    return builder::standardNameFromDisplayName(combo1Text).value_or(std::u16string());
}

std::vector<std::u16string> changeTexts(std::u16string_view combo1Text) {
    return {line(u"change"),
            line(u"G"),
            line(kGroupName),
            line(u""),
            line(u"P"),
            line(u"LA"),
            line(targetLayer(combo1Text)),
            line(u""),
            escape()};
}

std::vector<std::u16string> removalTexts() {
    return {line(u"-group"), line(u"U"), line(kGroupName), escape()};
}

std::vector<std::u16string> startTexts() {
    return groupCreationTexts();
}

std::vector<std::u16string> executeChangeTexts(std::u16string_view combo1Text, double x, double y) {
    std::vector<std::u16string> texts = moveTexts(x, y);
    append(texts, changeTexts(combo1Text));
    append(texts, removalTexts());
    return texts;
}

std::vector<std::u16string> executeMoveTexts(double x, double y) {
    std::vector<std::u16string> texts = moveTexts(x, y);
    append(texts, removalTexts());
    return texts;
}

std::vector<std::u16string> cancelTexts() {
    return removalTexts();
}

}  // namespace app

#include "cadlink/sendable_text.h"

#include <gtest/gtest.h>

#include "common/utf.h"

namespace cadlink {
namespace {

using P = std::optional<TextProblem>;

std::u16string with(char16_t c) {
    return u"D-ST" + std::u16string(1, c) + u"R";
}

TEST(SendableText, AnswersHoldNoControlCharacterAndNoHalfPair) {
    const char16_t lead = u"𠀋"[0];
    const struct {
        std::u16string text;
        P problem;
    } cases[] = {
        {u"", std::nullopt},  // Enter alone
        {u"Continuous", std::nullopt},
        {u"一点鎖線 (2)", std::nullopt},
        {u"A/B:C", std::nullopt},  // name characters are fine in an answer that names nothing
        {u"𠀋", std::nullopt},
        {with(u'\r'), TextProblem::ControlCharacter},
        {with(u'\n'), TextProblem::ControlCharacter},
        {with(u'\x1b'), TextProblem::ControlCharacter},
        {with(u'\0'), TextProblem::ControlCharacter},
        {with(u'\x1f'), TextProblem::ControlCharacter},
        {with(u'\x7f'), TextProblem::ControlCharacter},
        {with(u'\t'), TextProblem::ControlCharacter},
        {with(lead), TextProblem::UnpairedSurrogate},
        {std::u16string(1, u"𠀋"[1]), TextProblem::UnpairedSurrogate},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(answerProblem(c.text), c.problem) << tiermark::toUtf8(visibleText(c.text));
    }
    // Neither the space nor characters above U+007F are control characters here.
    EXPECT_EQ(answerProblem(u" \u0080\u00a0\u3000"), std::nullopt);
}

TEST(SendableText, LayerNamesAreWhatAutoCadLtTakes) {
    const struct {
        std::u16string name;
        P problem;
    } cases[] = {
        {u"D-STR-DIM", std::nullopt},
        {u"構造物D-STR", std::nullopt},
        {u"ﾊﾝｶｸ D-STR", TextProblem::Blank},  // the blank would end the name as Enter does
        {u" D-STR", TextProblem::Blank},
        {u"D-STR ", TextProblem::Blank},
        {u"全角　D-STR", std::nullopt},  // the ideographic space is a character of the name
        {u"it's", TextProblem::NameCharacter},
        {u"D-\u00e9", std::nullopt},  // the wide text carries what code page 932 cannot
        {u"D-𠀋", std::nullopt},
        {u"", TextProblem::EmptyName},
        {std::u16string(255, u'層'), std::nullopt},
        {std::u16string(256, u'A'), TextProblem::NameTooLong},
        {u"-TTL\r\x1b\x1b-RENAME\rLA\r外形線\rPWNED-BY-DB\r", TextProblem::ControlCharacter},
        {std::u16string(u"D-STR") + u"𠀋"[0], TextProblem::UnpairedSurrogate},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layerNameProblem(c.name), c.problem) << tiermark::toUtf8(visibleText(c.name));
    }
    for (char16_t c : std::u16string_view(u"<>/\\\":;?*|,=`'")) {
        EXPECT_EQ(layerNameProblem(with(c)), TextProblem::NameCharacter) << tiermark::toUtf8(with(c));
    }
    for (char16_t c = 0; c < 0x20; ++c) {
        EXPECT_EQ(layerNameProblem(with(c)), TextProblem::ControlCharacter) << int(c);
    }
}

TEST(SendableText, MessagesShowControlCharactersAndHalfPairsVisibly) {
    EXPECT_EQ(visibleText(u"-TTL\r\x1b\x1b-RENAME\x7f"), u"-TTL␍␛␛-RENAME␡");
    EXPECT_EQ(visibleText(std::u16string(u"a\0b", 3)), u"a␀b");
    EXPECT_EQ(visibleText(std::u16string(1, u"𠀋"[1]) + u"D"), u"\uFFFDD");
    EXPECT_EQ(visibleText(u"構造物D-STR"), u"構造物D-STR");
}

}  // namespace
}  // namespace cadlink

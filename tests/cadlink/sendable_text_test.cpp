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

TEST(SendableText, LayerNamesAreWhatAutoCadLtTakesAndTheFormCarries) {
    const struct {
        std::u16string name;
        TextForm form;
        P problem;
    } cases[] = {
        {u"D-STR-DIM", TextForm::Wide, std::nullopt},
        {u"構造物D-STR", TextForm::Narrow, std::nullopt},
        {u"ﾊﾝｶｸ D-STR", TextForm::Narrow, std::nullopt},
        {u"it's", TextForm::Wide, std::nullopt},
        {u"D-\u00e9", TextForm::Wide, std::nullopt},
        {u"D-\u00e9", TextForm::Narrow, TextProblem::NotCarried},
        {u"D-𠀋", TextForm::Wide, std::nullopt},
        {u"D-𠀋", TextForm::Narrow, TextProblem::NotCarried},
        {u"", TextForm::Wide, TextProblem::EmptyName},
        {std::u16string(255, u'層'), TextForm::Wide, std::nullopt},
        {std::u16string(256, u'A'), TextForm::Wide, TextProblem::NameTooLong},
        {u"-TTL\r\x1b\x1b-RENAME\rLA\r外形線\rPWNED-BY-DB\r", TextForm::Wide, TextProblem::ControlCharacter},
        {std::u16string(u"D-STR") + u"𠀋"[0], TextForm::Wide, TextProblem::UnpairedSurrogate},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layerNameProblem(c.name, c.form), c.problem) << tiermark::toUtf8(visibleText(c.name));
    }
    for (char16_t c : std::u16string_view(u"<>/\\\":;?*|,=`")) {
        EXPECT_EQ(layerNameProblem(with(c), TextForm::Wide), TextProblem::NameCharacter)
            << tiermark::toUtf8(with(c));
    }
    for (char16_t c = 0; c < 0x20; ++c) {
        EXPECT_EQ(layerNameProblem(with(c), TextForm::Wide), TextProblem::ControlCharacter) << int(c);
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

#include "common/codepage.h"

#include <gtest/gtest.h>

#include "common/utf.h"

namespace tiermark {
namespace {

// Each text beside its code page 932 bytes, both directions.
struct Sample {
    std::u16string text;
    std::string bytes;
};

TEST(CodePage, ConvertsEveryKindOfCharacterBothWays) {
    const Sample samples[] = {
        {u"AutoCAD LT - [Drawing1.dwg]", "AutoCAD LT - [Drawing1.dwg]"},
        {u"図面", "\x90\x7D\x96\xCA"},
        {u"構", "\x8D\x5C"},  // second byte is the backslash byte
        {u"ﾃｷｽﾄ ｳｨﾝﾄﾞｳ", "\xC3\xB7\xBD\xC4\x20\xB3\xA8\xDD\xC4\xDE\xB3"},
        {u"（案）　", "\x81\x69\x88\xC4\x81\x6A\x81\x40"},
        {u"～－￢", "\x81\x60\x81\x7C\x81\xCA"},  // the Windows mappings of the wave dash and friends
        {u"①Ⅰ㈱", "\x87\x40\x87\x54\x87\x8A"},    // NEC special characters
        {u"ⅰ纊", "\xFA\x40\xFA\x5C"},             // IBM extensions, where Windows writes them too
    };
    for (const Sample& sample : samples) {
        auto bytes = toCp932(sample.text);
        ASSERT_TRUE(bytes.ok()) << bytes.error().message;
        EXPECT_EQ(*bytes, sample.bytes);
        auto text = fromCp932(sample.bytes);
        ASSERT_TRUE(text.ok()) << text.error().message;
        EXPECT_EQ(*text, sample.text);
    }
}

TEST(CodePage, ReadsTheNecSelectedDuplicatesOfIbmExtensions) {
    auto text = fromCp932("\xEE\xEF\xED\x40");
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(*text, u"ⅰ纊");
}

TEST(CodePage, RefusesWhatItCannotHold) {
    auto emoji = toCp932(u"ok😀");
    ASSERT_FALSE(emoji.ok());
    EXPECT_NE(emoji.error().message.find("character 3"), std::string::npos);
    EXPECT_FALSE(toCp932(u"한국어").ok());
    EXPECT_FALSE(toCp932(std::u16string(1, char16_t(0xD800))).ok());
    // Characters that would only come out as look-alikes (they read back as other characters).
    for (const char16_t* lookAlike : {u"a£", u"a¢", u"a¬", u"a−", u"a〜", u"a‖"}) {
        auto refused = toCp932(lookAlike);
        ASSERT_FALSE(refused.ok()) << tiermark::toUtf8(lookAlike);
        EXPECT_NE(refused.error().message.find("character 2"), std::string::npos) << refused.error().message;
    }
}

TEST(CodePage, RefusesInvalidBytesStrictlyAndReplacesThemLeniently) {
    EXPECT_FALSE(fromCp932("\x81").ok());       // lead byte without trail
    EXPECT_FALSE(fromCp932("a\x81\x20").ok());  // invalid trail byte
    EXPECT_EQ(fromCp932Lenient("a\x81"), u"a\uFFFD");
    EXPECT_EQ(fromCp932Lenient("\xA0z"), u"\uFFFDz");
}

TEST(CodePage, HandlesEmptyAndLongTexts) {
    EXPECT_EQ(*toCp932(u""), "");
    std::u16string longText(100000, u'図');
    auto bytes = toCp932(longText);
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(bytes->size(), 200000u);
    EXPECT_EQ(*fromCp932(*bytes), longText);
}

}  // namespace
}  // namespace tiermark

#include "common/utf.h"

#include <gtest/gtest.h>

namespace tiermark {
namespace {

TEST(Utf, RoundTripsJapaneseAndAstralText) {
    const std::u16string text = u"図面1.dwg ﾃｷｽﾄ　𠀋";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"黒"), "\xE9\xBB\x92");
}

TEST(Utf, ReplacesBrokenInputInsteadOfFailing) {
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(fromUtf8("\xE9\xBB"), u"\uFFFD\uFFFD");
}

TEST(Utf, ReplacesOnlyTheUnitsThatArePartOfNoPair) {
    const std::u16string pair = u"𠀋";
    const char16_t lead = pair[0];
    const char16_t trail = pair[1];
    EXPECT_EQ(replaceUnpairedSurrogates(pair + u"x"), pair + u"x");
    EXPECT_EQ(replaceUnpairedSurrogates(std::u16string{trail, lead}), u"\uFFFD\uFFFD");
    EXPECT_EQ(replaceUnpairedSurrogates(std::u16string{lead, lead, trail}), u"\uFFFD" + pair);
    EXPECT_EQ(replaceUnpairedSurrogates(std::u16string{u'a', lead}), u"a\uFFFD");
    EXPECT_TRUE(isValidUtf16(pair));
    EXPECT_FALSE(isValidUtf16(std::u16string{u'a', trail}));
    EXPECT_TRUE(isValidUtf16(u""));
}

}  // namespace
}  // namespace tiermark

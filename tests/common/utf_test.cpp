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

}  // namespace
}  // namespace tiermark

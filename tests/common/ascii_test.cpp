#include "common/ascii.h"

#include <gtest/gtest.h>

namespace tiermark {
namespace {

// The letters next to A–Z and a–z in the code table ("@", "[", "`", "{") and the full-width letters look
// like candidates for a careless fold; none of them changes.
TEST(AsciiCase, FoldsOnlyTheAsciiLetters) {
    struct Case {
        std::u16string_view text;
        std::u16string_view upper;
        std::u16string_view lower;
    };
    const Case cases[] = {
        {u"", u"", u""},
        {u"d-str-dim", u"D-STR-DIM", u"d-str-dim"},
        {u"Continuous", u"CONTINUOUS", u"continuous"},
        {u"@AZ[`az{", u"@AZ[`AZ{", u"@az[`az{"},
        {u"ａｂＣ一点鎖線", u"ａｂＣ一点鎖線", u"ａｂＣ一点鎖線"},
        {u"図面A.DXF", u"図面A.DXF", u"図面a.dxf"},
        {u"\u00e9\u00c9", u"\u00e9\u00c9", u"\u00e9\u00c9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(asciiUppercased(c.text), c.upper);
        EXPECT_EQ(asciiLowercased(c.text), c.lower);
    }
    EXPECT_EQ(asciiUppercased(std::string_view("ac1015 ansi_932 @[`{")), "AC1015 ANSI_932 @[`{");
    EXPECT_EQ(asciiUppercased(std::string_view("\xe3\x81\x82z")), "\xe3\x81\x82Z");  // UTF-8 bytes stay
}

TEST(AsciiCase, EqualityIgnoresOnlyTheCaseOfAsciiLetters) {
    struct Case {
        std::u16string_view a;
        std::u16string_view b;
        bool equal;
    };
    const Case cases[] = {
        {u"", u"", true},
        {u"DEFPOINTS", u"defpoints", true},
        {u"D-Str-Dim", u"d-sTR-dIM", true},
        {u"MSysObjects", u"msysobjects", true},
        {u"ＡＢ", u"ａｂ", false},  // full-width letters keep their case
        {u"@", u"`", false},        // the characters beside the letters are not letters
        {u"[", u"{", false},
        {u"layer", u"layers", false},  // a prefix is not the name
        {u"layer ", u"layer", false},
        {u"一点鎖線", u"一点鎖線", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(equalsIgnoringAsciiCase(c.a, c.b), c.equal) << testing::PrintToString(std::u16string(c.a));
        EXPECT_EQ(equalsIgnoringAsciiCase(c.b, c.a), c.equal);
    }
}

static_assert(asciiUpper(u'a') == u'A' && asciiUpper(u'z') == u'Z' && asciiUpper(u'{') == u'{');
static_assert(asciiLower(u'A') == u'a' && asciiLower(u'Z') == u'z' && asciiLower(u'@') == u'@');
static_assert(asciiUpper('m') == 'M' && asciiUpper('`') == '`');

}  // namespace
}  // namespace tiermark

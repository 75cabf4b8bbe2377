#include "dxf/text_encoding.h"

#include <gtest/gtest.h>

namespace dxf {
namespace {

TEST(DxfTextEncoding, TheVersionAndTheCodePageOfTheHeaderSayHowTextsAreStored) {
    EXPECT_EQ(encodingOf("AC1021", "ANSI_1252"), TextEncoding::Utf8);
    EXPECT_EQ(encodingOf("AC1032", ""), TextEncoding::Utf8);
    EXPECT_EQ(encodingOf("AC1015", "ANSI_932"), TextEncoding::CodePage932);
    EXPECT_EQ(encodingOf(" ac1015 ", " ansi_932 "), TextEncoding::CodePage932);
    EXPECT_EQ(encodingOf("AC1009", ""), TextEncoding::Unstated);
    EXPECT_EQ(encodingOf("", ""), TextEncoding::Unstated);
    EXPECT_EQ(encodingOf("AC1015", "ANSI_1252"), TextEncoding::CodePage1252);
    EXPECT_EQ(encodingOf("AC1018", "ANSI_1251"), TextEncoding::Other);
}

TEST(DxfTextEncoding, JapaneseNamesReadInEveryFormTheyAreWritten) {
    const std::u16string name = u"構造物D-STR";
    const std::string cp932 =
        "\x8D\x5C\x91\xA2\x95\xA8"
        "D-STR";
    const std::string utf8 =
        "\xE6\xA7\x8B\xE9\x80\xA0\xE7\x89\xA9"
        "D-STR";
    EXPECT_EQ(decodeText(cp932, TextEncoding::CodePage932).text, name);
    EXPECT_EQ(decodeText(utf8, TextEncoding::Utf8).text, name);
    // Many programs write UTF-8 into files of earlier versions, and code page 932 into later ones.
    EXPECT_EQ(decodeText(utf8, TextEncoding::CodePage932).text, name);
    EXPECT_EQ(decodeText(cp932, TextEncoding::Utf8).text, name);
    // Escapes, as AutoCAD writes characters outside the file's code page.
    EXPECT_EQ(decodeText("\\U+69CB\\U+9020\\U+7269D-STR", TextEncoding::CodePage1252).text, name);
    EXPECT_EQ(decodeText("\\M+18D5C\\M+191A2\\M+195A8D-STR", TextEncoding::CodePage1252).text, name);
    EXPECT_EQ(decodeText("\\U+D83D\\U+DE00", TextEncoding::CodePage932).text, u"\U0001F600");
    for (const std::string& bytes : {cp932, utf8}) {
        EXPECT_FALSE(decodeText(bytes, TextEncoding::CodePage932).lossy);
    }
    // Code page 932 that is also well-formed UTF-8, of letters that code page 932 does not hold: a
    // half-width kana before a full-width letter ("ﾃＯ", C3 82 6E, would be "Ân").
    EXPECT_EQ(decodeText("\xC3\x82\x6E", TextEncoding::CodePage932).text, u"ﾃＯ");
    EXPECT_EQ(decodeText("\xDE\x82\x6E-STR", TextEncoding::CodePage932).text, u"ﾞＯ-STR");
    // In a file of AutoCAD 2007 or later, or one that names no code page, the same bytes are UTF-8.
    EXPECT_EQ(decodeText("\xC3\x82\x6E", TextEncoding::Utf8).text, u"Ân");
    EXPECT_EQ(decodeText("\xC3\x82\x6E", TextEncoding::Unstated).text, u"Ân");
    EXPECT_EQ(decodeText(cp932, TextEncoding::Unstated).text, name);
}

TEST(DxfTextEncoding, BytesTheCodePageCannotReadStandAsReplacementCharacters) {
    // 0x81 0xFF is no character of code page 932.
    const DecodedText broken = decodeText("A\x81\xFF", TextEncoding::CodePage932);
    EXPECT_TRUE(broken.lossy);
    EXPECT_EQ(broken.text.substr(0, 1), u"A");
    EXPECT_NE(broken.text.find(u'\uFFFD'), std::u16string::npos);
    // A code page the program has no table for: ASCII reads, the rest does not.
    const DecodedText other = decodeText("D-\xC0\xC1", TextEncoding::Other);
    EXPECT_TRUE(other.lossy);
    EXPECT_EQ(other.text, u"D-\uFFFD\uFFFD");
    // Code page 1252 reads its own letters and says where it defines none.
    EXPECT_EQ(decodeText("Caf\xE9", TextEncoding::CodePage1252).text, u"Café");
    EXPECT_EQ(decodeText("\x80", TextEncoding::CodePage1252).text, u"€");
    EXPECT_TRUE(decodeText("\x81", TextEncoding::CodePage1252).lossy);
    // Escapes that are not escapes stay text; a lone surrogate does not get through.
    EXPECT_EQ(decodeText("\\U+12G4\\M+", TextEncoding::CodePage932).text, u"\\U+12G4\\M+");
    const DecodedText lone = decodeText("\\U+D800x", TextEncoding::CodePage932);
    EXPECT_EQ(lone.text, u"\uFFFDx");
    EXPECT_TRUE(lone.lossy);
    EXPECT_TRUE(decodeText("\\M+5B0A1", TextEncoding::CodePage932).lossy);  // code page 936 is not read
}

}  // namespace
}  // namespace dxf

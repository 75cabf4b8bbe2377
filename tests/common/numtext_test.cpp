#include "common/numtext.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tiermark {
namespace {

TEST(ShortestDecimal, WritesTheShortestTextThatReadsBack) {
    EXPECT_EQ(shortestDecimal(694), "694");
    EXPECT_EQ(shortestDecimal(6940), "6940");
    EXPECT_EQ(shortestDecimal(297.5), "297.5");
    EXPECT_EQ(shortestDecimal(-10), "-10");
    EXPECT_EQ(shortestDecimal(0.1), "0.1");
    EXPECT_EQ(shortestDecimal(-0.0), "0");
    EXPECT_EQ(shortestDecimal(0.1 + 0.2), "0.3");  // cut at 15 significant digits
    EXPECT_EQ(shortestDecimal(123456789012.5), "123456789012.5");
}

TEST(ShortestDecimal, IgnoresTheLocaleDecimalSeparator) {
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(shortestDecimal(297.5), "297.5");
    EXPECT_EQ(parseDecimal(std::string_view("0.000")), 0.0);
    if (previous != nullptr) {
        std::setlocale(LC_NUMERIC, "C");
    }
}

TEST(ParseDecimal, ReadsTheShippedTextsAndTypedNumbers) {
    EXPECT_EQ(parseDecimal(u"10"), 10.0);
    EXPECT_EQ(parseDecimal(u"0.000"), 0.0);
    EXPECT_EQ(parseDecimal(u" 12.5 "), 12.5);
    EXPECT_EQ(parseDecimal(u"-3"), -3.0);
    EXPECT_EQ(parseDecimal(u"+3"), 3.0);
    EXPECT_EQ(parseDecimal(u"1e3"), 1000.0);
    EXPECT_EQ(parseDecimal(u".5"), 0.5);
}

TEST(ParseDecimal, RefusesWhatIsNotANumber) {
    for (const char16_t* text :
         {u"", u" ", u"abc", u"1,5", u"inf", u"nan", u"1e999", u"12a", u"--1", u"+-1", u"１０", u"1 2"}) {
        EXPECT_FALSE(parseDecimal(std::u16string_view(text)).has_value()) << std::u16string_view(text).size();
    }
}

TEST(ParseTypedNumber, ReadsWhatTheInputMethodTypes) {
    const std::pair<std::u16string_view, double> cases[] = {
        {u"９４１０", 9410.0}, {u"9410", 9410.0}, {u"１２．５", 12.5},       {u"－１０", -10.0},
        {u"−10", -10.0},       {u"＋３", 3.0},    {u"　６９４０　", 6940.0}, {u"１ｅ３", 1000.0},
        {u"1Ｅ3", 1000.0},     {u"0.000", 0.0},   {u"９4１0", 9410.0},       {u" ．５", 0.5},
    };
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(parseTypedNumber(text), number) << text.size();
    }
}

TEST(ParseTypedNumber, RefusesWhatIsStillNoNumber) {
    // A comma may be a thousands separator or the "X,Y" of a CAD point: neither is guessed.
    for (const char16_t* text :
         {u"", u"　", u"9,410", u"９，４１０", u"ー１０", u"１２ａ", u"１　２", u"－－１", u"9410mm", u"∞"}) {
        EXPECT_FALSE(parseTypedNumber(std::u16string_view(text)).has_value())
            << std::u16string_view(text).size();
    }
}

}  // namespace
}  // namespace tiermark

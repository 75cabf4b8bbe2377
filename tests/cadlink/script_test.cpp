#include "cadlink/script.h"

#include <gtest/gtest.h>

#include "cadlink/command_texts.h"

namespace cadlink {
namespace {

using Lines = std::vector<std::u16string>;

TEST(Script, LayerSequencesBecomeTheLinesTheyTypeWithAnEnterForTheClosingEscape) {
    Script script;
    ASSERT_TRUE(script.add(createLayerTexts(u"D-STR")).ok());
    ASSERT_TRUE(script.add(linetypeTexts(u"破線", u"D-STR")).ok());
    ASSERT_TRUE(script.add(colourTexts(3, u"D-STR")).ok());
    EXPECT_EQ(script.lines(), (Lines{u"-Layer", u"n", u"D-STR", u"",           // create
                                     u"-Layer", u"L", u"破線", u"D-STR", u"",  // line type
                                     u"-Layer", u"C", u"3", u"D-STR", u""}));  // colour
    auto bytes = script.bytes();
    ASSERT_TRUE(bytes.ok());
    // Code page 932, CR LF after every line: 破線 is 0x94 0x6A 0x90 0xFC.
    EXPECT_EQ(bytes->substr(0, 20), "-Layer\r\nn\r\nD-STR\r\n\r\n");
    EXPECT_NE(bytes->find("\r\nL\r\n\x94\x6A\x90\xFC\r\nD-STR\r\n\r\n"), std::string::npos);
    EXPECT_EQ(bytes->substr(bytes->size() - 4), "\r\n\r\n");
}

TEST(Script, AnEmptyLineTypeIsTheEmptyLineThatKeepsTheDefault) {
    Script script;
    ASSERT_TRUE(script.add(linetypeTexts(u"", u"C-BGD")).ok());
    EXPECT_EQ(script.lines(), (Lines{u"-Layer", u"L", u"", u"C-BGD", u""}));
}

TEST(Script, TheNumberedFormsCrLfNameEndIsOneLineEnd) {
    Script script;
    ASSERT_TRUE(script.add(createLayerTexts(u"D-STR-STR1", NameEnd::CrLf)).ok());
    EXPECT_EQ(script.lines(), (Lines{u"-Layer", u"n", u"D-STR-STR1", u""}));
}

TEST(Script, RefusesWhatAScriptCannotSay) {
    // An ESC in the middle cancels a prompt the script would still be answering.
    Script middle;
    EXPECT_FALSE(middle.add({u"-Layer\r", u"\x1b", u"n\r", u"\x1b"}).ok());
    // A sequence that stops inside a line would run into the next one.
    Script open;
    EXPECT_FALSE(open.add({u"-Layer\r", u"n"}).ok());
    // Any other control character.
    Script control;
    EXPECT_FALSE(control.add({u"-Layer\r", u"n\r", u"D\tSTR\r", u"\x1b"}).ok());
    // Nothing of a refused sequence is kept.
    EXPECT_TRUE(middle.lines().empty());
    EXPECT_TRUE(control.lines().empty());
}

TEST(Script, ATextThatCodePage932CannotHoldIsNoScript) {
    Script script;
    ASSERT_TRUE(script.add(createLayerTexts(u"D-\U0001F600")).ok());
    auto bytes = script.bytes();
    ASSERT_FALSE(bytes.ok());
    EXPECT_NE(bytes.error().message.find("3 行目"), std::string::npos);
}

}  // namespace
}  // namespace cadlink

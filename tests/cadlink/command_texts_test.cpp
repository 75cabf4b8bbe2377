#include "cadlink/command_texts.h"

#include <gtest/gtest.h>

namespace cadlink {
namespace {

using Texts = std::vector<std::u16string>;

// Test-side spelling of the texts: CR is \r, and every text ends in NUL.
std::u16string z(std::u16string_view text) {
    return std::u16string(text) + u'\0';
}
const std::u16string kEsc2 = z(u"\x1b\x1b");

TEST(CommandTexts, GroupCreationAndRemoval) {
    EXPECT_EQ(startTexts(), (Texts{kEsc2, z(u"-group\r"), z(u"C\r"), z(u"KESTRA\r"), z(u"C\r")}));
    EXPECT_EQ(cancelTexts(), (Texts{z(u"-group\r"), z(u"U\r"), z(u"KESTRA\r"), kEsc2}));
    EXPECT_EQ(startTexts()[0].size(), 3u);  // ESC ESC NUL: the NUL is part of the text
}

TEST(CommandTexts, MoveWritesTheDisplacementAsShortestDecimals) {
    struct Case {
        double x, y;
        std::u16string m4;
    };
    for (const auto& c : {Case{420, 0, u"0,0\r420,0\r"}, Case{297.5, -10, u"0,0\r297.5,-10\r"},
                          Case{6940, 9410, u"0,0\r6940,9410\r"}, Case{0.1, -0.0, u"0,0\r0.1,0\r"}}) {
        EXPECT_EQ(moveTexts(c.x, c.y), (Texts{z(u"_move\r"), z(u"G\r"), z(u"KESTRA\r\r"), z(c.m4), kEsc2}));
    }
}

TEST(CommandTexts, ExecuteSequences) {
    const Texts change = executeChangeTexts(u"D-STR", 420, 0);  // Combo1 held "構造物D-STR"
    const Texts expectedChange = {
        z(u"_move\r"),  z(u"G\r"),  z(u"KESTRA\r\r"), z(u"0,0\r420,0\r"),
        kEsc2,  // M1–M5
        z(u"change\r"), z(u"G\r"),  z(u"KESTRA\r"),   z(u"\r"),
        z(u"P\r"),      z(u"LA\r"), z(u"D-STR\r"),            // C1–C7
        z(u"\r"),       kEsc2,                                // C8–C9
        z(u"-group\r"), z(u"U\r"),  z(u"KESTRA\r"),   kEsc2,  // U1–U4
    };
    EXPECT_EQ(change.size(), 18u);
    EXPECT_EQ(change, expectedChange);

    const Texts move = executeMoveTexts(420, 0);
    EXPECT_EQ(move.size(), 9u);
    EXPECT_EQ(move, (Texts{z(u"_move\r"), z(u"G\r"), z(u"KESTRA\r\r"), z(u"0,0\r420,0\r"), kEsc2,
                           z(u"-group\r"), z(u"U\r"), z(u"KESTRA\r"), kEsc2}));
}

TEST(CommandTexts, RenameTypesTheLayersOldAndNewNameAtRenamesPrompts) {
    EXPECT_EQ(renameLayerTexts(u"構造物D-STR", u"D-STR"),
              (Texts{u"\x1b\x1b", u"-RENAME\r", u"LA\r", u"構造物D-STR\r", u"D-STR\r", u"\x1b"}));
}

}  // namespace
}  // namespace cadlink

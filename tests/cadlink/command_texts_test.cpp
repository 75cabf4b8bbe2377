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
    // The start explodes a group KESTRA left behind before it makes the new one.
    EXPECT_EQ(startTexts(), (Texts{kEsc2, z(u"-group\r"), z(u"E\r"), z(u"KESTRA\r"), kEsc2, z(u"-group\r"),
                                   z(u"C\r"), z(u"KESTRA\r"), z(u"C\r")}));
    EXPECT_EQ(groupCreationTexts(), (Texts{kEsc2, z(u"-group\r"), z(u"C\r"), z(u"KESTRA\r"), z(u"C\r")}));
    // Explode is the documented option that dissolves a group; a cancel first ends a selection still open.
    EXPECT_EQ(removalTexts(), (Texts{z(u"-group\r"), z(u"E\r"), z(u"KESTRA\r"), kEsc2}));
    EXPECT_EQ(cancelTexts(), (Texts{kEsc2, z(u"-group\r"), z(u"E\r"), z(u"KESTRA\r"), kEsc2}));
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
    const Texts change = executeChangeTexts(u"D-STR", 420, 0).value();  // Combo1 held "構造物D-STR"
    const Texts expectedChange = {
        z(u"_redraw\r"), z(u"\r"),
        kEsc2,  // the picks confirmed, if they were not; none held at Command:
        z(u"_move\r"),   z(u"G\r"), z(u"KESTRA\r\r"), z(u"0,0\r420,0\r"),
        kEsc2,  // M1–M5
        z(u"change\r"),  z(u"G\r"), z(u"KESTRA\r"),   z(u"\r"),           z(u"P\r"), z(u"LA\r"),
        z(u"D-STR\r"),  // C1–C7
        z(u"\r"),
        kEsc2,  // C8–C9
        z(u"-group\r"),  z(u"E\r"), z(u"KESTRA\r"),
        kEsc2,  // U1–U4
    };
    EXPECT_EQ(change.size(), 21u);
    EXPECT_EQ(change, expectedChange);

    const Texts move = executeMoveTexts(420, 0);
    EXPECT_EQ(move.size(), 12u);
    EXPECT_EQ(move, (Texts{z(u"_redraw\r"), z(u"\r"), kEsc2, z(u"_move\r"), z(u"G\r"), z(u"KESTRA\r\r"),
                           z(u"0,0\r420,0\r"), kEsc2, z(u"-group\r"), z(u"E\r"), z(u"KESTRA\r"), kEsc2}));
}

TEST(CommandTexts, RenameTypesTheLayersOldAndNewNameAtRenamesPrompts) {
    EXPECT_EQ(renameLayerTexts(u"構造物D-STR", u"D-STR").value(),
              (Texts{u"\x1b\x1b", u"-RENAME\r", u"LA\r", u"構造物D-STR\r", u"D-STR\r", u"\x1b"}));
    // Names from a drawing's file are text from outside: neither may carry what would act on the prompt.
    EXPECT_FALSE(renameLayerTexts(u"外形線\rPWNED", u"D-STR").ok());
    EXPECT_FALSE(renameLayerTexts(u"構造物D-STR", u"D-ST;R").ok());
    EXPECT_FALSE(renameLayerTexts(u"", u"D-STR").ok());
}

TEST(CommandTexts, MergeNamesEverySourceThenTheTargetAndConfirms) {
    EXPECT_EQ(mergeLayerTexts({u"外形線", u"構造物"}, u"D-STR").value(),
              (Texts{u"\x1b\x1b", u"-LAYMRG\r", u"N\r", u"外形線\r", u"N\r", u"構造物\r", u"\r", u"N\r",
                     u"D-STR\r", u"Y\r", u"\x1b"}));
    EXPECT_EQ(mergeLayerTexts({u"寸法"}, u"D-DIM").value().size(), 9u);
    // Nothing to merge, the target among the sources (as AutoCAD LT compares names), a name that cannot be
    // typed on either side: nothing is composed.
    EXPECT_FALSE(mergeLayerTexts({}, u"D-STR").ok());
    EXPECT_EQ(mergeLayerTexts({u"外形線", u"d-str"}, u"D-STR").error().message,
              "the target layer is one of the layers to merge");
    EXPECT_FALSE(mergeLayerTexts({u"外形線", u"寸法\rY"}, u"D-STR").ok());
    EXPECT_FALSE(mergeLayerTexts({u"外形線"}, u"D STR").ok());
    EXPECT_FALSE(mergeLayerTexts({u"外形線"}, u"").ok());
}

// Text from outside goes into a sequence only as it may be typed; otherwise nothing of the sequence is
// composed. Empty line types and empty CHANGE layers answer with Enter alone and are fine.
TEST(CommandTexts, TextThatCannotBeTypedComposesNoSequence) {
    const std::u16string injected = u"-TTL\r\x1b\x1b-RENAME\rLA\r外形線\rPWNED-BY-DB\r";
    EXPECT_FALSE(createLayerTexts(u"D" + injected).ok());
    EXPECT_FALSE(createLayerTexts(u"D-ST,R").ok());
    EXPECT_FALSE(createLayerTexts(u"").ok());
    EXPECT_TRUE(createLayerTexts(u"D-é").ok());
    EXPECT_FALSE(linetypeTexts(u"Continuous", u"D-STR\n").ok());
    EXPECT_FALSE(linetypeTexts(u"破\x1b線", u"D-STR").ok());
    EXPECT_TRUE(linetypeTexts(u"", u"D-STR").ok());
    EXPECT_FALSE(colourTexts(7, std::u16string(u"D-STR") + char16_t(0xDC00)).ok());
    EXPECT_FALSE(changeTexts(u"A-B\x1b\rC").ok());
    EXPECT_FALSE(executeChangeTexts(u"D-ST:R", 420, 0).ok());
    EXPECT_TRUE(changeTexts(u"").ok());
    // A blank ends an input as Enter does, and the quote is no character of a name.
    EXPECT_FALSE(createLayerTexts(u"構造物 D-STR").ok());
    EXPECT_FALSE(changeTexts(u"D-STR ").ok());
    EXPECT_FALSE(linetypeTexts(u"一点 鎖線", u"D-STR").ok());
    EXPECT_FALSE(renameLayerTexts(u" D-STR", u"D-STR").ok());
    EXPECT_FALSE(createLayerTexts(u"D-STR'").ok());
    EXPECT_EQ(createLayerTexts(u"D STR").error().message,
              "the layer name holds a blank, which AutoCAD LT takes as Enter");
    const auto refused = createLayerTexts(u"D" + injected);
    EXPECT_EQ(refused.error().message, "the layer name holds a control character");

    // What is composed carries the name as it stands, between the program's own texts.
    EXPECT_EQ(createLayerTexts(u"構造物D-STR", NameEnd::CrLf).value(),
              (Texts{u"\x1b\x1b", u"-Layer\r", u"n\r", u"構造物D-STR\r\n", u"\x1b"}));
}

// The one composition of a layer's "-Layer" sequences: what each use sends, and which field of the record
// keeps it from being sent.
TEST(CommandTexts, LayerDefinitionsByUse) {
    const LayerRecord layer{u"D-STR", u"構造物D-STR", u"破線", 3};
    const Texts create{u"\x1b\x1b", u"-Layer\r", u"n\r", u"D-STR\r", u"\x1b"};
    const Texts linetype{u"\x1b\x1b", u"-Layer\r", u"L\r", u"破線\r", u"D-STR\r", u"\x1b\x1b"};
    const Texts colour{u"\x1b\x1b", u"-Layer\r", u"C\r", u"3\r", u"D-STR\r", u"\x1b\x1b"};
    for (LayerUse use : {LayerUse::Created, LayerUse::Exported, LayerUse::Translated}) {
        const LayerDefinition definition = layerDefinitionTexts(layer, use);
        ASSERT_TRUE(definition.ok());
        EXPECT_EQ(definition.create, create);
        EXPECT_EQ(definition.properties, (std::vector<Texts>{linetype, colour}));
    }
    for (LayerUse use : {LayerUse::Template, LayerUse::Recreated}) {
        const LayerDefinition definition = layerDefinitionTexts(layer, use);
        EXPECT_EQ(definition.create, create);
        EXPECT_TRUE(definition.properties.empty());
    }
    const LayerDefinition member = layerDefinitionTexts(layer, LayerUse::Member);
    EXPECT_EQ(member.create[3], u"D-STR\r\n");
    EXPECT_EQ(member.properties, (std::vector<Texts>{linetype, colour}));

    struct Case {
        LayerRecord layer;
        LayerUse use;
        std::optional<LayerField> refused;
    };
    const Case cases[] = {
        {{u"", u"", u"", 7}, LayerUse::Exported, LayerField::Name},
        {{u"D-ST|R", u"D-ST|R", u"", 7}, LayerUse::Recreated, LayerField::Name},
        {{u"D-STR", u"D-STR", u"破\n線", 7}, LayerUse::Created, LayerField::Linetype},
        {{u"D-STRn", u"D-STRn", u"破\n線", 7}, LayerUse::Template, std::nullopt},  // no line type sent
        {{u"D-STR",
          u"構造物\x1b"
          u"D-STR",
          u"", 7},
         LayerUse::Created,
         LayerField::Display},
        {{u"D-STR",
          u"構造物\x1b"
          u"D-STR",
          u"", 7},
         LayerUse::Member,
         LayerField::Display},
        {{u"D-STR",
          u"構造物\x1b"
          u"D-STR",
          u"", 7},
         LayerUse::Exported,
         std::nullopt},  // nothing offered
        {{u"D-STR",
          u"構造物\x1b"
          u"D-STR",
          u"", 7},
         LayerUse::Recreated,
         std::nullopt},  // offered already
        {{u"D-STR",
          u"構造物\x1b"
          u"D-STR",
          u"破\n線", 7},
         LayerUse::Translated,
         LayerField::Linetype},  // the line type is sent, the display name is not offered
    };
    for (const Case& c : cases) {
        const LayerDefinition definition = layerDefinitionTexts(c.layer, c.use);
        EXPECT_EQ(definition.refused, c.refused) << static_cast<int>(c.use);
        EXPECT_EQ(definition.create.empty(), c.refused.has_value());
    }
}

}  // namespace
}  // namespace cadlink

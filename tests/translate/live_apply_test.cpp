#include "translate/live_apply.h"

#include <gtest/gtest.h>

#include "cadlink/command_texts.h"

namespace translate {
namespace {

using Texts = std::vector<std::u16string>;

layercheck::Standard standard() {
    layercheck::Standard s;
    s.layers = {cadlink::LayerRecord{u"D-STR", u"構造物D-STR", u"", 3},
                cadlink::LayerRecord{u"D-DIM", u"寸法D-DIM", u"破線", 1},
                cadlink::LayerRecord{u"D-BGD", u"背景D-BGD", u"一点鎖線", 8}};
    return s;
}

Step step(std::u16string drawing, std::u16string target, Outcome outcome) {
    return Step{std::move(drawing), std::move(target), outcome, {}};
}

// A plan as the planner makes one: a layer renamed, two merged into a layer created first, one merged into a
// layer the drawing has, others left alone or refused; the merges' sources interleaved in the drawing.
Plan plan() {
    Plan p;
    p.steps = {step(u"寸法", u"D-DIM", Outcome::CreatedThenMerged),
               step(u"中心線", u"D-BGD", Outcome::Merged),
               step(u"外形線", u"D-STR", Outcome::Renamed),
               step(u"寸法線", u"d-dim", Outcome::CreatedThenMerged),
               step(u"0", u"D-BGD", Outcome::Refused),
               step(u"作図", u"", Outcome::LeftAlone)};
    p.creates = {standard().layers[1]};
    return p;
}

class Recording final : public cadlink::CommandSender {
public:
    explicit Recording(std::size_t taken = 1000) : m_left(taken) {}
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        if (m_left == 0) {
            return cadlink::Delivery::NotTaken;
        }
        --m_left;
        sent.emplace_back(text);
        return cadlink::Delivery::Taken;
    }
    Texts sent;

private:
    std::size_t m_left;
};

TEST(LiveApply, CreatesThenRenamesThenOneMergePerTargetWithAllItsSources) {
    const LiveCommands commands = liveCommands(plan(), standard());
    ASSERT_EQ(commands.actions.size(), 4u);
    EXPECT_TRUE(commands.unsendable.empty());
    EXPECT_EQ(commands.actions[0].what, u"D-DIM を作成");
    const cadlink::LayerDefinition dim =
        cadlink::layerDefinitionTexts(standard().layers[1], cadlink::LayerUse::Translated);
    EXPECT_EQ(commands.actions[0].sequences,
              (std::vector<Texts>{dim.create, dim.properties[0], dim.properties[1]}));

    // The rename, then the standard layer's line type (CR alone: Continuous) and colour under the new name.
    EXPECT_EQ(commands.actions[1].what, u"外形線 → D-STR（名前を変更）");
    ASSERT_EQ(commands.actions[1].sequences.size(), 3u);
    EXPECT_EQ(commands.actions[1].sequences[0], cadlink::renameLayerTexts(u"外形線", u"D-STR").value());
    EXPECT_EQ(commands.actions[1].sequences[1], cadlink::linetypeTexts(u"", u"D-STR").value());
    EXPECT_EQ(commands.actions[1].sequences[2], cadlink::colourTexts(3, u"D-STR").value());

    // Targets in the order of their first source; a target spelt in another case is the same layer.
    EXPECT_EQ(commands.actions[2].what, u"寸法, 寸法線 → D-DIM（統合）");
    EXPECT_EQ(commands.actions[2].sequences,
              std::vector<Texts>{cadlink::mergeLayerTexts({u"寸法", u"寸法線"}, u"D-DIM").value()});
    EXPECT_EQ(commands.actions[3].what, u"中心線 → D-BGD（統合）");
}

TEST(LiveApply, WhatCannotBeTypedIsLeftOutWithTheMergesIntoALayerThenNeverCreated) {
    Plan p = plan();
    p.creates[0].linetype = u"破\r線";
    const LiveCommands commands = liveCommands(p, standard());
    EXPECT_EQ(commands.unsendable, (Texts{u"D-DIM を作成", u"寸法, 寸法線 → D-DIM（統合）"}));
    ASSERT_EQ(commands.actions.size(), 2u);
    EXPECT_EQ(commands.actions[0].what, u"外形線 → D-STR（名前を変更）");

    // A standard layer whose line type cannot be typed is not renamed to either: the rename would leave it
    // without the standard's properties.
    layercheck::Standard odd = standard();
    odd.layers[0].linetype = u"破\x1b線";
    const LiveCommands renamed = liveCommands(plan(), odd);
    EXPECT_EQ(renamed.unsendable, Texts{u"外形線 → D-STR（名前を変更）"});
    // A standard layer the standard lacks is renamed to without properties.
    odd.layers.erase(odd.layers.begin());
    EXPECT_EQ(liveCommands(plan(), odd).actions[1].sequences.size(), 1u);
}

TEST(LiveApply, SendsInOrderAndStopsAtTheFirstTextNotTaken) {
    const LiveCommands commands = liveCommands(plan(), standard());
    Recording all;
    const LiveOutcome whole = applyLive(all, commands);
    EXPECT_TRUE(whole.complete());
    EXPECT_EQ(whole.done.size(), 4u);
    Texts expected;
    for (const LiveAction& action : commands.actions) {
        for (const Texts& texts : action.sequences) {
            expected.insert(expected.end(), texts.begin(), texts.end());
        }
    }
    EXPECT_EQ(all.sent, expected);
    EXPECT_EQ(liveOutcomeMessage(whole).substr(0, 13), u"図面の画層を変換しました。");

    // Taken up to the middle of the rename's colour: the creation done, the rename stopped in, the rest
    // never sent.
    Recording some(commands.actions[0].sequences[0].size() + commands.actions[0].sequences[1].size() +
                   commands.actions[0].sequences[2].size() + 6 + 6 + 2);
    const LiveOutcome stopped = applyLive(some, commands);
    EXPECT_EQ(stopped.delivery, cadlink::Delivery::NotTaken);
    EXPECT_EQ(stopped.done, Texts{u"D-DIM を作成"});
    EXPECT_EQ(stopped.stoppedIn, u"外形線 → D-STR（名前を変更）");
    EXPECT_EQ(stopped.notSent, (Texts{u"寸法, 寸法線 → D-DIM（統合）", u"中心線 → D-BGD（統合）"}));
    const std::u16string message = liveOutcomeMessage(stopped);
    EXPECT_EQ(message.find(u"図面の画層の変換は途中までです。"), 0u);
    EXPECT_NE(message.find(u"送っていないもの:\r  寸法, 寸法線 → D-DIM（統合）\r  中心線 → D-BGD（統合）"),
              std::u16string::npos);
    EXPECT_NE(message.find(cadlink::notDeliveredMessage(cadlink::Delivery::NotTaken)), std::u16string::npos);

    Recording none(0);
    EXPECT_EQ(liveOutcomeMessage(applyLive(none, commands)).find(u"図面の画層を変換できませんでした。"), 0u);
    EXPECT_EQ(liveOutcomeMessage(applyLive(all, LiveCommands{})), u"図面に送る変換はありません。");
}

TEST(LiveApply, ALongListIsCutShortInTheMessage) {
    LiveOutcome outcome;
    for (int i = 0; i < 14; ++i) {
        outcome.done.push_back(u"L" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
    }
    const std::u16string message = liveOutcomeMessage(outcome);
    EXPECT_NE(message.find(u"\r  Lj\r  ほか 4 件"), std::u16string::npos);
    EXPECT_EQ(message.find(u"Lk"), std::u16string::npos);
}

}  // namespace
}  // namespace translate

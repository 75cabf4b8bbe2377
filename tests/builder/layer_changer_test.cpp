#include "builder/layer_changer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "builder/layer_names.h"

namespace builder {
namespace {

using Texts = std::vector<std::u16string>;

TEST(LayerChanger, DerivedParts) {
    struct Case {
        std::u16string name;
        std::optional<std::u16string> part;
        std::u16string stem, converted;
    };
    const Case cases[] = {
        {u"構造物D-STR", u"D-STR", u"D-ST", u"D-STR"},
        {u"道路D-STR-STR 3", u"D-STR-STR 3", u"D-STR-STR", u"D-STR-STR3"},  // one blank dropped
        {u"x-A  5", u"x-A  5", u"x-A ", u"x-A 5"},                          // only one
        {u"-STR", u"-STR", u"-ST", u"-STR"},
        {u"a-", u"a-", u"a", u"a-"},
    };
    for (const auto& c : cases) {
        const auto part = standardPart(c.name);
        ASSERT_EQ(part, c.part);
        EXPECT_EQ(stemOf(*part), c.stem);
        EXPECT_EQ(convertedName(stemOf(*part), c.name), c.converted);
    }
    EXPECT_EQ(standardPart(u"LAYER1"), std::nullopt);
}

TEST(LayerChanger, ListingSkipsExactlyZeroAndDefpoints) {
    EXPECT_EQ(changerListing({u"0", u"A-1", u"DEFPOINTS", u"defpoints", u"00", u"Defpoints", u"構造物D-STR"}),
              (Texts{u"A-1", u"defpoints", u"00", u"Defpoints", u"構造物D-STR"}));
    // From a layer table: the layers of external references are left out as well.
    cadlink::DrawingLayer referenced{u"現況図|D-BGD", 8, u"破線"};
    referenced.xrefDependent = true;
    EXPECT_EQ(changerListing(
                  std::vector<cadlink::DrawingLayer>{{u"0", 7, u""}, referenced, {u"現況D-BGD", 8, u""}}),
              (std::vector<std::u16string>{u"現況D-BGD"}));
}

// A drawing's layer table that renames as a drawing would.
class FakeDrawing : public ChangerHost {
public:
    tiermark::Result<bool> drawingHasLayer(std::u16string_view name) override {
        if (unreachable) {
            return tiermark::makeError("the stand-in did not answer in time");
        }
        return layers.count(std::u16string(name)) > 0;
    }
    tiermark::Result<void> renameLayer(std::u16string_view from, std::u16string_view to) override {
        renames.emplace_back(std::u16string(from) + u"→" + std::u16string(to));
        if (refuse.count(std::u16string(from)) > 0) {
            return tiermark::makeError("名前が既に使われています");
        }
        layers.erase(std::u16string(from));
        layers.insert(std::u16string(to));
        return {};
    }
    void showMessage(const std::u16string& text) override { messages.push_back(text); }

    std::set<std::u16string> layers;
    std::set<std::u16string> refuse;
    bool unreachable = false;
    Texts renames;
    Texts messages;
};

struct Pass {
    Texts listBox12;
    std::set<std::u16string> missing;  // listed, but gone from the drawing
    std::set<std::u16string> refuse;
    Texts listBox13;
    Texts remaining, renames, messages;
    bool label26;
};

TEST(LayerChanger, ConversionPass) {
    const Texts entries = {u"D-STR", u"D-STR-STRn", u"D-BGD-HCH"};
    const std::u16string refused = std::u16string(kRenameRefusedMessage) + u"\r名前が既に使われています";
    const Pass passes[] = {
        // An empty list only hides Label26.
        {{}, {}, {}, entries, {}, {}, {}, false},
        // Content text + entry converts; a family layer keeps its own last character, blank before it
        // dropped.
        {{u"構造物D-STR", u"道路D-STR-STR 3"},
         {},
         {},
         entries,
         {},
         {u"道路D-STR-STR 3→D-STR-STR3", u"構造物D-STR→D-STR"},
         {},
         false},
        // Bottom-up; names without "-" or without a matching entry stay and show Label26.
        {{u"LAYER1", u"壁D-BGD-HCH", u"X-NONE"},
         {},
         {},
         entries,
         {u"LAYER1", u"X-NONE"},
         {u"壁D-BGD-HCH→D-BGD-HCH"},
         {},
         true},
        // A layer gone behind the list's back ends the pass at once; Label26 keeps its state.
        {{u"A D-STR", u"B D-STR", u"C D-STR"},
         {u"B D-STR"},
         {},
         entries,
         {u"A D-STR", u"B D-STR"},
         {u"C D-STR→D-STR"},
         {u"この画層名は存在しません"},
         true},
        // A refused rename shows its reason, the item stays and the pass goes on.
        {{u"A D-STR", u"B D-BGD-HCH"},
         {},
         {u"B D-BGD-HCH"},
         entries,
         {u"B D-BGD-HCH"},
         {u"B D-BGD-HCH→D-BGD-HCH", u"A D-STR→D-STR"},
         {refused},
         true},
        // A layer of the drawing whose name, or the name it would get, holds a control character keeps its
        // item; the others are converted, and the message at the end names the ones left.
        {{u"壁\x1b"
          u"D-STR",
          u"副D-STR-STR\r", u"B D-STR"},
         {},
         {},
         entries,
         {u"壁\x1b"
          u"D-STR",
          u"副D-STR-STR\r"},
         {u"B D-STR→D-STR"},
         {std::u16string(kUnsendableRenameMessage) + u"\r副D-STR-STR␍\r壁␛D-STR"},
         true},
    };
    for (const auto& pass : passes) {
        FakeDrawing drawing;
        for (const auto& name : pass.listBox12) {
            if (pass.missing.count(name) == 0) {
                drawing.layers.insert(name);
            }
        }
        drawing.refuse = pass.refuse;
        Texts listBox12 = pass.listBox12;
        bool label26 = true;
        runConversionPass(drawing, listBox12, pass.listBox13, label26);
        EXPECT_EQ(listBox12, pass.remaining);
        EXPECT_EQ(drawing.renames, pass.renames);
        EXPECT_EQ(drawing.messages, pass.messages);
        EXPECT_EQ(label26, pass.label26);
    }
}

TEST(LayerChanger, ADrawingThatCannotBeReachedEndsThePassAndSaysSo) {
    FakeDrawing drawing;
    drawing.layers = {u"A D-STR", u"B D-STR"};
    drawing.unreachable = true;
    Texts listBox12 = {u"A D-STR", u"B D-STR"};
    bool label26 = false;
    runConversionPass(drawing, listBox12, {u"D-STR"}, label26);
    EXPECT_EQ(drawing.messages,
              Texts{std::u16string(kDrawingUnreachableMessage) + u"\rthe stand-in did not answer in time"});
    EXPECT_EQ(drawing.messages[0].find(kLayerMissingMessage), std::u16string::npos);
    EXPECT_TRUE(drawing.renames.empty());
    EXPECT_EQ(listBox12, (Texts{u"A D-STR", u"B D-STR"}));
    EXPECT_FALSE(label26);  // as the pass found it
}

TEST(LayerChanger, FirstMatchingEntryWins) {
    const Texts entries = {u"D-STR-STRn", u"D-STR-STR1"};
    EXPECT_EQ(matchingEntry(u"D-STR-STR1", u"D-STR-STR", entries), 0u);
    EXPECT_EQ(matchingEntry(u"D-STR", u"D-ST", {u"D-BGD", u"D-STR"}), 1u);
    EXPECT_EQ(matchingEntry(u"D-STR", u"D-ST", {u""}), std::nullopt);
}

}  // namespace
}  // namespace builder

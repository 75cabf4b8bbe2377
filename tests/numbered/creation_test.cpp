#include "numbered/creation.h"

#include <gtest/gtest.h>

#include <cstdint>

#include <map>

namespace numbered {
namespace {

using Texts = std::vector<std::u16string>;

class FakeForm : public NumberedHost {
public:
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        if (sent.size() == takenBeforeFailure) {
            return cadlink::Delivery::NotTaken;
        }
        sent.emplace_back(text);
        return cadlink::Delivery::Taken;
    }
    void addToCombo1(const std::u16string& text) override { combo1.push_back(text); }
    std::optional<stddb::Value> colourConstant(std::u16string_view name) override {
        lookups.emplace_back(name);
        const auto found = colours.find(std::u16string(name));
        return found == colours.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
    }
    Texts sent, combo1, lookups;
    // How many texts AutoCAD LT takes before it takes no more (a hung or closed CAD program).
    std::size_t takenBeforeFailure = SIZE_MAX;
    std::map<std::u16string, stddb::Value> colours{
        {u"黒", std::int64_t{0}}, {u"灰", std::int64_t{22}}, {u"濃灰", std::int64_t{31}}};
};

Texts seventeen(const std::u16string& name, const std::u16string& colour) {
    return {u"\x1b\x1b", u"-Layer\r", u"n\r",          name + u"\r\n", u"\x1b",     u"\x1b\x1b",
            u"-Layer\r", u"L\r",      u"Continuous\r", name + u"\r",   u"\x1b\x1b", u"\x1b\x1b",
            u"-Layer\r", u"C\r",      colour + u"\r",  name + u"\r",   u"\x1b\x1b"};
}

TEST(NumberedCreation, SeventeenTextsColourAndRecords) {
    struct Case {
        int stage;
        std::u16string colourName, name, colour, lookedUp;
    };
    const Case cases[] = {
        {1, u"灰", u"D-BYP-STR2", u"30", u"灰"},
        {1, u"濃灰", u"D-BYP-STR2", u"31", u"濃灰"},
        {-1, u"", u"-BYP-STR2", u"7", u"黒"},            // no stage; no colour chosen: 黒 (色定数 0)
        {3, u"未登録", u"M-BYP-STR2", u"7", u"未登録"},  // no row: 7
    };
    for (const auto& c : cases) {
        FakeForm form;
        builder::LayerTables tables;
        tables.redimPreserve(2);
        NumberedInput input;
        input.stageIndex = c.stage;
        input.label8 = u"-BYP-STR2";
        input.textBox1 = u"副";
        input.colourName = c.colourName;
        input.membersListed = true;
        const NumberedOutcome outcome = createNumberedLayer(form, input, tables);
        EXPECT_EQ(form.sent, seventeen(c.name, c.colour));
        EXPECT_EQ(form.lookups, Texts{c.lookedUp});
        EXPECT_EQ(form.combo1, Texts{u"副" + c.name});
        EXPECT_EQ(tables.upperBound(), 3);
        EXPECT_EQ(tables.LayerDisplayNames[3], u"副" + c.name);
        EXPECT_EQ(tables.LayerNames[3], c.name);
        EXPECT_EQ(tables.LayerLinetypes[3], u"Continuous");
        EXPECT_EQ(std::to_string(tables.LayerColors[3]), std::string(c.colour.begin(), c.colour.end()));
        EXPECT_FALSE(outcome.unloadForm);
    }
}

TEST(NumberedCreation, UnloadsAfterTheLastMemberOfAListedFamily) {
    struct Case {
        std::u16string label8;
        bool membersListed, unload;
    };
    for (const Case& c : {Case{u"-BYP-STRZ", true, true}, Case{u"-BYP-STRZ", false, false},
                          Case{u"-BYP-STRY", true, false}}) {
        FakeForm form;
        builder::LayerTables tables;
        NumberedInput input;
        input.label8 = c.label8;
        input.membersListed = c.membersListed;
        EXPECT_EQ(createNumberedLayer(form, input, tables).unloadForm, c.unload) << c.membersListed;
        EXPECT_EQ(form.combo1, Texts{c.label8});  // empty content: the display name is the name alone
    }
}

TEST(NumberedCreation, AMemberIsNeverHalfSentInSilence) {
    struct Case {
        std::size_t taken;
        Texts combo1;  // a member is offered once the texts that create it were taken
    };
    // Not taken: the create texts, the line type, the colour of the main member, the companion's create.
    const Case cases[] = {{3, {}}, {7, {u"主D-STR-STRZ"}}, {14, {u"主D-STR-STRZ"}}, {20, {u"主D-STR-STRZ"}}};
    for (const Case& c : cases) {
        FakeForm form;
        form.takenBeforeFailure = c.taken;
        builder::LayerTables tables;
        NumberedInput input;
        input.stageIndex = 1;
        input.label8 = u"-STR-STRZ";
        input.membersListed = true;
        input.textBox1 = u"主";
        input.objectCode = u"-STR";
        input.checkBoxesEnabled = true;
        input.checkBox1 = true;
        const NumberedOutcome outcome = createNumberedLayer(form, input, tables);
        EXPECT_EQ(outcome.delivery, cadlink::Delivery::NotTaken) << c.taken;
        EXPECT_FALSE(outcome.unloadForm);      // the form stays with its input for another try
        EXPECT_EQ(form.sent.size(), c.taken);  // nothing after the text that was not taken
        EXPECT_EQ(form.combo1, c.combo1);
        EXPECT_EQ(tables.upperBound(), static_cast<int>(c.combo1.size()));
    }
}

TEST(NumberedCreation, FamilyFourAddsTheCheckedCompanions) {
    struct Case {
        bool enabled, dim, txt;
        Texts names;
    };
    const Case cases[] = {
        {true, true, true, {u"D-STR-STR3", u"D-STR-DIM3", u"D-STR-TXT3"}},
        {true, false, true, {u"D-STR-STR3", u"D-STR-TXT3"}},
        {false, true, true, {u"D-STR-STR3"}},  // boxes left checked on another family count for nothing
    };
    for (const auto& c : cases) {
        FakeForm form;
        builder::LayerTables tables;
        NumberedInput input;
        input.stageIndex = 1;
        input.label8 = u"-STR-STR3";
        input.textBox1 = u"主";
        input.colourName = u"灰";
        input.objectCode = u"-STR";
        input.checkBoxesEnabled = c.enabled;
        input.checkBox1 = c.dim;
        input.checkBox2 = c.txt;
        const NumberedOutcome outcome = createNumberedLayer(form, input, tables);
        EXPECT_EQ(outcome.createdNames, c.names);
        Texts expected;
        Texts combo;
        for (const auto& name : c.names) {
            const Texts texts = seventeen(name, u"30");
            expected.insert(expected.end(), texts.begin(), texts.end());
            combo.push_back(u"主" + name);
        }
        EXPECT_EQ(form.sent, expected);
        EXPECT_EQ(form.combo1, combo);
        EXPECT_EQ(form.lookups.size(), 1u);
        EXPECT_EQ(tables.upperBound(), static_cast<int>(c.names.size()));
        EXPECT_EQ(tables.LayerNames.back(), c.names.back());
        EXPECT_EQ(tables.LayerColors.back(), 30);
    }
}

// Content that cannot be typed into AutoCAD LT (it goes to Combo1 and from there into CHANGE) stops the
// whole addition, companions included, before anything is sent or recorded.
TEST(NumberedCreation, ContentThatCannotBeTypedAddsNothing) {
    for (const std::u16string& content :
         {std::u16string(u"主\x1b"), std::u16string(u"主") + char16_t(0xDBFF)}) {
        FakeForm form;
        builder::LayerTables tables;
        NumberedInput input;
        input.stageIndex = 1;
        input.label8 = u"-STR-STR3";
        input.textBox1 = content;
        input.objectCode = u"-STR";
        input.checkBoxesEnabled = true;
        input.checkBox1 = true;
        const NumberedOutcome outcome = createNumberedLayer(form, input, tables);
        EXPECT_TRUE(form.sent.empty());
        EXPECT_TRUE(form.combo1.empty());
        EXPECT_TRUE(outcome.createdNames.empty());
        EXPECT_EQ(tables.upperBound(), 0);
        EXPECT_FALSE(outcome.unloadForm);
        ASSERT_TRUE(outcome.leftOut.has_value());
        EXPECT_EQ(outcome.leftOut->substr(0, 1), u"主");
        EXPECT_EQ(outcome.leftOut->substr(2), u"D-STR-STR3");
    }
}

}  // namespace
}  // namespace numbered

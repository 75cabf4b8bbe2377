#include "numbered/creation.h"

#include <gtest/gtest.h>

#include <cstdint>

#include <map>

#include "builder/layer_tables.h"

namespace numbered {
namespace {

using Texts = std::vector<std::u16string>;

// The display names of the program's list, as the main window offers them.
Texts offered(const builder::CreatedLayers& created) {
    return created.displayNames();
}

class FakeForm : public NumberedHost {
public:
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        if (sent.size() == takenBeforeFailure) {
            return cadlink::Delivery::NotTaken;
        }
        sent.emplace_back(text);
        return cadlink::Delivery::Taken;
    }
    std::optional<stddb::Value> colourConstant(std::u16string_view name) override {
        lookups.emplace_back(name);
        const auto found = colours.find(std::u16string(name));
        return found == colours.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
    }
    Texts sent, lookups;
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
        builder::CreatedLayers created;
        created.add(cadlink::LayerRecord{u"D-BYP-STR1", u"副D-BYP-STR1", u"Continuous", 30, 2, 1});
        NumberedInput input;
        input.stageIndex = c.stage;
        input.nameTail = u"-BYP-STR2";
        input.content = u"副";
        input.colourName = c.colourName;
        input.membersListed = true;
        input.family = 2;
        const NumberedOutcome outcome = createNumberedLayer(form, input, created);
        EXPECT_EQ(form.sent, seventeen(c.name, c.colour));
        EXPECT_EQ(form.lookups, Texts{c.lookedUp});
        // The member follows what the list held, with its line type, colour, family and place in it.
        ASSERT_EQ(created.records().size(), 2u);
        const cadlink::LayerRecord& member = created.records()[1];
        EXPECT_EQ(member.display, u"副" + c.name);
        EXPECT_EQ(member.name, c.name);
        EXPECT_EQ(member.linetype, u"Continuous");
        EXPECT_EQ(std::to_string(member.colour), std::string(c.colour.begin(), c.colour.end()));
        EXPECT_EQ(member.family, 2);
        EXPECT_EQ(member.member, 2);
        EXPECT_FALSE(outcome.unloadForm);
    }
}

TEST(NumberedCreation, UnloadsAfterTheLastMemberOfAListedFamily) {
    struct Case {
        std::u16string nameTail;
        bool membersListed, unload;
    };
    for (const Case& c : {Case{u"-BYP-STRZ", true, true}, Case{u"-BYP-STRZ", false, false},
                          Case{u"-BYP-STRY", true, false}}) {
        FakeForm form;
        builder::CreatedLayers created;
        NumberedInput input;
        input.nameTail = c.nameTail;
        input.membersListed = c.membersListed;
        EXPECT_EQ(createNumberedLayer(form, input, created).unloadForm, c.unload) << c.membersListed;
        EXPECT_EQ(offered(created), Texts{c.nameTail});  // empty content: the display name is the name alone
    }
}

TEST(NumberedCreation, AMemberIsNeverHalfSentInSilence) {
    struct Case {
        std::size_t taken;
        Texts offered;  // a member is offered once the texts that create it were taken
    };
    // Not taken: the create texts, the line type, the colour of the main member, the companion's create.
    const Case cases[] = {{3, {}}, {7, {u"主D-STR-STRZ"}}, {14, {u"主D-STR-STRZ"}}, {20, {u"主D-STR-STRZ"}}};
    for (const Case& c : cases) {
        FakeForm form;
        form.takenBeforeFailure = c.taken;
        builder::CreatedLayers created;
        NumberedInput input;
        input.stageIndex = 1;
        input.nameTail = u"-STR-STRZ";
        input.membersListed = true;
        input.content = u"主";
        input.objectCode = u"-STR";
        input.companionsOffered = true;
        input.withDimension = true;
        const NumberedOutcome outcome = createNumberedLayer(form, input, created);
        EXPECT_EQ(outcome.delivery, cadlink::Delivery::NotTaken) << c.taken;
        EXPECT_FALSE(outcome.unloadForm);      // the form stays with its input for another try
        EXPECT_EQ(form.sent.size(), c.taken);  // nothing after the text that was not taken
        EXPECT_EQ(offered(created), c.offered);
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
        builder::CreatedLayers created;
        NumberedInput input;
        input.stageIndex = 1;
        input.nameTail = u"-STR-STR3";
        input.content = u"主";
        input.colourName = u"灰";
        input.objectCode = u"-STR";
        input.companionsOffered = c.enabled;
        input.withDimension = c.dim;
        input.withText = c.txt;
        const NumberedOutcome outcome = createNumberedLayer(form, input, created);
        EXPECT_EQ(outcome.createdNames, c.names);
        Texts expected;
        Texts combo;
        for (const auto& name : c.names) {
            const Texts texts = seventeen(name, u"30");
            expected.insert(expected.end(), texts.begin(), texts.end());
            combo.push_back(u"主" + name);
        }
        EXPECT_EQ(form.sent, expected);
        EXPECT_EQ(offered(created), combo);
        EXPECT_EQ(form.lookups.size(), 1u);
        ASSERT_EQ(created.records().size(), c.names.size());
        EXPECT_EQ(created.records().back().name, c.names.back());
        EXPECT_EQ(created.records().back().colour, 30);
        EXPECT_EQ(created.records().back().member, 3);
    }
}

// Content that cannot be typed into AutoCAD LT (it goes to the main window's list and from there into
// CHANGE) stops the whole addition, companions included, before anything is sent or recorded.
TEST(NumberedCreation, ContentThatCannotBeTypedAddsNothing) {
    for (const std::u16string& content :
         {std::u16string(u"主\x1b"), std::u16string(u"主") + char16_t(0xDBFF)}) {
        FakeForm form;
        builder::CreatedLayers created;
        NumberedInput input;
        input.stageIndex = 1;
        input.nameTail = u"-STR-STR3";
        input.content = content;
        input.objectCode = u"-STR";
        input.companionsOffered = true;
        input.withDimension = true;
        const NumberedOutcome outcome = createNumberedLayer(form, input, created);
        EXPECT_TRUE(form.sent.empty());
        EXPECT_TRUE(created.empty());
        EXPECT_TRUE(outcome.createdNames.empty());
        EXPECT_FALSE(outcome.unloadForm);
        ASSERT_TRUE(outcome.leftOut.has_value());
        EXPECT_EQ(outcome.leftOut->substr(0, 1), u"主");
        EXPECT_EQ(outcome.leftOut->substr(2), u"D-STR-STR3");
    }
}

TEST(NumberedCreation, MemberNumbersRunFromOneToThirtyFive) {
    EXPECT_EQ(memberNumber(u'1'), 1);
    EXPECT_EQ(memberNumber(u'9'), 9);
    EXPECT_EQ(memberNumber(u'A'), 10);
    EXPECT_EQ(memberNumber(u'Z'), 35);
    for (char16_t other : {u'0', u'[', u'a', u'-', u'９'}) {
        EXPECT_EQ(memberNumber(other), 0) << static_cast<int>(other);
    }
}

}  // namespace
}  // namespace numbered

#include "builder/creation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <functional>
#include <map>

#include "builder/cascade.h"
#include "builder/layer_names.h"
#include "cadlink/command_texts.h"

namespace builder {
namespace {

using Texts = std::vector<std::u16string>;
const stddb::Value kNull;
stddb::Value t(const char16_t* text) {
    return std::u16string(text);
}

// Records what the builder does to the drawing and the main window; the numbered-layer form is a callback.
// The layers the run offers are those of the program's list (ProgramLayerState::created).
class FakeHost : public CreationHost {
public:
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        if (sent.size() == takenBeforeFailure) {
            return cadlink::Delivery::NotTaken;
        }
        sent.emplace_back(text);
        return cadlink::Delivery::Taken;
    }
    void chooseFirstLayer() override { ++selections; }
    void showNumberedForm() override {
        if (numberedForm) {
            numberedForm();
        }
    }
    std::optional<stddb::Value> colourConstant(std::u16string_view name) override {
        const auto found = colours.find(std::u16string(name));
        return found == colours.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
    }
    void offerChangeAndMove(const std::u16string& text) override { guidance = text; }
    void enableCreation() override { creationEnabled = true; }
    void hideBuilder() override { hidden = true; }

    Texts sent;
    // How many texts AutoCAD LT takes before it takes no more (a hung or closed CAD program).
    std::size_t takenBeforeFailure = SIZE_MAX;
    std::map<std::u16string, stddb::Value> colours{{u"黒", std::int64_t{0}},
                                                   {u"色20", std::int64_t{20}},
                                                   {u"色22", std::int64_t{22}},
                                                   {u"色28", std::int64_t{28}},
                                                   {u"色12", 12.0},
                                                   {u"色35", std::int64_t{35}}};
    std::function<void()> numberedForm;
    std::u16string guidance;
    int selections = 0;
    bool creationEnabled = false;
    bool hidden = false;
};

// The expected texts, written out independently of the code under test.
void create(Texts& to, const std::u16string& name) {
    to.insert(to.end(), {u"\x1b\x1b", u"-Layer\r", u"n\r", name + u"\r", u"\x1b"});
}
void linetypeAndColour(Texts& to, const std::u16string& name, const std::u16string& linetype,
                       const std::u16string& colour) {
    to.insert(to.end(), {u"\x1b\x1b", u"-Layer\r", u"L\r", linetype + u"\r", name + u"\r", u"\x1b\x1b"});
    to.insert(to.end(), {u"\x1b\x1b", u"-Layer\r", u"C\r", colour + u"\r", name + u"\r", u"\x1b\x1b"});
}
void layer(Texts& to, const std::u16string& name, const std::u16string& linetype,
           const std::u16string& colour) {
    create(to, name);
    linetypeAndColour(to, name, linetype, colour);
}

LayerRow row(stddb::Value remarks, stddb::Value element, stddb::Value object, stddb::Value content,
             stddb::Value linetype, stddb::Value colour) {
    return {std::move(remarks), std::move(element),  std::move(object),
            std::move(content), std::move(linetype), std::move(colour)};
}

// A layer offered before the run, as an earlier run or the numbered-layer form left it in the list; its
// name is the standard part of its display name unless given.
void offerEarlier(ProgramLayerState& state, const std::u16string& display, std::u16string name = {},
                  std::int64_t colour = 7) {
    if (name.empty()) {
        name = standardPart(display).value_or(display);
    }
    state.created.add(cadlink::LayerRecord{std::move(name), display, u"Continuous", colour});
}

Texts offered(const ProgramLayerState& state) {
    return state.created.displayNames();
}

Texts namesOf(const ProgramLayerState& state) {
    Texts names;
    for (const cadlink::LayerRecord& layer : state.created.records()) {
        names.push_back(layer.name);
    }
    return names;
}

// Stage D, content-text naming: plain rows, Null 作図要素 / 線種 / 線色, 実線, 任意, colour constants 0, 20,
// 22, 28, 12 and 35, a colour name without a row, a template row and two family rows.
CreationInput mixedDrawingKind() {
    CreationInput input;
    input.stageIndex = 1;
    input.rows = {
        row(kNull, t(u"-DIM"), t(u"-STR"), t(u"構造物"), t(u"実線"), t(u"黒")),
        row(kNull, kNull, t(u"-BGD"), t(u"現況"), t(u"破線"), kNull),
        row(kNull, t(u"-LINE"), t(u"-TTL"), kNull, kNull, t(u"任意")),
        row(kNull, t(u"-HCH"), t(u"-STR"), t(u"ハッチ"), t(u"実線"), t(u"色20")),
        row(std::int64_t{2}, t(u"-STRn"), t(u"-BYP"), t(u"副構造物"), t(u"実線"), t(u"黒")),
        row(kNull, t(u"-TXT"), t(u"-BMK"), t(u"文字"), t(u"実線"), t(u"色22")),
        row(std::int64_t{0}, t(u"-STRn"), t(u"-STR"), t(u"構造物"), t(u"実線"), t(u"黒")),
        row(kNull, t(u"-HCH"), t(u"-DCR"), t(u"着色"), t(u"実線"), t(u"色28")),
        row(std::int64_t{1}, t(u"-HCHn"), t(u"-DCR"), t(u"着色"), t(u"実線"), t(u"黒")),
        row(kNull, t(u"-LIN"), t(u"-BGD"), t(u"線"), t(u"一点鎖線"), t(u"色12")),
        row(kNull, t(u"-SYM"), t(u"-BGD"), t(u"記号"), t(u"実線"), t(u"色35")),
        row(kNull, t(u"-ETC"), t(u"-BGD"), t(u"他"), t(u"実線"), t(u"未登録")),
    };
    input.originX = u"6940";
    input.originY = u"9410";
    return input;
}

TEST(LayerCreation, SendsEveryLayerOfAMixedDrawingKindByteForByte) {
    FakeHost host;
    ProgramLayerState state;
    std::vector<std::int16_t> familiesShown;
    host.numberedForm = [&] { familiesShown.push_back(state.layerAddMode); };

    const CreationOutcome outcome = runLayerCreation(host, mixedDrawingKind(), state);
    EXPECT_FALSE(outcome.noLayerRows);
    // The line types a drawing must have loaded for these layers (Continuous and CR alone need none).
    EXPECT_EQ(outcome.linetypes,
              (std::vector<SentLinetype>{{u"破線", u"D-BGD"}, {u"一点鎖線", u"D-BGD-LIN"}}));

    Texts expected;
    layer(expected, u"D-STR-DIM", u"Continuous", u"7");  // 色定数 0
    layer(expected, u"D-BGD", u"破線", u"7");            // Null 作図要素, Null 線色
    layer(expected, u"D-TTL-LINE", u"", u"8");           // Null 線種 sends CR alone; 任意
    layer(expected, u"D-STR-HCH", u"Continuous", u"200");
    // The family row (備考 2) opens the numbered-layer form and creates nothing.
    layer(expected, u"D-BMK-TXT", u"Continuous", u"30");
    create(expected, u"D-STR-STRn");  // template: created, no line type, no colour
    layer(expected, u"D-DCR-HCH", u"Continuous", u"241");
    // The family row (備考 1) likewise.
    layer(expected, u"D-BGD-LIN", u"一点鎖線", u"12");
    layer(expected, u"D-BGD-SYM", u"Continuous", u"35");
    layer(expected, u"D-BGD-ETC", u"Continuous", u"7");  // colour name without a row
    EXPECT_EQ(host.sent, expected);
    EXPECT_EQ(familiesShown, (std::vector<std::int16_t>{2, 1}));

    // The program's list holds every layer the run created, the template too, in the order created, with
    // the line type and colour sent (none for the template).
    using cadlink::LayerRecord;
    EXPECT_EQ(state.created.records(),
              (std::vector<LayerRecord>{{u"D-STR-DIM", u"構造物D-STR-DIM", u"Continuous", 7},
                                        {u"D-BGD", u"現況D-BGD", u"破線", 7},
                                        {u"D-TTL-LINE", u"D-TTL-LINE", u"", 8},
                                        {u"D-STR-HCH", u"ハッチD-STR-HCH", u"Continuous", 200},
                                        {u"D-BMK-TXT", u"文字D-BMK-TXT", u"Continuous", 30},
                                        {u"D-STR-STRn", u"構造物D-STR-STRn", u"", 7},
                                        {u"D-DCR-HCH", u"着色D-DCR-HCH", u"Continuous", 241},
                                        {u"D-BGD-LIN", u"線D-BGD-LIN", u"一点鎖線", 12},
                                        {u"D-BGD-SYM", u"記号D-BGD-SYM", u"Continuous", 35},
                                        {u"D-BGD-ETC", u"他D-BGD-ETC", u"Continuous", 7}}));
    EXPECT_EQ(state.layerAddMode, 1);
    EXPECT_EQ(state.redrawOriginX, 6940.0);
    EXPECT_EQ(state.redrawOriginY, 9410.0);
    EXPECT_EQ(
        host.guidance,
        u"レイヤー変更→レイヤー変更ボタンをクリック後レイヤーを変更するオブジェクトを選択してください。\r"
        u"レイヤー変更を伴わない移動処理→\u3000移動のみボタンをクリック後オブジェクトを選択してください。");
    EXPECT_TRUE(host.creationEnabled);
    EXPECT_EQ(host.selections, 1);
    EXPECT_TRUE(host.hidden);
    EXPECT_TRUE(state.created.setAside().empty());
}

CreationInput threeLayers(bool standardNamesOnly) {
    CreationInput input;
    input.stageIndex = 0;
    input.standardNamesOnly = standardNamesOnly;
    for (const char16_t* object : {u"-STR", u"-BYP", u"-TTL"}) {
        input.rows.push_back(row(kNull, kNull, t(object), t(u"新"), t(u"実線"), t(u"黒")));
    }
    input.originX = u"0";
    input.originY = u"0";
    return input;
}

std::u16string oldEntry(int i) {
    const std::string digits = std::to_string(i);
    return i == 5 ? u"名称なし" : u"旧D-OLD" + std::u16string(digits.begin(), digits.end());
}

TEST(LayerCreation, EarlierEntriesOfTheSameLayersAreReplacedAndTheOthersOfferedAgain) {
    FakeHost host;
    ProgramLayerState state;
    // Entries 1 to 3 offer the layers this run creates; 4 to 10 offer layers of earlier runs.
    for (const char16_t* same : {u"S-STR", u"旧S-BYP", u"S-TTL"}) {
        offerEarlier(state, same);
    }
    for (int i = 4; i <= 10; ++i) {
        offerEarlier(state, oldEntry(i), i == 5 ? u"D-KEEP" : u"", i == 5 ? 3 : 7);
    }
    runLayerCreation(host, threeLayers(true), state);

    Texts expectedCombo = {u"S-STR", u"S-BYP", u"S-TTL"};
    Texts expected;
    for (const char16_t* name : {u"S-STR", u"S-BYP", u"S-TTL"}) {
        layer(expected, name, u"Continuous", u"7");
    }
    for (int i = 4; i <= 10; ++i) {
        expectedCombo.push_back(oldEntry(i));
        // An entry without "-" keeps the standard name it had.
        create(expected, i == 5 ? u"D-KEEP" : oldEntry(i).substr(1));
    }
    EXPECT_EQ(offered(state), expectedCombo);
    EXPECT_EQ(host.sent, expected);
    ASSERT_EQ(state.created.records().size(), 10u);
    EXPECT_EQ(state.created.records()[3].name, u"D-OLD4");
    EXPECT_EQ(state.created.records()[4].name, u"D-KEEP");
    EXPECT_EQ(state.created.records()[4].colour, 3);  // line type and colour of carried entries stay
    EXPECT_EQ(host.selections, 1);
    EXPECT_TRUE(state.created.setAside().empty());
}

// A row with text that cannot be typed into AutoCAD LT is left out whole, as if the database did not hold
// it: nothing of it is sent or offered, the list closes up, and the outcome names it for the message.
TEST(LayerCreation, RowsThatCannotBeTypedAreLeftOutWholeAndNamed) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input = threeLayers(false);
    input.rows[0].object = t(u"-STR\r\x1b\x1b-RENAME\rLA\r外形線\rX\r");
    input.rows[2].linetype = t(u"実\n線");
    const CreationOutcome outcome = runLayerCreation(host, input, state);

    Texts expected;
    layer(expected, u"S-BYP", u"Continuous", u"7");
    EXPECT_EQ(host.sent, expected);
    EXPECT_EQ(offered(state), Texts{u"新S-BYP"});
    EXPECT_EQ(namesOf(state), Texts{u"S-BYP"});
    EXPECT_EQ(outcome.leftOut, (Texts{u"S-STR␍␛␛-RENAME␍LA␍外形線␍X␍", u"S-TTL（線種：実␊線）"}));
    EXPECT_EQ(
        leftOutMessage(outcome.leftOut),
        u"次のレイヤーは、AutoCAD LT に送れない文字かレイヤー名に使えない文字を含むため、作成しませんでし"
        u"た。\rデータベースの内容を確認してください。\rS-STR␍␛␛-RENAME␍LA␍外形線␍X␍\rS-TTL（線種：実␊線）");
    EXPECT_TRUE(host.hidden);

    // Content that becomes a display name with a control character: Combo1 would carry it into CHANGE.
    FakeHost second;
    ProgramLayerState fresh;
    CreationInput content = threeLayers(false);
    content.rows[1].content = t(u"新\x1b");
    EXPECT_EQ(runLayerCreation(second, content, fresh).leftOut, Texts{u"S-BYP（内容：新␛）"});
    EXPECT_EQ(offered(fresh), (Texts{u"新S-STR", u"新S-TTL"}));
}

TEST(LayerCreation, WhenEveryRowIsLeftOutNothingChanges) {
    FakeHost host;
    ProgramLayerState state;
    offerEarlier(state, u"旧D-OLD1");
    CreationInput input = threeLayers(false);
    for (LayerRow& r : input.rows) {
        r.object = t(u"-A|B");
    }
    const CreationOutcome outcome = runLayerCreation(host, input, state);
    EXPECT_EQ(outcome.leftOut.size(), 3u);
    EXPECT_FALSE(outcome.noLayerRows);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(offered(state), Texts{u"旧D-OLD1"});
    EXPECT_FALSE(host.hidden);
    EXPECT_TRUE(host.guidance.empty());
}

TEST(LayerCreation, LayersOfAnotherDrawingKindStayOfferedAfterTheNewOnes) {
    FakeHost host;
    ProgramLayerState state;
    for (const char16_t* earlier : {u"旧D-OLD1", u"旧D-OLD2", u"旧D-OLD1"}) {
        offerEarlier(state, earlier);
    }
    runLayerCreation(host, threeLayers(false), state);
    EXPECT_EQ(offered(state), (Texts{u"新S-STR", u"新S-BYP", u"新S-TTL", u"旧D-OLD1", u"旧D-OLD2"}));
    EXPECT_EQ(namesOf(state), (Texts{u"S-STR", u"S-BYP", u"S-TTL", u"D-OLD1", u"D-OLD2"}));
    EXPECT_EQ(host.sent.size(), 3u * 17u + 2u * 5u);
}

// The drawing kind of the observed fault: a title frame, a numbered family, a title text and the background.
CreationInput frameFamilyTextBackground() {
    CreationInput input;
    input.stageIndex = 1;
    input.rows = {
        row(kNull, kNull, t(u"-TTL"), t(u"枠"), t(u"実線"), t(u"黒")),
        row(std::int64_t{2}, t(u"-STRn"), t(u"-BYP"), t(u"副構造物"), t(u"実線"), t(u"黒")),
        row(kNull, t(u"-TXT"), t(u"-TTL"), t(u"文"), t(u"実線"), t(u"黒")),
        row(kNull, kNull, t(u"-BGD"), t(u"現"), t(u"実線"), t(u"黒")),
    };
    input.originX = u"9410";
    input.originY = u"6940";
    return input;
}

TEST(LayerCreation, ASecondRunOfTheSameKindKeepsEveryLayerOfferedOnce) {
    FakeHost host;
    ProgramLayerState state;
    std::vector<Texts> seenByTheForm;
    // Run 1: the numbered-layer form adds 追加D-BYP-STR1. Run 2: it is only looked at and closed.
    bool addMember = true;
    host.numberedForm = [&] {
        seenByTheForm.push_back(state.created.setAsideDisplayNames());
        if (addMember) {
            state.created.add(cadlink::LayerRecord{u"D-BYP-STR1", u"追加D-BYP-STR1", u"Continuous", 7, 2, 1});
        }
    };
    runLayerCreation(host, frameFamilyTextBackground(), state);
    const Texts afterFirst = {u"枠D-TTL", u"追加D-BYP-STR1", u"文D-TTL-TXT", u"現D-BGD"};
    EXPECT_EQ(offered(state), afterFirst);

    addMember = false;
    host.sent.clear();
    runLayerCreation(host, frameFamilyTextBackground(), state);
    // The member made in run 1 stays offered (after the run's own layers); nothing is offered twice.
    EXPECT_EQ(offered(state), (Texts{u"枠D-TTL", u"文D-TTL-TXT", u"現D-BGD", u"追加D-BYP-STR1"}));
    // While run 2 waited in the numbered-layer form, the form could see what the list offered before.
    ASSERT_EQ(seenByTheForm.size(), 2u);
    EXPECT_TRUE(seenByTheForm[0].empty());
    EXPECT_EQ(seenByTheForm[1], afterFirst);
    // The member is created again with the carried entries, once.
    EXPECT_EQ(std::count(host.sent.begin(), host.sent.end(), Texts::value_type(u"D-BYP-STR1\r")), 1);
    EXPECT_EQ(std::count(host.sent.begin(), host.sent.end(), Texts::value_type(u"D-BGD\r")), 3);  // n, L, C
}

TEST(LayerCreation, ATextNotTakenEndsTheRunAndKeepsEverythingOffered) {
    // Three layers of 17 texts; earlier entries: one of these layers and one of another drawing kind.
    struct Case {
        std::size_t taken;
        Texts offered;
    };
    const Case cases[] = {
        {0, {u"新S-STR", u"旧D-OLD"}},                   // nothing taken: the list stays as it was
        {3, {u"新S-STR", u"旧D-OLD"}},                   // the first layer's creation cut short
        {5 + 6, {u"新S-STR", u"旧D-OLD"}},               // its colour cut short: it exists, offered
        {17 + 5, {u"新S-STR", u"新S-BYP", u"旧D-OLD"}},  // the second created, its line type not
        {51 + 2, {u"新S-STR", u"新S-BYP", u"新S-TTL", u"旧D-OLD"}},  // the carried entry's creation cut short
    };
    for (const Case& c : cases) {
        FakeHost host;
        ProgramLayerState state;
        state.redrawOriginX = 420.0;
        offerEarlier(state, u"新S-STR");
        offerEarlier(state, u"旧D-OLD");
        host.takenBeforeFailure = c.taken;
        const CreationOutcome outcome = runLayerCreation(host, threeLayers(false), state);
        EXPECT_EQ(outcome.delivery, cadlink::Delivery::NotTaken) << c.taken;
        EXPECT_EQ(host.sent.size(), c.taken);  // nothing after the text that was not taken
        EXPECT_EQ(offered(state), c.offered) << c.taken;
        EXPECT_FALSE(host.hidden);  // the builder stays for another try
        EXPECT_TRUE(host.creationEnabled);
        EXPECT_EQ(host.selections, 0);
        EXPECT_EQ(state.redrawOriginX, 420.0);  // no origin stored
        EXPECT_TRUE(state.created.setAside().empty());
    }
}

// An entry offered before the run whose name cannot be typed stays offered but is not created again, and
// is named; a run that AutoCAD LT stops still names the rows it had left out.
TEST(LayerCreation, TextThatCannotBeTypedIsNamedWhateverElseHappens) {
    FakeHost host;
    ProgramLayerState state;
    offerEarlier(state, u"旧D-OL|D");
    const CreationOutcome carried = runLayerCreation(host, threeLayers(false), state);
    EXPECT_EQ(host.sent.size(), 3u * 17u);
    EXPECT_EQ(offered(state), (Texts{u"新S-STR", u"新S-BYP", u"新S-TTL", u"旧D-OL|D"}));
    EXPECT_EQ(carried.leftOut, Texts{u"D-OL|D"});
    EXPECT_EQ(carried.delivery, cadlink::Delivery::Taken);
    EXPECT_TRUE(host.hidden);

    FakeHost stopped;
    ProgramLayerState fresh;
    CreationInput input = threeLayers(false);
    input.rows[1].object = t(u"-B|P");
    stopped.takenBeforeFailure = 17 + 2;
    const CreationOutcome outcome = runLayerCreation(stopped, input, fresh);
    EXPECT_EQ(outcome.delivery, cadlink::Delivery::NotTaken);
    EXPECT_EQ(outcome.leftOut, Texts{u"S-B|P"});
    EXPECT_EQ(offered(fresh), Texts{u"新S-STR"});
    EXPECT_FALSE(stopped.hidden);
}

TEST(LayerCreation, ARedrawOriginThatIsNoNumberStopsTheRunBeforeAnythingIsSent) {
    struct Case {
        std::u16string originX;
        std::u16string originY;
        std::u16string message;
    };
    const std::u16string tail =
        u"数値を入力してから、もう一度「レイヤー作成」を押してください。\r"
        u"レイヤーは作成していません。移動量は前回の値のままです。";
    const Case cases[] = {
        {u"9,410", u"6940", u"再線画時の左下隅の座標Xの「9,410」は数値ではありません。\r" + tail},
        {u"9410", u"", u"再線画時の左下隅の座標Yに数値が入力されていません。\r" + tail},
        {u"abc", u"６９４０ｍｍ",
         u"再線画時の左下隅の座標Xの「abc」は数値ではありません。\r"
         u"再線画時の左下隅の座標Yの「６９４０ｍｍ」は数値ではありません。\r" +
             tail},
    };
    for (const Case& c : cases) {
        FakeHost host;
        ProgramLayerState state;
        state.redrawOriginX = 420.0;  // the last valid origin
        state.redrawOriginY = 297.0;
        offerEarlier(state, u"旧D-OLD1");
        CreationInput input = threeLayers(true);
        input.originX = c.originX;
        input.originY = c.originY;
        const CreationOutcome outcome = runLayerCreation(host, input, state);
        EXPECT_EQ(outcome.originMessage, c.message);
        EXPECT_FALSE(outcome.noLayerRows);
        EXPECT_TRUE(host.sent.empty());
        EXPECT_EQ(offered(state), Texts{u"旧D-OLD1"});
        EXPECT_TRUE(host.guidance.empty());
        EXPECT_FALSE(host.hidden);
        EXPECT_EQ(state.redrawOriginX, 420.0);
        EXPECT_EQ(state.redrawOriginY, 297.0);
    }
}

TEST(LayerCreation, AnOriginTypedInFullWidthIsTaken) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input = threeLayers(true);
    input.originX = u"９４１０";
    input.originY = u"－６９４０．５";
    const CreationOutcome outcome = runLayerCreation(host, input, state);
    EXPECT_TRUE(outcome.originMessage.empty());
    EXPECT_EQ(state.redrawOriginX, 9410.0);
    EXPECT_EQ(state.redrawOriginY, -6940.5);
}

TEST(LayerCreation, ADrawingKindWithoutRowsChangesNothing) {
    FakeHost host;
    ProgramLayerState state;
    offerEarlier(state, u"旧D-OLD1");
    CreationInput input;
    input.originX = u"10";
    const CreationOutcome outcome = runLayerCreation(host, input, state);
    EXPECT_TRUE(outcome.noLayerRows);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(offered(state), Texts{u"旧D-OLD1"});
    EXPECT_EQ(namesOf(state), Texts{u"D-OLD1"});
    EXPECT_TRUE(host.guidance.empty());
    EXPECT_FALSE(host.hidden);
    EXPECT_EQ(state.redrawOriginX, 0.0);
    EXPECT_EQ(kNoLayerRowsMessage, u"選択した図面名にはレイヤーが登録されていません。");
}

TEST(LayerCreation, FamilyRowsOnlyLeaveNothingToSelect) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input;
    input.rows = {row(std::int64_t{3}, t(u"-STRn"), t(u"-STR"), t(u"構造物"), t(u"実線"), t(u"黒"))};
    input.originX = u"0";
    input.originY = u"12.5";
    state.redrawOriginX = 99.0;
    int shown = 0;
    host.numberedForm = [&] { ++shown; };
    runLayerCreation(host, input, state);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.layerAddMode, 3);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(host.selections, 0);  // an empty list: nothing chosen
    EXPECT_TRUE(state.created.empty());
    EXPECT_TRUE(host.hidden);
    EXPECT_EQ(state.redrawOriginX, 0.0);
    EXPECT_EQ(state.redrawOriginY, 12.5);
}

// A family row whose template name does not end in "n" only opens the numbered-layer form: it is neither
// created nor given line type and colour, and the rows after it are created as they would be without it.
TEST(LayerCreation, AFamilyRowWithoutTheTemplateMarkOnlyOpensTheNumberedForm) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input = threeLayers(true);
    input.rows.insert(input.rows.begin() + 1,
                      row(std::int64_t{4}, t(u"-STR"), t(u"-BYP"), t(u"副"), t(u"破線"), t(u"色20")));
    int shown = 0;
    host.numberedForm = [&] { ++shown; };
    runLayerCreation(host, input, state);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.layerAddMode, 4);
    Texts expected;
    for (const char16_t* name : {u"S-STR", u"S-BYP", u"S-TTL"}) {
        layer(expected, name, u"Continuous", u"7");
    }
    EXPECT_EQ(host.sent, expected);
    EXPECT_EQ(namesOf(state), (Texts{u"S-STR", u"S-BYP", u"S-TTL"}));
}

TEST(LayerCreation, MembersTheNumberedFormAddsAreOfferedOnce) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input = threeLayers(true);
    input.rows.insert(input.rows.begin() + 1,
                      row(std::int64_t{2}, t(u"-STRn"), t(u"-BYP"), kNull, kNull, kNull));
    // The numbered form adds one member to the list, as it does.
    host.numberedForm = [&] {
        state.created.add(cadlink::LayerRecord{u"S-BYP-STR1", u"追加S-BYP-STR1", u"Continuous", 7, 2, 1});
    };
    runLayerCreation(host, input, state);
    // The member keeps its place in the list; it was created and offered by the form, once.
    EXPECT_EQ(namesOf(state), (Texts{u"S-STR", u"S-BYP-STR1", u"S-BYP", u"S-TTL"}));
    EXPECT_EQ(offered(state), (Texts{u"S-STR", u"追加S-BYP-STR1", u"S-BYP", u"S-TTL"}));
    const auto created = std::count(host.sent.begin(), host.sent.end(), Texts::value_type(u"S-BYP-STR1\r"));
    EXPECT_EQ(created, 0);
}

// The layers of a drawing kind as the export writes them are the layers the run creates with line type
// and colour: the run's texts, without the template's creation, are the plan's sequences in order.
TEST(LayerSet, PlansTheLayersTheRunCreatesWithTheSameTexts) {
    for (int stage : {-1, 0, 1, 2, 3}) {
        for (bool standardNamesOnly : {false, true}) {
            CreationInput input = mixedDrawingKind();
            input.stageIndex = stage;
            input.standardNamesOnly = standardNamesOnly;
            FakeHost host;
            ProgramLayerState state;
            runLayerCreation(host, input, state);

            const std::u16string templateName = lifeCycleLetter(stage) + u"-STR-STRn";
            Texts live = host.sent;
            const auto at = std::find(live.begin(), live.end(), templateName + u"\r");
            ASSERT_NE(at, live.end());
            live.erase(at - 3, at + 2);  // ESC ESC, -Layer, n, the name, ESC

            const std::vector<cadlink::LayerRecord> planned =
                plannedLayers(input.rows, stage, standardNamesOnly,
                              [&host](std::u16string_view name) { return host.colourConstant(name); });
            Texts fromPlan;
            for (const cadlink::LayerRecord& layer : planned) {
                for (const cadlink::Sequence& sequence : {cadlink::createLayerTexts(layer.name),
                                                          cadlink::linetypeTexts(layer.linetype, layer.name),
                                                          cadlink::colourTexts(layer.colour, layer.name)}) {
                    ASSERT_TRUE(sequence.ok());
                    fromPlan.insert(fromPlan.end(), sequence->begin(), sequence->end());
                }
            }
            EXPECT_EQ(live, fromPlan) << "stage " << stage;
            // The display names are those the run offers in the main window, but for the template's.
            Texts displays;
            for (const cadlink::LayerRecord& layer : planned) {
                displays.push_back(layer.display);
            }
            Texts liveOffered = offered(state);
            liveOffered.erase(std::find_if(liveOffered.begin(), liveOffered.end(),
                                           [](const std::u16string& entry) { return entry.back() == u'n'; }));
            EXPECT_EQ(displays, liveOffered);
        }
    }
}

TEST(LayerSet, ANameThatComesTwiceIsOneLayerWithTheLastRowsLineTypeAndColour) {
    const std::vector<LayerRow> rows = {
        row(kNull, kNull, t(u"-STR"), t(u"構造物"), t(u"実線"), t(u"色20")),
        row(kNull, kNull, t(u"-BGD"), t(u"現況"), t(u"実線"), kNull),
        row(kNull, kNull, t(u"-str"), t(u"再掲"), t(u"破線"), t(u"任意")),
    };
    FakeHost host;
    const auto planned =
        plannedLayers(rows, 2, true, [&host](std::u16string_view name) { return host.colourConstant(name); });
    EXPECT_EQ(planned, (std::vector<cadlink::LayerRecord>{{u"C-STR", u"C-STR", u"破線", 8},
                                                          {u"C-BGD", u"C-BGD", u"Continuous", 7}}));
}

TEST(LayerSet, FamiliesAreTheirTemplatesWithTheirNumbers) {
    const CreationInput input = mixedDrawingKind();
    EXPECT_EQ(plannedFamilies(input.rows, 3).size(), 2u);
    EXPECT_EQ(plannedFamilies(input.rows, 3)[0].templateName, u"M-BYP-STRn");
    EXPECT_EQ(plannedFamilies(input.rows, 3)[0].family, 2);
    EXPECT_EQ(plannedFamilies(input.rows, -1)[1].templateName, u"-DCR-HCHn");
    EXPECT_EQ(plannedFamilies(input.rows, -1)[1].family, 1);
}
}  // namespace
}  // namespace builder

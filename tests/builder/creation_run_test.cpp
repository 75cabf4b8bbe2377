#include "builder/creation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <functional>
#include <map>

#include "builder/cascade.h"
#include "cadlink/command_texts.h"

namespace builder {
namespace {

using Texts = std::vector<std::u16string>;
const stddb::Value kNull;
stddb::Value t(const char16_t* text) {
    return std::u16string(text);
}

// Records what the builder does to the drawing and the main window; the numbered-layer form is a callback.
class FakeHost : public CreationHost {
public:
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        if (sent.size() == takenBeforeFailure) {
            return cadlink::Delivery::NotTaken;
        }
        sent.emplace_back(text);
        return cadlink::Delivery::Taken;
    }
    void clearCombo1() override { combo1.clear(); }
    void addToCombo1(const std::u16string& text) override { combo1.push_back(text); }
    int combo1Count() const override { return static_cast<int>(combo1.size()); }
    std::u16string combo1Item(int index) const override { return combo1.at(static_cast<std::size_t>(index)); }
    void selectCombo1First() override { ++selections; }
    void showNumberedForm() override {
        if (numberedForm) {
            numberedForm();
        }
    }
    std::optional<stddb::Value> colourConstant(std::u16string_view name) override {
        const auto found = colours.find(std::u16string(name));
        return found == colours.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
    }
    void enableMainWindowActions(const std::u16string& text) override { label3 = text; }
    void enableCommandButton1() override { commandButton1 = true; }
    void hideBuilder() override { hidden = true; }

    Texts sent;
    // How many texts AutoCAD LT takes before it takes no more (a hung or closed CAD program).
    std::size_t takenBeforeFailure = SIZE_MAX;
    Texts combo1;
    std::map<std::u16string, stddb::Value> colours{{u"黒", std::int64_t{0}},
                                                   {u"色20", std::int64_t{20}},
                                                   {u"色22", std::int64_t{22}},
                                                   {u"色28", std::int64_t{28}},
                                                   {u"色12", 12.0},
                                                   {u"色35", std::int64_t{35}}};
    std::function<void()> numberedForm;
    std::u16string label3;
    int selections = 0;
    bool commandButton1 = false;
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
    for (const auto& r : input.rows) {
        const auto text = [](const stddb::Value& v) {
            return stddb::isNull(v) ? std::u16string() : std::get<std::u16string>(v);
        };
        input.listBox6.push_back(text(r.content) + text(r.object) + text(r.element));
    }
    input.textBox5 = u"6940";
    input.textBox4 = u"9410";
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

    EXPECT_EQ(host.combo1, (Texts{u"構造物D-STR-DIM", u"現況D-BGD", u"D-TTL-LINE", u"ハッチD-STR-HCH",
                                  u"文字D-BMK-TXT", u"構造物D-STR-STRn", u"着色D-DCR-HCH", u"線D-BGD-LIN",
                                  u"記号D-BGD-SYM", u"他D-BGD-ETC"}));
    // The template's slot went to the next row; nine layers in slots 1 to 9.
    const LayerTables& tables = state.tables;
    EXPECT_EQ(tables.upperBound(), 9);
    EXPECT_EQ(tables.LayerNames,
              (Texts{u"", u"D-STR-DIM", u"D-BGD", u"D-TTL-LINE", u"D-STR-HCH", u"D-BMK-TXT", u"D-DCR-HCH",
                     u"D-BGD-LIN", u"D-BGD-SYM", u"D-BGD-ETC"}));
    EXPECT_EQ(tables.LayerLinetypes[2], u"破線");
    EXPECT_EQ(tables.LayerLinetypes[3], u"");
    EXPECT_EQ(tables.LayerDisplayNames[6], u"着色D-DCR-HCH");
    EXPECT_EQ(tables.LayerColors, (std::vector<std::int64_t>{0, 7, 7, 8, 200, 30, 241, 12, 35, 7}));
    EXPECT_EQ(state.layerAddMode, 1);
    EXPECT_EQ(state.redrawOriginX, 6940.0);
    EXPECT_EQ(state.redrawOriginY, 9410.0);
    EXPECT_EQ(
        host.label3,
        u"レイヤー変更→レイヤー変更ボタンをクリック後レイヤーを変更するオブジェクトを選択してください。\r"
        u"レイヤー変更を伴わない移動処理→\u3000移動のみボタンをクリック後オブジェクトを選択してください。");
    EXPECT_TRUE(host.commandButton1);
    EXPECT_EQ(host.selections, 1);
    EXPECT_TRUE(host.hidden);
}

CreationInput threeLayers(bool optionButton1) {
    CreationInput input;
    input.stageIndex = 0;
    input.optionButton1 = optionButton1;
    for (const char16_t* object : {u"-STR", u"-BYP", u"-TTL"}) {
        input.rows.push_back(row(kNull, kNull, t(object), t(u"新"), t(u"実線"), t(u"黒")));
        input.listBox6.push_back(u"新" + std::u16string(object));
    }
    input.textBox5 = u"0";
    input.textBox4 = u"0";
    return input;
}

std::u16string oldEntry(int i) {
    const std::string digits = std::to_string(i);
    return i == 5 ? u"名称なし" : u"旧D-OLD" + std::u16string(digits.begin(), digits.end());
}

TEST(LayerCreation, EarlierEntriesOfTheSameLayersAreReplacedAndTheOthersOfferedAgain) {
    FakeHost host;
    ProgramLayerState state;
    state.tables.redimPreserve(10);
    state.tables.LayerNames[5] = u"D-KEEP";
    state.tables.LayerColors[5] = 3;
    // Entries 1 to 3 offer the layers this run creates; 4 to 10 offer layers of earlier runs.
    for (const char16_t* same : {u"S-STR", u"旧S-BYP", u"S-TTL"}) {
        host.combo1.push_back(same);
    }
    for (int i = 4; i <= 10; ++i) {
        host.combo1.push_back(oldEntry(i));
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
    EXPECT_EQ(host.combo1, expectedCombo);
    EXPECT_EQ(host.sent, expected);
    EXPECT_EQ(state.tables.upperBound(), 10);
    EXPECT_EQ(state.tables.LayerNames[4], u"D-OLD4");
    EXPECT_EQ(state.tables.LayerNames[5], u"D-KEEP");
    EXPECT_EQ(state.tables.LayerColors[5], 3);  // line type and colour of carried entries stay
    EXPECT_EQ(host.selections, 1);
    EXPECT_TRUE(state.earlierEntries.empty());
}

// A row with text that cannot be typed into AutoCAD LT is left out whole, as if the database did not hold
// it: nothing of it is sent or offered, the tables close up, and the outcome names it for the message.
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
    EXPECT_EQ(host.combo1, Texts{u"新S-BYP"});
    EXPECT_EQ(state.tables.upperBound(), 1);
    EXPECT_EQ(state.tables.LayerNames[1], u"S-BYP");
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
    EXPECT_EQ(second.combo1, (Texts{u"新S-STR", u"新S-TTL"}));
}

TEST(LayerCreation, WhenEveryRowIsLeftOutNothingChanges) {
    FakeHost host;
    ProgramLayerState state;
    host.combo1 = {u"旧D-OLD1"};
    CreationInput input = threeLayers(false);
    for (LayerRow& r : input.rows) {
        r.object = t(u"-A|B");
    }
    const CreationOutcome outcome = runLayerCreation(host, input, state);
    EXPECT_EQ(outcome.leftOut.size(), 3u);
    EXPECT_FALSE(outcome.noLayerRows);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(host.combo1, Texts{u"旧D-OLD1"});
    EXPECT_FALSE(host.hidden);
    EXPECT_TRUE(host.label3.empty());
}

TEST(LayerCreation, LayersOfAnotherDrawingKindStayOfferedAfterTheNewOnes) {
    FakeHost host;
    ProgramLayerState state;
    host.combo1 = {u"旧D-OLD1", u"旧D-OLD2", u"旧D-OLD1"};
    runLayerCreation(host, threeLayers(false), state);
    EXPECT_EQ(host.combo1, (Texts{u"新S-STR", u"新S-BYP", u"新S-TTL", u"旧D-OLD1", u"旧D-OLD2"}));
    EXPECT_EQ(state.tables.upperBound(), 5);
    EXPECT_EQ(state.tables.LayerNames, (Texts{u"", u"S-STR", u"S-BYP", u"S-TTL", u"D-OLD1", u"D-OLD2"}));
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
    input.listBox6 = {u"枠-TTL", u"副構造物-BYP-STRn", u"文-TTL-TXT", u"現-BGD"};
    input.textBox5 = u"9410";
    input.textBox4 = u"6940";
    return input;
}

TEST(LayerCreation, ASecondRunOfTheSameKindKeepsEveryLayerOfferedOnce) {
    FakeHost host;
    ProgramLayerState state;
    std::vector<Texts> seenByTheForm;
    // Run 1: the numbered-layer form adds 追加D-BYP-STR1. Run 2: it is only looked at and closed.
    bool addMember = true;
    host.numberedForm = [&] {
        seenByTheForm.push_back(state.earlierEntries);
        if (addMember) {
            const auto slot = static_cast<std::size_t>(state.tables.growByOne());
            state.tables.LayerDisplayNames[slot] = u"追加D-BYP-STR1";
            state.tables.LayerNames[slot] = u"D-BYP-STR1";
            host.combo1.push_back(u"追加D-BYP-STR1");
        }
    };
    runLayerCreation(host, frameFamilyTextBackground(), state);
    const Texts afterFirst = {u"枠D-TTL", u"追加D-BYP-STR1", u"文D-TTL-TXT", u"現D-BGD"};
    EXPECT_EQ(host.combo1, afterFirst);

    addMember = false;
    host.sent.clear();
    runLayerCreation(host, frameFamilyTextBackground(), state);
    // The member made in run 1 stays offered (after the run's own layers); nothing is offered twice.
    EXPECT_EQ(host.combo1, (Texts{u"枠D-TTL", u"文D-TTL-TXT", u"現D-BGD", u"追加D-BYP-STR1"}));
    // While run 2 waited in the numbered-layer form, the form could see what Combo1 offered before.
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
        Texts combo1;
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
        host.combo1 = {u"新S-STR", u"旧D-OLD"};
        host.takenBeforeFailure = c.taken;
        const CreationOutcome outcome = runLayerCreation(host, threeLayers(false), state);
        EXPECT_EQ(outcome.delivery, cadlink::Delivery::NotTaken) << c.taken;
        EXPECT_EQ(host.sent.size(), c.taken);  // nothing after the text that was not taken
        EXPECT_EQ(host.combo1, c.combo1) << c.taken;
        EXPECT_FALSE(host.hidden);  // the builder stays for another try
        EXPECT_TRUE(host.commandButton1);
        EXPECT_EQ(host.selections, 0);
        EXPECT_EQ(state.redrawOriginX, 420.0);  // no origin stored
        EXPECT_TRUE(state.earlierEntries.empty());
    }
}

// An entry offered before the run whose name cannot be typed stays offered but is not created again, and
// is named; a run that AutoCAD LT stops still names the rows it had left out.
TEST(LayerCreation, TextThatCannotBeTypedIsNamedWhateverElseHappens) {
    FakeHost host;
    ProgramLayerState state;
    host.combo1 = {u"旧D-OL|D"};
    const CreationOutcome carried = runLayerCreation(host, threeLayers(false), state);
    EXPECT_EQ(host.sent.size(), 3u * 17u);
    EXPECT_EQ(host.combo1, (Texts{u"新S-STR", u"新S-BYP", u"新S-TTL", u"旧D-OL|D"}));
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
    EXPECT_EQ(stopped.combo1, Texts{u"新S-STR"});
    EXPECT_FALSE(stopped.hidden);
}

TEST(LayerCreation, ARedrawOriginThatIsNoNumberStopsTheRunBeforeAnythingIsSent) {
    struct Case {
        std::u16string textBox5;
        std::u16string textBox4;
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
        host.combo1 = {u"旧D-OLD1"};
        CreationInput input = threeLayers(true);
        input.textBox5 = c.textBox5;
        input.textBox4 = c.textBox4;
        const CreationOutcome outcome = runLayerCreation(host, input, state);
        EXPECT_EQ(outcome.originMessage, c.message);
        EXPECT_FALSE(outcome.noLayerRows);
        EXPECT_TRUE(host.sent.empty());
        EXPECT_EQ(host.combo1, Texts{u"旧D-OLD1"});
        EXPECT_TRUE(host.label3.empty());
        EXPECT_FALSE(host.hidden);
        EXPECT_EQ(state.redrawOriginX, 420.0);
        EXPECT_EQ(state.redrawOriginY, 297.0);
    }
}

TEST(LayerCreation, AnOriginTypedInFullWidthIsTaken) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input = threeLayers(true);
    input.textBox5 = u"９４１０";
    input.textBox4 = u"－６９４０．５";
    const CreationOutcome outcome = runLayerCreation(host, input, state);
    EXPECT_TRUE(outcome.originMessage.empty());
    EXPECT_EQ(state.redrawOriginX, 9410.0);
    EXPECT_EQ(state.redrawOriginY, -6940.5);
}

TEST(LayerCreation, ADrawingKindWithoutRowsChangesNothing) {
    FakeHost host;
    ProgramLayerState state;
    host.combo1 = {u"旧D-OLD1"};
    CreationInput input;
    input.textBox5 = u"10";
    const CreationOutcome outcome = runLayerCreation(host, input, state);
    EXPECT_TRUE(outcome.noLayerRows);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(host.combo1, Texts{u"旧D-OLD1"});
    EXPECT_TRUE(host.label3.empty());
    EXPECT_FALSE(host.hidden);
    EXPECT_EQ(state.tables.upperBound(), 0);
    EXPECT_EQ(state.redrawOriginX, 0.0);
    EXPECT_EQ(kNoLayerRowsMessage, u"選択した図面名にはレイヤーが登録されていません。");
}

TEST(LayerCreation, FamilyRowsOnlyLeaveNothingToSelect) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input;
    input.rows = {row(std::int64_t{3}, t(u"-STRn"), t(u"-STR"), t(u"構造物"), t(u"実線"), t(u"黒"))};
    input.listBox6 = {u"構造物-STR-STRn"};
    input.textBox5 = u"0";
    input.textBox4 = u"12.5";
    state.redrawOriginX = 99.0;
    int shown = 0;
    host.numberedForm = [&] { ++shown; };
    runLayerCreation(host, input, state);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.layerAddMode, 3);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(host.selections, 0);  // empty Combo1: nothing selected
    EXPECT_TRUE(host.hidden);
    EXPECT_EQ(state.redrawOriginX, 0.0);
    EXPECT_EQ(state.redrawOriginY, 12.5);
}

TEST(LayerCreation, TablesGrowWhenTheRowsOutnumberTheList) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input = threeLayers(true);
    input.listBox6 = {u"S-STR"};  // disagrees with the rows: n = 1
    runLayerCreation(host, input, state);
    EXPECT_EQ(state.tables.upperBound(), 3);
    EXPECT_EQ(state.tables.LayerNames, (Texts{u"", u"S-STR", u"S-BYP", u"S-TTL"}));
    EXPECT_EQ(state.tables.LayerColors, (std::vector<std::int64_t>{0, 7, 7, 7}));
}

TEST(LayerCreation, MembersTheNumberedFormAddsAreOfferedOnce) {
    FakeHost host;
    ProgramLayerState state;
    CreationInput input = threeLayers(true);
    input.rows.insert(input.rows.begin() + 1,
                      row(std::int64_t{2}, t(u"-STRn"), t(u"-BYP"), kNull, kNull, kNull));
    input.listBox6.insert(input.listBox6.begin() + 1, u"-BYP-STRn");
    // The numbered form appends one member as it does: one more slot and one more Combo1 entry.
    host.numberedForm = [&] {
        const auto slot = static_cast<std::size_t>(state.tables.growByOne());
        state.tables.LayerDisplayNames[slot] = u"追加S-BYP-STR1";
        state.tables.LayerNames[slot] = u"S-BYP-STR1";
        host.combo1.push_back(u"追加S-BYP-STR1");
    };
    runLayerCreation(host, input, state);
    // The member's slot lies past the rows' slots; it was created and offered by the form, once.
    EXPECT_EQ(state.tables.upperBound(), 4);
    EXPECT_EQ(state.tables.LayerNames, (Texts{u"", u"S-STR", u"S-BYP", u"S-TTL", u"S-BYP-STR1"}));
    EXPECT_EQ(host.combo1, (Texts{u"S-STR", u"追加S-BYP-STR1", u"S-BYP", u"S-TTL"}));
    const auto created = std::count(host.sent.begin(), host.sent.end(), Texts::value_type(u"S-BYP-STR1\r"));
    EXPECT_EQ(created, 0);
}

// The layers of a drawing kind as the export writes them are the layers the run creates with line type
// and colour: the run's texts, without the template's creation, are the plan's sequences in order.
TEST(LayerSet, PlansTheLayersTheRunCreatesWithTheSameTexts) {
    for (int stage : {-1, 0, 1, 2, 3}) {
        for (bool optionButton1 : {false, true}) {
            CreationInput input = mixedDrawingKind();
            input.stageIndex = stage;
            input.optionButton1 = optionButton1;
            FakeHost host;
            ProgramLayerState state;
            runLayerCreation(host, input, state);

            const std::u16string templateName = lifeCycleLetter(stage) + u"-STR-STRn";
            Texts live = host.sent;
            const auto at = std::find(live.begin(), live.end(), templateName + u"\r");
            ASSERT_NE(at, live.end());
            live.erase(at - 3, at + 2);  // ESC ESC, -Layer, n, the name, ESC

            const std::vector<PlannedLayer> planned =
                plannedLayers(input.rows, stage, optionButton1,
                              [&host](std::u16string_view name) { return host.colourConstant(name); });
            Texts fromPlan;
            for (const PlannedLayer& layer : planned) {
                for (const cadlink::Sequence& sequence : {cadlink::createLayerTexts(layer.name),
                                                          cadlink::linetypeTexts(layer.linetype, layer.name),
                                                          cadlink::colourTexts(layer.colour, layer.name)}) {
                    ASSERT_TRUE(sequence.ok());
                    fromPlan.insert(fromPlan.end(), sequence->begin(), sequence->end());
                }
            }
            EXPECT_EQ(live, fromPlan) << "stage " << stage;
            // The display names are those the run offers in Combo1, but for the template's.
            Texts displays;
            for (const PlannedLayer& layer : planned) {
                displays.push_back(layer.display);
            }
            Texts offered = host.combo1;
            offered.erase(std::find_if(offered.begin(), offered.end(),
                                       [](const std::u16string& entry) { return entry.back() == u'n'; }));
            EXPECT_EQ(displays, offered);
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
    EXPECT_EQ(planned, (std::vector<PlannedLayer>{{u"C-STR", u"C-STR", u"破線", 8},
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

#include "cadsim/core/interpreter.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "cadlink/channel.h"
#include "cadsim/core/sample_drawing.h"
#include "common/utf.h"

namespace cadsim {
namespace {

constexpr char16_t CR = u'\r';
const std::u16string ESC = u"\x1b";
const std::u16string ESC2 = u"\x1b\x1b";

std::u16string line(std::u16string_view text) {
    return std::u16string(text) + CR;
}

// Every text goes the way the program sends it: encoded as the channel encodes it, decoded by the
// stand-in's rule.
void send(Interpreter& interpreter, const std::vector<std::u16string>& texts) {
    for (const std::u16string& text : texts) {
        auto payload = cadlink::EncodeCommand(text);
        ASSERT_TRUE(payload.ok());
        auto decoded = cadlink::DecodeCommand(payload->bytes);
        ASSERT_TRUE(decoded.ok()) << decoded.error().message;
        interpreter.type(*decoded);
    }
}

std::vector<std::u16string> createLayer(const std::u16string& n) {
    return {ESC2, line(u"-Layer"), line(u"n"), line(n), ESC};
}
std::vector<std::u16string> setLineType(const std::u16string& n, const std::u16string& l) {
    return {ESC2, line(u"-Layer"), line(u"L"), line(l), line(n), ESC2};
}
std::vector<std::u16string> setColor(const std::u16string& n, const std::u16string& c) {
    return {ESC2, line(u"-Layer"), line(u"C"), line(c), line(n), ESC2};
}
std::vector<std::u16string> join(std::initializer_list<std::vector<std::u16string>> parts) {
    std::vector<std::u16string> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// The main window's texts for the temporary group "KESTRA".
const std::vector<std::u16string> kGroupStart = {ESC2, line(u"-group"), line(u"C"), line(u"KESTRA"),
                                                 line(u"C")};
std::vector<std::u16string> moveTexts(const std::u16string& x, const std::u16string& y) {
    return {line(u"_move"), line(u"G"), u"KESTRA\r\r", u"0,0\r" + x + u"," + y + u"\r", ESC2};
}
std::vector<std::u16string> changeTexts(const std::u16string& layer) {
    return {line(u"change"), line(u"G"),  line(u"KESTRA"), u"\r", line(u"P"),
            line(u"LA"),     line(layer), u"\r",           ESC2};
}
const std::vector<std::u16string> kGroupRemoval = {line(u"-group"), line(u"U"), line(u"KESTRA"), ESC2};

bool historyHas(const Interpreter& interpreter, std::u16string_view text) {
    for (const std::u16string& l : interpreter.history()) {
        if (l.find(text) != std::u16string::npos) {
            return true;
        }
    }
    return false;
}

struct Stage {
    Drawing drawing = sampleDrawing();
    Interpreter interpreter{drawing};
};

struct SequenceCase {
    const char* name;
    std::vector<std::u16string> texts;
    std::vector<int> picks;  // picked (and confirmed with a right click) after the texts of `before`
    std::size_t before = 0;  // number of texts sent before the picks
    std::function<void(const Stage&)> check;
};

TEST(Sequences, HaveTheirEffectsAndLeaveTheCommandLineIdle) {
    const std::vector<SequenceCase> cases = {
        {"create, line type and colour of a standard layer",
         join({createLayer(u"D-STR"), setLineType(u"D-STR", u"DASHED"), setColor(u"D-STR", u"3")}),
         {},
         0,
         [](const Stage& s) {
             const Layer* l = s.drawing.findLayer(u"D-STR");
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(l->lineType, u"DASHED");
             EXPECT_EQ(l->color, 3);
         }},
        {"Japanese line type and a Japanese layer name",
         join({createLayer(u"構造物D-STR"), setLineType(u"構造物D-STR", u"一点鎖線"),
               setColor(u"構造物D-STR", u"200")}),
         {},
         0,
         [](const Stage& s) {
             const Layer* l = s.drawing.findLayer(u"構造物D-STR");
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(l->lineType, u"一点鎖線");
             EXPECT_EQ(l->color, 200);
         }},
        {"a line type that is not loaded is refused",
         join({createLayer(u"D-BMK"), setLineType(u"D-BMK", u"ZIGZAG")}),
         {},
         0,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findLayer(u"D-BMK")->lineType, u"Continuous");
             EXPECT_TRUE(
                 historyHas(s.interpreter, u"Linetype ZIGZAG not found.  Use LINETYPE command to load it."));
         }},
        {"the numbered-layer form's seventeen texts (N CR LF, then ESC)",
         {ESC2, line(u"-Layer"), line(u"n"), u"D-BYP-STR2\r\n", ESC, ESC2, line(u"-Layer"), line(u"L"),
          line(u"Continuous"), line(u"D-BYP-STR2"), ESC2, ESC2, line(u"-Layer"), line(u"C"), line(u"30"),
          line(u"D-BYP-STR2"), ESC2},
         {},
         0,
         [](const Stage& s) {
             const Layer* l = s.drawing.findLayer(u"D-BYP-STR2");
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(l->lineType, u"Continuous");
             EXPECT_EQ(l->color, 30);
         }},
        {"a name list and wildcards",
         {line(u"-LA"), line(u"NEW"), line(u"A1, A2 ,B1"), line(u"c"), line(u"red"), line(u"A*"), u"\r"},
         {},
         0,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findLayer(u"A1")->color, 1);
             EXPECT_EQ(s.drawing.findLayer(u"A2")->color, 1);
             EXPECT_EQ(s.drawing.findLayer(u"B1")->color, 7);
         }},
        {"colour numbers outside 1..255 are refused",
         {line(u"-layer"), line(u"c"), line(u"0"), line(u"256"), line(u"abc"), line(u"5"), line(u"外形線"),
          u"\r"},
         {},
         0,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findLayer(u"外形線")->color, 5);
             EXPECT_TRUE(
                 historyHas(s.interpreter, u"Requires an integer between 1 and 255, or a color name."));
         }},
        {"layer change: group, picks, right click, move, change, removal",
         join({kGroupStart, moveTexts(u"420", u"0"), changeTexts(u"寸法"), kGroupRemoval}),
         {1, 5, 5},
         5,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(1)->position.x, 430);
             EXPECT_EQ(s.drawing.findObject(1)->end.x, 530);
             EXPECT_EQ(s.drawing.findObject(5)->position.x, 480);
             EXPECT_EQ(s.drawing.findObject(1)->layer, u"寸法");
             EXPECT_EQ(s.drawing.findObject(5)->layer, u"寸法");
             EXPECT_EQ(s.drawing.findObject(2)->position.x, 110);  // not picked
             EXPECT_EQ(s.drawing.findObject(2)->layer, u"外形線");
             EXPECT_TRUE(s.drawing.groups().empty());
         }},
        {"move only, by a negative decimal displacement",
         join({kGroupStart, moveTexts(u"-10.5", u"297.5"), kGroupRemoval}),
         {6},
         5,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(6)->position.x, 129.5);
             EXPECT_EQ(s.drawing.findObject(6)->position.y, 342.5);
             EXPECT_EQ(s.drawing.findObject(6)->layer, u"外形線");
             EXPECT_TRUE(s.drawing.groups().empty());
         }},
        {"cancel: the start and the removal texts leave no group and move nothing",
         join({kGroupStart, kGroupRemoval}),
         {},
         0,
         [](const Stage& s) {
             EXPECT_TRUE(s.drawing.groups().empty());
             EXPECT_EQ(s.drawing.findObject(1)->position.x, 10);
         }},
        {"a layer change to an empty name (CR alone) keeps the layer",
         join({kGroupStart, moveTexts(u"0", u"0"), changeTexts(u""), kGroupRemoval}),
         {3},
         5,
         [](const Stage& s) { EXPECT_EQ(s.drawing.findObject(3)->layer, u"外形線"); }},
        {"a layer change to a layer the drawing lacks is refused",
         join({kGroupStart, moveTexts(u"0", u"0"), changeTexts(u"C-NONE"), kGroupRemoval}),
         {3},
         5,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(3)->layer, u"外形線");
             EXPECT_TRUE(historyHas(s.interpreter, u"Cannot find layer \"C-NONE\"."));
             EXPECT_TRUE(s.drawing.groups().empty());
         }},
        {"Explode dissolves a group like Ungroup",
         {ESC2, u"-G\rc\rTMP\r\rALL\r\r", u"-group\rE\rtmp\r"},
         {},
         0,
         [](const Stage& s) { EXPECT_TRUE(s.drawing.groups().empty()); }},
        {"command names take prefixes and any case",
         {u"_-LAYER\rN\rP1\r\r", u"-_layer\rnew\rP2\r\r", u".-la\rNe\rP3\r\r", u"-LaYeR\rn\rP4\r\r"},
         {},
         0,
         [](const Stage& s) {
             for (const char16_t* name : {u"P1", u"P2", u"P3", u"P4"}) {
                 EXPECT_NE(s.drawing.findLayer(name), nullptr) << tiermark::toUtf8(name);
             }
         }},
        {"inputs may run over several texts and a text may hold several",
         {u"-La", u"yer\rn", u"\rSP", u"LIT\r\r-layer\rc\r2\rsplit\r\r"},
         {},
         0,
         [](const Stage& s) { EXPECT_EQ(s.drawing.findLayer(u"SPLIT")->color, 2); }},
        {"renaming a layer from the command line",
         {u"-rename\rLA\r寸法\rD-DIM\r", u"-ren\rla\rDEFPOINTS\r\x1b",
          u"-REN\rLAYER\rD-DIM\r外形線\r\x1b\x1b"},
         {},
         0,
         [](const Stage& s) {
             EXPECT_NE(s.drawing.findLayer(u"D-DIM"), nullptr);
             EXPECT_EQ(s.drawing.findObject(7)->layer, u"D-DIM");
             EXPECT_TRUE(historyHas(s.interpreter, u"Layer \"DEFPOINTS\" cannot be renamed."));
             EXPECT_TRUE(historyHas(s.interpreter, u"Layer \"外形線\" already exists."));
         }},
        {"the loaded line types can be listed at the line-type prompt",
         {u"-layer\rL\r?\rdashdot\r外形線\r\r"},
         {},
         0,
         [](const Stage& s) {
             EXPECT_TRUE(historyHas(s.interpreter, u"  ACAD_ISO15W100"));
             EXPECT_EQ(s.drawing.findLayer(u"外形線")->lineType, u"DASHDOT");
         }},
        {"unknown commands and an empty Enter at the idle prompt do nothing",
         {u"FOO\r", u"\r\r", u"0,0\r"},
         {},
         0,
         [](const Stage& s) {
             EXPECT_TRUE(historyHas(s.interpreter, u"Unknown command \"FOO\".  Press F1 for help."));
             EXPECT_EQ(s.drawing.layers().size(), 4u);
         }},
    };
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Stage stage;
        std::vector<std::u16string> first(c.texts.begin(),
                                          c.texts.begin() + static_cast<std::ptrdiff_t>(c.before));
        std::vector<std::u16string> rest(c.texts.begin() + static_cast<std::ptrdiff_t>(c.before),
                                         c.texts.end());
        send(stage.interpreter, first);
        if (!c.picks.empty()) {
            ASSERT_TRUE(stage.interpreter.waitingForObjects());
            for (int id : c.picks) {
                EXPECT_TRUE(stage.interpreter.pick(id).ok());
            }
            EXPECT_TRUE(stage.interpreter.confirmSelection().ok());
            ASSERT_EQ(stage.drawing.groups().size(), 1u);
        }
        send(stage.interpreter, rest);
        c.check(stage);
        EXPECT_EQ(stage.interpreter.step(), Step::Idle);
        EXPECT_TRUE(stage.interpreter.pendingInput().empty());
    }
}

TEST(Interpreter, WaitsForPicksAfterTheGroupStartAndKnowsWhatItMayPick) {
    Stage s;
    send(s.interpreter, kGroupStart);
    EXPECT_TRUE(s.interpreter.waitingForObjects());
    EXPECT_EQ(s.interpreter.prompt(), u"Select objects: ");
    EXPECT_FALSE(s.interpreter.pick(999).ok());
    EXPECT_TRUE(s.interpreter.pick(2).ok());
    EXPECT_EQ(s.interpreter.selection(), std::vector<int>{2});
    s.interpreter.type(u"\x1b");
    EXPECT_FALSE(s.interpreter.waitingForObjects());
    EXPECT_FALSE(s.interpreter.pick(2).ok());
    EXPECT_FALSE(s.interpreter.confirmSelection().ok());
    EXPECT_TRUE(s.drawing.groups().empty());
}

TEST(Interpreter, NulEndsTheTextAndBackspaceTakesBack) {
    Stage s;
    s.interpreter.type(std::u16string(u"-LAYER\0\rn\r", 11));
    EXPECT_EQ(s.interpreter.step(), Step::Idle);
    EXPECT_EQ(s.interpreter.pendingInput(), u"-LAYER");
    s.interpreter.type(u"X\b\rN\rQ1\b2\r\r");
    EXPECT_NE(s.drawing.findLayer(u"Q2"), nullptr);
    EXPECT_EQ(s.drawing.findLayer(u"Q1"), nullptr);
}

TEST(Interpreter, SurvivesFloodsWithBoundedMemory) {
    Stage s;
    const std::uint64_t before = s.drawing.revision();
    s.interpreter.type(std::u16string(5000, u'\x1b'));
    s.interpreter.type(std::u16string(2'000'000, u'A'));
    EXPECT_EQ(s.interpreter.pendingInput().size(), Interpreter::kMaxLine);
    s.interpreter.type(u"\r");
    s.interpreter.type(std::u16string(20000, u'\r'));
    std::u16string mixed;
    for (int i = 0; i < 3000; ++i) {
        mixed += u"-layer\rc\r999\r\x1b";
    }
    s.interpreter.type(mixed);
    EXPECT_LE(s.interpreter.history().size(), Interpreter::kMaxHistory);
    EXPECT_EQ(s.drawing.revision(), before);
    EXPECT_EQ(s.drawing.layers().size(), 4u);
    EXPECT_EQ(s.interpreter.step(), Step::Idle);
}

TEST(Interpreter, InvalidLayerNamesAreRefusedOneByOne) {
    Stage s;
    s.interpreter.type(u"-layer\rn\rGOOD,a<b,c:d,e\"f,ok2\r\r");
    EXPECT_NE(s.drawing.findLayer(u"GOOD"), nullptr);
    EXPECT_NE(s.drawing.findLayer(u"ok2"), nullptr);
    EXPECT_EQ(s.drawing.layers().size(), 6u);
    EXPECT_TRUE(historyHas(s.interpreter, u"\"a<b\" is not a valid layer name"));
}

TEST(CommandTable, EveryStepHasExactlyOnePrompt) {
    std::map<Step, int> prompts;
    std::set<Step> steps;
    for (const Row& row : commandTable()) {
        steps.insert(row.step);
        steps.insert(row.next);
        if (row.match == Match::Prompt || row.match == Match::ObjectPrompt) {
            ++prompts[row.step];
        }
    }
    for (Step step : steps) {
        EXPECT_EQ(prompts[step], 1) << static_cast<int>(step);
    }
}

TEST(CommandTable, KeywordsTakeTheirAbbreviations) {
    const Row ltype{Step::LayerOption, Match::Keyword, "Ltype", nullptr, Step::Idle};
    const Row layer{Step::ChangeProperty, Match::Keyword, "LAyer", nullptr, Step::Idle};
    const Row command{Step::Idle, Match::Command, "-LAYER|-LA", nullptr, Step::Idle};
    struct Case {
        const Row& row;
        std::u16string input;
        bool expected;
    };
    const Case cases[] = {
        {ltype, u"L", true},       {ltype, u"lt", true},        {ltype, u"LTYPE", true},
        {ltype, u"LTYPES", false}, {ltype, u"", false},         {ltype, u"X", false},
        {ltype, u"_L", true},      {layer, u"L", false},        {layer, u"la", true},
        {layer, u"LAYER", true},   {command, u"-la", true},     {command, u"LA", false},
        {command, u"_-LA", true},  {command, u"-_Layer", true}, {command, u"-LAY", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matches(c.row, c.input), c.expected) << tiermark::toUtf8(c.input);
    }
}

}  // namespace
}  // namespace cadsim

#include "cadsim/core/interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "cadlink/channel.h"
#include "cadlink/command_texts.h"
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

bool historyHas(const Interpreter& interpreter, std::u16string_view text) {
    for (const std::u16string& l : interpreter.history()) {
        if (l.find(text) != std::u16string::npos) {
            return true;
        }
    }
    return false;
}

bool has(const std::vector<std::u16string>& list, std::u16string_view text) {
    return std::any_of(list.begin(), list.end(),
                       [&](const std::u16string& l) { return l.find(text) != std::u16string::npos; });
}

// The stand-in's sample drawing, with the line types a case needs loaded in it.
struct Stage {
    explicit Stage(const std::vector<const char16_t*>& lineTypes = {}) {
        for (const char16_t* name : lineTypes) {
            drawing.loadLineType(name);
        }
    }
    Drawing drawing = sampleDrawing();
    Interpreter interpreter{drawing};
};

struct SequenceCase {
    const char* name;
    std::vector<std::u16string> texts;
    std::vector<int> picks;  // picked after the texts of `before`
    std::size_t before = 0;  // number of texts sent before the picks
    bool confirm = true;     // the picks confirmed with a right click
    std::function<void(const Stage&)> check;
    std::vector<const char16_t*> lineTypes = {};  // held by value: the cases outlive their braces
    std::vector<int> pickedAtCommand = {};        // picked at "Command:" after the picks were confirmed
};

// The program's own sequences (cadlink/command_texts) as the main window sends them.
const std::vector<std::u16string> kStart = cadlink::startTexts();
std::vector<std::u16string> executeChange(std::u16string_view layer, double x, double y) {
    return cadlink::executeChangeTexts(layer, x, y).value();
}

TEST(Sequences, HaveTheirEffectsAndLeaveTheCommandLineIdle) {
    const std::vector<SequenceCase> cases = {
        {"create, line type and colour of a standard layer",
         join({createLayer(u"D-STR"), setLineType(u"D-STR", u"DASHED"), setColor(u"D-STR", u"3")}),
         {},
         0,
         true,
         [](const Stage& s) {
             const Layer* l = s.drawing.findLayer(u"D-STR");
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(l->lineType, u"DASHED");
             EXPECT_EQ(l->color, 3);
             EXPECT_TRUE(s.interpreter.complaints().empty());
         }},
        {"a Japanese line type the drawing has loaded and a Japanese layer name",
         join({createLayer(u"構造物D-STR"), setLineType(u"構造物D-STR", u"一点鎖線"),
               setColor(u"構造物D-STR", u"200")}),
         {},
         0,
         true,
         [](const Stage& s) {
             const Layer* l = s.drawing.findLayer(u"構造物D-STR");
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(l->lineType, u"一点鎖線");
             EXPECT_EQ(l->color, 200);
         },
         {u"一点鎖線"}},
        {"a line type that is not loaded: not found, the option prompt again, the layer stays Continuous",
         join({createLayer(u"D-BMK"), setLineType(u"D-BMK", u"破線")}),
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findLayer(u"D-BMK")->lineType, u"Continuous");
             EXPECT_TRUE(has(s.interpreter.complaints(),
                             u"Linetype 破線 not found.  Use LINETYPE command to load it."));
             // The layer name that follows meets the option prompt; ESC ESC ends it.
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Invalid option keyword."));
         }},
        {"the numbered-layer form's seventeen texts (N CR LF, then ESC)",
         {ESC2, line(u"-Layer"), line(u"n"), u"D-BYP-STR2\r\n", ESC, ESC2, line(u"-Layer"), line(u"L"),
          line(u"Continuous"), line(u"D-BYP-STR2"), ESC2, ESC2, line(u"-Layer"), line(u"C"), line(u"30"),
          line(u"D-BYP-STR2"), ESC2},
         {},
         0,
         true,
         [](const Stage& s) {
             const Layer* l = s.drawing.findLayer(u"D-BYP-STR2");
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(l->lineType, u"Continuous");
             EXPECT_EQ(l->color, 30);
             EXPECT_TRUE(s.interpreter.complaints().empty());
         }},
        {"a name list and wildcards",
         {line(u"-LA"), line(u"NEW"), line(u"A1,A2,B1"), line(u"c"), line(u"red"), line(u"A*"), u"\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findLayer(u"A1")->color, 1);
             EXPECT_EQ(s.drawing.findLayer(u"A2")->color, 1);
             EXPECT_EQ(s.drawing.findLayer(u"B1")->color, 7);
         }},
        {"a blank ends an input as Enter does: the rest answers the next prompt",
         {u"-layer\rn\rA B\r\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_NE(s.drawing.findLayer(u"A"), nullptr);
             EXPECT_EQ(s.drawing.findLayer(u"A B"), nullptr);
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Invalid option keyword."));
         }},
        {"colour numbers outside 1..255 are refused",
         {line(u"-layer"), line(u"c"), line(u"0"), line(u"256"), line(u"abc"), line(u"5"), line(u"外形線"),
          u"\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findLayer(u"外形線")->color, 5);
             EXPECT_TRUE(
                 historyHas(s.interpreter, u"Requires an integer between 1 and 255, or a color name."));
         }},
        {"layer change: start, picks, right click, execute",
         join({kStart, executeChange(u"寸法", 420, 0)}),
         {1, 5, 5},
         kStart.size(),
         true,
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
        {"実行 before the right click: the execute confirms the picks, then moves and changes them",
         join({kStart, executeChange(u"寸法", 420, 0)}),
         {1, 5},
         kStart.size(),
         false,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(1)->position.x, 430);
             EXPECT_EQ(s.drawing.findObject(5)->position.x, 480);
             EXPECT_EQ(s.drawing.findObject(1)->layer, u"寸法");
             EXPECT_EQ(s.drawing.findObject(2)->position.x, 110);
             EXPECT_EQ(s.drawing.findObject(7)->position.x, 10);  // a stray point would have boxed it in
             EXPECT_TRUE(s.drawing.groups().empty());
         }},
        {"a group KESTRA left behind is exploded by the start and lends no objects to the change",
         join({{ESC2, u"-group\rC\rKESTRA\rold\r"}, {u"ALL\r\r"}, kStart, executeChange(u"寸法", 420, 0)}),
         {3},
         3 + kStart.size(),
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(3)->position.x, 530);
             EXPECT_EQ(s.drawing.findObject(3)->layer, u"寸法");
             EXPECT_EQ(s.drawing.findObject(1)->position.x, 10);
             EXPECT_EQ(s.drawing.findObject(1)->layer, u"外形線");
             EXPECT_TRUE(s.drawing.groups().empty());
         }},
        {"objects picked at Command: after the right click are let go: only the group moves and changes",
         join({kStart, executeChange(u"寸法", 420, 0)}),
         {1},
         kStart.size(),
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(1)->position.x, 430);
             EXPECT_EQ(s.drawing.findObject(1)->layer, u"寸法");
             EXPECT_EQ(s.drawing.findObject(2)->position.x, 110);
             EXPECT_EQ(s.drawing.findObject(2)->layer, u"外形線");
             EXPECT_TRUE(s.interpreter.gripped().empty());
             EXPECT_TRUE(s.drawing.groups().empty());
         },
         {},
         {2, 3}},
        {"move only, by a negative decimal displacement",
         join({kStart, cadlink::executeMoveTexts(-10.5, 297.5)}),
         {6},
         kStart.size(),
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(6)->position.x, 129.5);
             EXPECT_EQ(s.drawing.findObject(6)->position.y, 342.5);
             EXPECT_EQ(s.drawing.findObject(6)->layer, u"外形線");
             EXPECT_TRUE(s.drawing.groups().empty());
         }},
        {"cancel while the picks are open: no group is made and nothing moves",
         join({kStart, cadlink::cancelTexts()}),
         {1},
         kStart.size(),
         false,
         [](const Stage& s) {
             EXPECT_TRUE(s.drawing.groups().empty());
             EXPECT_EQ(s.drawing.findObject(1)->position.x, 10);
         }},
        {"the removal that typed U: no such option, the group stays in the drawing",
         join({{ESC2, u"-group\rC\rKESTRA\rC\rALL\r\r"},
               {line(u"-group"), line(u"U"), line(u"KESTRA"), ESC2}}),
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.groups().size(), 1u);
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Invalid option keyword."));
         }},
        {"a layer change to an empty name (CR alone) keeps the layer",
         join({kStart, executeChange(u"", 0, 0)}),
         {3},
         kStart.size(),
         true,
         [](const Stage& s) { EXPECT_EQ(s.drawing.findObject(3)->layer, u"外形線"); }},
        {"a layer change to a layer the drawing lacks is refused",
         join({kStart, executeChange(u"C-NONE", 0, 0)}),
         {3},
         kStart.size(),
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(3)->layer, u"外形線");
             EXPECT_TRUE(historyHas(s.interpreter, u"Cannot find layer \"C-NONE\"."));
             EXPECT_TRUE(s.drawing.groups().empty());
         }},
        {"-GROUP's documented options: Create, Add, Remove, REName, Selectable, Explode",
         {ESC2, u"-G\rc\rTMP\rtwo words\rL\r\r", u"-group\rA\rtmp\rALL\r\r", u"-group\rR\rTMP\rL\r\r",
          u"-group\rREN\rTMP\rT2\r", u"-group\rS\rT2\rY\r", u"-group\rC\rT2\r", ESC2},
         {},
         0,
         true,
         [](const Stage& s) {
             const Group* g = s.drawing.findGroup(u"T2");
             ASSERT_NE(g, nullptr);
             EXPECT_EQ(g->description, u"two words");  // a blank is a character of the description
             EXPECT_EQ(g->members.size(), 8u);         // all nine, less the last
             EXPECT_FALSE(g->selectable);
             EXPECT_TRUE(has(s.interpreter.complaints(), u"A group named \"T2\" already exists."));
         }},
        {"Explode dissolves a group and keeps its objects",
         {ESC2, u"-G\rc\rTMP\r\rALL\r\r", u"-group\rE\rtmp\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_TRUE(s.drawing.groups().empty());
             EXPECT_EQ(s.drawing.objects().size(), 9u);
         }},
        {"command names take prefixes and any case",
         {u"_-LAYER\rN\rP1\r\r", u"-_layer\rnew\rP2\r\r", u".-la\rNe\rP3\r\r", u"-LaYeR\rn\rP4\r\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             for (const char16_t* name : {u"P1", u"P2", u"P3", u"P4"}) {
                 EXPECT_NE(s.drawing.findLayer(name), nullptr) << tiermark::toUtf8(name);
             }
         }},
        {"inputs may run over several texts and a text may hold several",
         {u"-La", u"yer\rn", u"\rSP", u"LIT\r\r-layer\rc\r2\rsplit\r\r"},
         {},
         0,
         true,
         [](const Stage& s) { EXPECT_EQ(s.drawing.findLayer(u"SPLIT")->color, 2); }},
        {"-RENAME: a missing old name and an existing new name are said and asked again",
         {u"-rename\rLA\r寸法\rD-DIM\r", u"-ren\rla\rDEFPOINTS\r\x1b", u"-REN\rLAYER\rGONE\r\x1b",
          u"-REN\rLAYER\rD-DIM\r外形線\r\x1b\x1b"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_NE(s.drawing.findLayer(u"D-DIM"), nullptr);
             EXPECT_EQ(s.drawing.findObject(7)->layer, u"D-DIM");
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Layer \"DEFPOINTS\" cannot be renamed."));
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Cannot find layer \"GONE\"."));
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Layer \"外形線\" already exists."));
         }},
        {"the loaded line types are listed at the line-type prompt",
         {u"-layer\rL\r?\rdashed\r外形線\r\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_TRUE(historyHas(s.interpreter, u"  DASHED"));
             EXPECT_FALSE(historyHas(s.interpreter, u"  HIDDEN"));
             EXPECT_EQ(s.drawing.findLayer(u"外形線")->lineType, u"DASHED");
         }},
        {"unknown commands do nothing; Enter at the command prompt repeats the last command",
         {u"FOO\r", u"0,0\r", u"-layer\rn\rR1\r\r", u"\rn\rR2\r\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Unknown command \"FOO\".  Press F1 for help."));
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Unknown command \"0,0\".  Press F1 for help."));
             EXPECT_NE(s.drawing.findLayer(u"R2"), nullptr);
             EXPECT_EQ(s.interpreter.commands(), (std::vector<std::u16string>{u"-LAYER", u"-LAYER"}));
         }},
        {"aliases are commands: E erases, U undoes it, M moves, CO copies",
         {u"E\rL\r\r", u"U\r", u"m\r60,10\r\r0,0\r5,0\r", u"co\r150,45\r\r0,0\r0,100\r\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.objects().size(), 10u);  // erased, restored, one copied
             EXPECT_EQ(s.drawing.findObject(1)->position.x, 15);
             EXPECT_EQ(s.drawing.findObject(10)->position.y, 145);  // the circle's copy
             EXPECT_EQ(s.interpreter.commands(),
                       (std::vector<std::u16string>{u"ERASE", u"U", u"MOVE", u"COPY"}));
         }},
        {"stray texts start the commands they name, and what follows goes into them",
         {u"C\rKESTRA\r\r", u"LA\r", u"P\rLA\r\r", u"Z\rE\r", u"L\r0,0\r\x1b"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.interpreter.commands(),
                       (std::vector<std::u16string>{u"CIRCLE", u"LAYER", u"PAN", u"ZOOM", u"LINE"}));
             EXPECT_EQ(s.drawing.layers().size(), 4u);
         }},
        {"-LAYMRG by name: the objects go to the target, the layer merged is deleted",
         {u"-LAYMRG\rN\r寸法\r\rN\r外形線\rY\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findLayer(u"寸法"), nullptr);
             EXPECT_EQ(s.drawing.findObject(7)->layer, u"外形線");
             EXPECT_TRUE(
                 historyHas(s.interpreter, u"You are about to merge 1 layer(s) into layer \"外形線\"."));
             EXPECT_TRUE(s.interpreter.complaints().empty());
         }},
        {"-LAYMRG answered No, or with a target among the layers merged, changes nothing",
         {u"-LAYMRG\rN\r寸法\r\rN\r寸法\r外形線\r\r", u"-laymrg\rn\r外形線\r\rn\r寸法\r\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_NE(s.drawing.findLayer(u"寸法"), nullptr);
             EXPECT_NE(s.drawing.findLayer(u"外形線"), nullptr);
             EXPECT_TRUE(has(s.interpreter.complaints(), u"Layer \"寸法\" is one of the layers to merge."));
         }},
        {"typed at a pending selection, a command name is no selection option, a point picks or boxes",
         {ESC2, u"-group\rC\rG1\r\r", u"_move\r", u"0,0\r420,0\r", u"\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_TRUE(has(s.interpreter.complaints(), u"*Invalid selection*"));
             ASSERT_NE(s.drawing.findGroup(u"G1"), nullptr);
             EXPECT_EQ(s.drawing.findGroup(u"G1")->members,
                       std::vector<int>{7});  // the box from 0,0 to 420,0
         }},
        {"CHANGE and the selection's Previous and Last",
         {u"select\rL\r\r", u"change\rP\r\rP\rLA\r寸法\rC\r3\r\r"},
         {},
         0,
         true,
         [](const Stage& s) {
             EXPECT_EQ(s.drawing.findObject(9)->layer, u"寸法");
             EXPECT_EQ(s.drawing.findObject(9)->color, 3);
         }},
    };
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Stage stage(c.lineTypes);
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
            if (c.confirm) {
                EXPECT_TRUE(stage.interpreter.confirmSelection().ok());
                ASSERT_EQ(stage.drawing.groups().size(), 1u);
            }
        }
        for (int id : c.pickedAtCommand) {
            EXPECT_TRUE(stage.interpreter.pick(id).ok());
        }
        send(stage.interpreter, rest);
        c.check(stage);
        EXPECT_EQ(stage.interpreter.step(), Step::Idle);
        EXPECT_TRUE(stage.interpreter.pendingInput().empty());
    }
}

// Noun-verb selection (PICKFIRST 1): objects picked at "Command:" are the selection of the next command that
// selects, which then asks for none; ESC at "Command:" lets them go.
TEST(Interpreter, ObjectsPickedAtTheCommandPromptAreTheNextCommandsSelectionUntilEsc) {
    Stage s;
    ASSERT_TRUE(s.interpreter.pick(3).ok());
    ASSERT_TRUE(s.interpreter.pick(3).ok());
    EXPECT_EQ(s.interpreter.gripped(), std::vector<int>{3});
    send(s.interpreter, {u"_move\r"});
    EXPECT_EQ(s.interpreter.step(), Step::MoveBase);  // no "Select objects:"
    send(s.interpreter, {u"0,0\r10,0\r"});
    EXPECT_EQ(s.drawing.findObject(3)->position.x, 120);
    EXPECT_TRUE(s.interpreter.gripped().empty());

    ASSERT_TRUE(s.interpreter.pick(4).ok());
    send(s.interpreter, {ESC2, u"erase\r"});
    EXPECT_TRUE(s.interpreter.waitingForObjects());  // let go: ERASE asks
    send(s.interpreter, {ESC});
    EXPECT_EQ(s.drawing.objects().size(), 9u);

    ASSERT_TRUE(s.interpreter.pick(4).ok());
    send(s.interpreter, {u"E\r"});  // a stray "E" erases what is picked
    EXPECT_EQ(s.drawing.findObject(4), nullptr);
    EXPECT_EQ(s.interpreter.step(), Step::Idle);
}

TEST(Interpreter, TheProgramsSequencesComplainOnlyOfTheGroupThatIsNotThere) {
    // The start explodes a group KESTRA that may be left behind; when there is none, that is all that is
    // said.
    Stage s;
    send(s.interpreter, kStart);
    ASSERT_TRUE(s.interpreter.pick(2).ok());
    ASSERT_TRUE(s.interpreter.confirmSelection().ok());
    send(s.interpreter, executeChange(u"外形線", 1, 1));
    EXPECT_EQ(s.interpreter.complaints(),
              std::vector<std::u16string>{u"Group \"KESTRA\" has not been defined."});
    EXPECT_EQ(s.drawing.findObject(2)->position.x, 111);
}

// The program's -LAYMRG by name merges every source into the target; a layer that cannot be deleted ("0",
// DEFPOINTS, the current layer, a layer of an external reference) is refused as a source, a missing name or
// an external reference's layer as the target, and what the sequence types after a refusal merges nothing.
TEST(Interpreter, TheProgramsMergeTakesEverySourceAndNeverWhatCannotBeDeleted) {
    struct Case {
        const char* name;
        std::vector<std::u16string> sources;
        std::u16string target;
        std::u16string complaint;  // empty: merged without a complaint
    };
    const std::vector<Case> cases = {
        {"two sources", {u"寸法", u"XA"}, u"外形線", u""},
        {"layer 0", {u"寸法", u"0"}, u"外形線", u"Layer \"0\" cannot be merged."},
        {"DEFPOINTS", {u"defpoints"}, u"外形線", u"Layer \"DEFPOINTS\" cannot be merged."},
        {"the current layer", {u"寸法", u"CUR"}, u"外形線", u"Layer \"CUR\" cannot be merged."},
        {"an external reference's layer", {u"現況図|D-BGD"}, u"外形線", u"cannot be merged."},
        {"a missing source", {u"寸法", u"NONE"}, u"外形線", u"Cannot find layer \"NONE\"."},
        {"a missing target", {u"寸法"}, u"NONE", u"Cannot find layer \"NONE\"."},
        {"an external reference's layer as target", {u"寸法"}, u"現況図|D-BGD", u"belongs to an external"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stage s;
        send(s.interpreter, join({createLayer(u"XA"), createLayer(u"CUR"), {u"-layer\rS\rCUR\r\r"}}));
        DrawingObject onXa;
        onXa.layer = u"XA";
        s.drawing.addObject(onXa);
        Drawing::Contents contents = s.drawing.contents();
        contents.layers.push_back(Layer{u"現況図|D-BGD"});
        s.drawing.restore(contents);
        const std::size_t layers = s.drawing.layers().size();
        // The sequence is composed as the live translation composes it; names with "|" are not typed by
        // the program, so that case types them here.
        std::vector<std::u16string> texts{ESC2, line(u"-LAYMRG")};
        for (const std::u16string& source : c.sources) {
            texts.push_back(line(u"N"));
            texts.push_back(line(source));
        }
        texts.insert(texts.end(), {line(u""), line(u"N"), line(c.target), line(u"Y"), ESC});
        if (c.target.find(u'|') == std::u16string::npos &&
            c.sources.back().find(u'|') == std::u16string::npos) {
            EXPECT_EQ(texts, cadlink::mergeLayerTexts(c.sources, c.target).value());
        }
        send(s.interpreter, texts);
        EXPECT_EQ(s.interpreter.step(), Step::Idle);
        if (c.complaint.empty()) {
            EXPECT_TRUE(s.interpreter.complaints().empty());
            EXPECT_EQ(s.drawing.layers().size(), layers - 2);
            EXPECT_EQ(s.drawing.findLayer(u"XA"), nullptr);
            EXPECT_EQ(s.drawing.findObject(7)->layer, u"外形線");
            EXPECT_EQ(s.drawing.findObject(10)->layer, u"外形線");
        } else {
            EXPECT_TRUE(has(s.interpreter.complaints(), c.complaint));
            EXPECT_EQ(s.drawing.layers().size(), layers);  // nothing merged
            EXPECT_EQ(s.drawing.findObject(7)->layer, u"寸法");
        }
    }
}

TEST(Interpreter, ABlankIsACharacterOnlyWhereAWholeLineIsTaken) {
    Stage s;
    s.interpreter.type(u"-group\rC\rG\r");
    EXPECT_TRUE(s.interpreter.takesWholeLine());
    s.interpreter.type(u" a b ");
    EXPECT_EQ(s.interpreter.pendingInput(), u" a b ");
    s.interpreter.type(u"\r");
    EXPECT_FALSE(s.interpreter.takesWholeLine());
    s.interpreter.type(u"ALL ");  // the blank ends the selection option as Enter does
    EXPECT_EQ(s.interpreter.selection().size(), 9u);
    s.interpreter.type(u" ");
    ASSERT_NE(s.drawing.findGroup(u"G"), nullptr);
    EXPECT_EQ(s.drawing.findGroup(u"G")->description, u" a b ");
}

TEST(Interpreter, UUndoesTheLastCommandThatChangedTheDrawing) {
    Stage s;
    send(s.interpreter, join({createLayer(u"X1"), {u"-layer\r?\r\r\r"}, {u"m\rALL\r\r0,0\r1,1\r"}}));
    ASSERT_EQ(s.drawing.findObject(1)->position.x, 11);
    s.interpreter.type(u"U\r");
    EXPECT_EQ(s.drawing.findObject(1)->position.x, 10);
    EXPECT_NE(s.drawing.findLayer(u"X1"), nullptr);
    s.interpreter.type(u"u\r");  // the listing changed nothing: the layer's creation is next
    EXPECT_EQ(s.drawing.findLayer(u"X1"), nullptr);
    s.interpreter.type(u"U\r");
    EXPECT_TRUE(historyHas(s.interpreter, u"Everything has been undone"));
}

TEST(Interpreter, AReleaseFourteenDrawingRefusesLongerAndJapaneseNames) {
    Drawing drawing;
    drawing.setNameRules(NameRules::Release14);
    Interpreter interpreter(drawing);
    interpreter.type(u"-layer\rn\rd-str,構造物D-STR\r\r");
    EXPECT_NE(drawing.findLayer(u"D-STR"), nullptr);
    EXPECT_EQ(drawing.findLayer(u"構造物D-STR"), nullptr);
    EXPECT_TRUE(has(interpreter.complaints(), u"EXTNAMES 0"));
}

TEST(Interpreter, WaitsForPicksAfterTheGroupStartAndKnowsWhatItMayPick) {
    Stage s;
    send(s.interpreter, kStart);
    EXPECT_TRUE(s.interpreter.waitingForObjects());
    EXPECT_EQ(s.interpreter.prompt(), u"Select objects: ");
    EXPECT_FALSE(s.interpreter.pick(999).ok());
    EXPECT_TRUE(s.interpreter.pick(2).ok());
    EXPECT_EQ(s.interpreter.selection(), std::vector<int>{2});
    s.interpreter.type(u"\x1b");
    EXPECT_FALSE(s.interpreter.waitingForObjects());
    EXPECT_FALSE(s.interpreter.confirmSelection().ok());
    EXPECT_TRUE(s.drawing.groups().empty());
    send(s.interpreter, {u"-LAYER\r"});
    EXPECT_FALSE(s.interpreter.pick(2).ok());  // a prompt that takes no objects
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
        if (row.match == Match::Prompt || row.match == Match::LinePrompt ||
            row.match == Match::ObjectPrompt) {
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
    const Row state{Step::LayerOption, Match::Keyword, "stAte", nullptr, Step::Idle};
    const Row all{Step::SelectObjects, Match::Keyword, "ALL", nullptr, Step::Idle};
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
        {state, u"A", true},       {state, u"s", false},        {state, u"STATE", true},
        {state, u"sta", false},    {all, u"AL", false},         {all, u"all", true},
        {layer, u"LAYER", true},   {command, u"-la", true},     {command, u"LA", false},
        {command, u"_-LA", true},  {command, u"-_Layer", true}, {command, u"-LAY", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matches(c.row, c.input), c.expected) << tiermark::toUtf8(c.input);
    }
}

}  // namespace
}  // namespace cadsim

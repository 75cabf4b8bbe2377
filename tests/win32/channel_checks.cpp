#include <chrono>
#include <map>

#include "builder/creation_run.h"
#include "builder/layer_names.h"
#include "cadlink/channel.h"
#include "cadlink/command_texts.h"
#include "cadlink/discovery.h"
#include "cadlink/win32_window_system.h"
#include "tests/win32/check.h"
#include "tests/win32/checks.h"
#include "tests/win32/list_model.h"
#include "tests/win32/stand_in_files.h"

namespace win32test {
namespace {

using Texts = std::vector<std::u16string>;
using Clock = std::chrono::steady_clock;

// What the user sees: the main window's drawing list, discovery over the real window system, and the
// channels of the forms that read its selection.
struct Program {
    cadlink::Win32WindowSystem system;
    cadlink::Instances instances;
    ListModel list;
    Texts messages;

    explicit Program(std::chrono::milliseconds bound = cadlink::Win32WindowSystem::kDefaultSendBound)
        : system(bound) {}

    void discover() { cadlink::FindAutoCadLt(system, cadlink::MatchingValues{}, instances, list); }

    // Selects the line whose record leads to this window; false when there is none.
    bool select(cadlink::WindowHandle window) {
        for (int line = 0; line < list.lineCount(); ++line) {
            if (instances[static_cast<std::size_t>(list.itemData(line))].MainWindow == window) {
                list.setListIndex(line);
                return true;
            }
        }
        return false;
    }

    cadlink::CommandChannel channel() {
        return cadlink::CommandChannel(
            system,
            [this](cadlink::WindowHandle& window) { return cadlink::TargetWindow(instances, list, window); },
            [this](const std::u16string& text) { messages.push_back(text); });
    }
};

// The builder as layer creation sees it: its channel and the colour table.
class BuilderHost final : public builder::CreationHost {
public:
    explicit BuilderHost(cadlink::CommandChannel& channel) : m_channel(channel) {}

    cadlink::Delivery SendCommand(std::u16string_view text) override {
        sent.emplace_back(text);
        return m_channel.SendCommand(text);
    }
    void chooseFirstLayer() override {}
    void showNumberedForm() override { ++numberedForms; }
    std::optional<stddb::Value> colourConstant(std::u16string_view name) override {
        const auto found = m_colours.find(std::u16string(name));
        return found == m_colours.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
    }
    void offerChangeAndMove(const std::u16string&) override {}
    void enableCreation() override {}
    void hideBuilder() override {}

    Texts sent;
    int numberedForms = 0;

private:
    cadlink::CommandChannel& m_channel;
    std::map<std::u16string, stddb::Value> m_colours{
        {u"黒", std::int64_t{0}}, {u"色20", std::int64_t{20}}, {u"色22", std::int64_t{22}}, {u"色12", 12.0}};
};

stddb::Value t(const char16_t* text) {
    return std::u16string(text);
}

// A drawing kind of stage D: four layers, one family row (which opens the numbered-layer form instead)
// and the redraw origin 6940,9410.
builder::CreationInput drawingKind() {
    const stddb::Value null;
    builder::CreationInput input;
    input.stageIndex = 1;
    input.rows = {
        {null, t(u"-DIM"), t(u"-STR"), t(u"構造物"), t(u"実線"), t(u"黒")},
        {null, null, t(u"-BGD"), t(u"現況"), t(u"破線"), null},
        {std::int64_t{2}, t(u"-STRn"), t(u"-BYP"), t(u"副構造物"), t(u"実線"), t(u"黒")},
        {null, t(u"-HCH"), t(u"-STR"), t(u"ハッチ"), t(u"実線"), t(u"色20")},
        {null, t(u"-LIN"), t(u"-BGD"), t(u"線"), t(u"一点鎖線"), t(u"色12")},
    };
    input.originX = u"6940";
    input.originY = u"9410";
    return input;
}

// The bytes a text must arrive as, written out here rather than taken from the channel's encoder.
std::string wideBytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes + std::string(2, '\0');
}

// Checks that the log holds, from entry `from` on, exactly these texts in the wide form, byte for byte.
void checkArrived(const std::vector<LoggedPayload>& log, std::size_t from, const Texts& texts,
                  const std::string& what) {
    if (!expectEqual(log.size(), from + texts.size(),
                     what + ": one payload per text (" + std::to_string(log.size() - from) + " arrived)")) {
        return;
    }
    int wrong = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const LoggedPayload& payload = log[from + i];
        const std::string bytes = wideBytes(texts[i]);
        const bool ok = payload.bytes == bytes && payload.cbData == bytes.size() && payload.wParam == 1 &&
                        payload.dwData == 1 && payload.form == "wide" && payload.outcome == "taken";
        if (!ok && ++wrong <= 3) {
            expect(false, what + ": text " + std::to_string(i + 1) + " arrived as " + hex(payload.bytes) +
                              " (" + payload.form + ", " + payload.outcome + "), expected " + hex(bytes));
        }
    }
    expectEqual(wrong, 0, what + ": every payload byte for byte, wParam 1, dwData 1, taken");
}

// The texts of one "-Layer" creation with line type and colour, spelt out.
Texts layerTexts(const std::u16string& name, const std::u16string& lineType, const std::u16string& colour) {
    Texts texts = {u"\x1b\x1b", u"-Layer\r", u"n\r", name + u"\r", u"\x1b"};
    texts.insert(texts.end(),
                 {u"\x1b\x1b", u"-Layer\r", u"L\r", lineType + u"\r", name + u"\r", u"\x1b\x1b"});
    texts.insert(texts.end(), {u"\x1b\x1b", u"-Layer\r", u"C\r", colour + u"\r", name + u"\r", u"\x1b\x1b"});
    return texts;
}

// Returns the layers offered as layer creation left them.
Texts layerCreation(Program& program, RunningStandIns& standIns, builder::ProgramLayerState& state) {
    section("layer creation texts, wide form, to the selected stand-in only");
    cadlink::CommandChannel builderChannel = program.channel();
    BuilderHost host(builderChannel);
    const builder::CreationOutcome outcome = builder::runLayerCreation(host, drawingKind(), state);
    expect(!outcome.noLayerRows, "the drawing kind has rows");
    expectEqual(host.numberedForms, 1, "the family row opens the numbered-layer form");
    expectEqual(host.sent.size(), std::size_t{4 * 17}, "four layers of 17 texts each");
    Texts first(host.sent.begin(), host.sent.begin() + std::min<std::size_t>(17, host.sent.size()));
    expectEqual(first, layerTexts(u"D-STR-DIM", u"Continuous", u"7"), "the first layer's texts as spelt out");
    expect(program.messages.empty(), "no message box");

    const std::vector<LoggedPayload> log = readLog(standIns.first->logPath());
    checkArrived(log, 0, host.sent, "layer creation");
    expect(readLog(standIns.second->logPath()).empty(), "the stand-in not selected received nothing");

    const std::string drawing = readFile(standIns.first->statePath());
    expect(hasLayer(drawing, u"D-STR-DIM", u"Continuous", 7), "layer D-STR-DIM, Continuous, colour 7");
    expect(hasLayer(drawing, u"D-BGD", u"破線", 7), "layer D-BGD, 破線, colour 7");
    expect(hasLayer(drawing, u"D-STR-HCH", u"Continuous", 200), "layer D-STR-HCH, Continuous, colour 200");
    expect(hasLayer(drawing, u"D-BGD-LIN", u"一点鎖線", 12), "layer D-BGD-LIN, 一点鎖線, colour 12");
    expect(!hasLayer(readFile(standIns.second->statePath()), u"D-STR-DIM", u"Continuous", 7),
           "the other drawing has no new layer");
    return state.created.displayNames();
}

void japaneseAndNarrow(Program& program, RunningStandIns& standIns) {
    section("a Japanese layer name from the main window; a narrow payload is not taken");
    const std::size_t before = readLog(standIns.first->logPath()).size();
    cadlink::CommandChannel mainChannel = program.channel();
    const Texts texts = {u"\x1b\x1b", u"-Layer\r", u"n\r", u"構造\r", u"\x1b"};
    for (const std::u16string& text : texts) {
        mainChannel.SendCommand(text);
    }
    std::vector<LoggedPayload> log = readLog(standIns.first->logPath());
    checkArrived(log, before, texts, "the main window's texts");
    if (log.size() == before + texts.size()) {
        expectEqual(log[before + 3].bytes, std::string("\xcb\x69\x20\x90\r\0\0\0", 8),
                    "構造 CR NUL in UTF-16LE");
    }
    expect(hasLayer(readFile(standIns.first->statePath()), u"構造", u"Continuous", 7), "layer 構造 exists");

    // The code-page form of "-Layer n 構造2": AutoCAD LT takes no such text, and the stand-in says why.
    const std::vector<std::uint8_t> narrow = {'\x1b', '-',  'L',  'a',  'y',  'e', 'r',  '\r', 'n',
                                              '\r',   0x8d, 0x5c, 0x91, 0xa2, '2', '\r', 0};
    program.system.sendCopyData(standIns.first->mainWindow(), 1, 1, narrow);
    log = readLog(standIns.first->logPath());
    if (expectEqual(log.size(), before + texts.size() + 1, "the narrow payload is logged")) {
        expect(log.back().outcome.rfind("not taken: ", 0) == 0,
               "the narrow payload is not taken: " + log.back().outcome);
    }
    expect(!hasLayer(readFile(standIns.first->statePath()), u"構造2", u"Continuous", 7), "no layer 構造2");
}

void layerChange(Program& program, RunningStandIns& standIns, const builder::ProgramLayerState& state,
                 const std::u16string& combo1Text) {
    section("layer change and move of picked objects, wide form");
    StandInProcess& target = *standIns.first;
    const std::string initial = readFile(target.statePath());
    const auto one = objectState(initial, 1);
    const auto two = objectState(initial, 2);
    const auto three = objectState(initial, 3);
    if (!expect(one && two && three, "the sample drawing has objects 1 to 3")) {
        return;
    }
    cadlink::CommandChannel mainChannel = program.channel();
    std::size_t logged = readLog(target.logPath()).size();

    const Texts start = cadlink::startTexts();
    for (const std::u16string& text : start) {
        mainChannel.SendCommand(text);
    }
    checkArrived(readLog(target.logPath()), logged, start, "start of the layer change");
    logged += start.size();
    expect(target.pick(1) && target.pick(2), "objects 1 and 2 picked");
    expect(target.confirmSelection(), "the selection ends with the right click");
    expect(hasGroup(readFile(target.statePath()), cadlink::kGroupName), "the group KESTRA holds the picks");

    const Texts execute = cadlink::executeChangeTexts(builder::targetLayer(combo1Text), state.redrawOriginX,
                                                      state.redrawOriginY)
                              .value();
    expectEqual(execute.size(), std::size_t{21}, "実行 sends 21 texts");
    for (const std::u16string& text : execute) {
        mainChannel.SendCommand(text);
    }
    checkArrived(readLog(target.logPath()), logged, execute, "execution of the layer change");

    const std::string after = readFile(target.statePath());
    const std::string layer = "\"" + utf8(builder::targetLayer(combo1Text)) + "\"";
    for (const auto& [id, before] : {std::pair{1, *one}, std::pair{2, *two}}) {
        const auto now = objectState(after, id);
        const std::string name = "object " + std::to_string(id);
        if (!expect(now.has_value(), name + " still exists")) {
            continue;
        }
        expect(now->x == before.x + 6940 && now->y == before.y + 9410, name + " moved by 6940,9410");
        expectEqual(now->layerJson, layer, name + " is on " + layer + ", not " + now->layerJson);
    }
    const auto untouched = objectState(after, 3);
    expect(untouched && untouched->x == three->x && untouched->y == three->y &&
               untouched->layerJson == three->layerJson,
           "object 3, not picked, stays where it was");
    expect(!hasGroup(after, cadlink::kGroupName), "the group is dissolved");
    expect(readLog(standIns.second->logPath()).empty(), "the stand-in not selected still received nothing");
}

// A stand-in that closes after discovery: its line stays, and the send fails at once.
void closedWindow(const Fixture& fixture, Program& program) {
    section("a window closed between discovery and send");
    StandInProcess closing;
    auto started = closing.start(fixture, u"Closing.dwg", "closing");
    if (!expect(static_cast<bool>(started), started ? "" : started.error().message)) {
        return;
    }
    program.discover();
    const cadlink::WindowHandle window = closing.mainWindow();
    if (!expect(program.select(window), "discovery found the stand-in that will close")) {
        return;
    }
    expect(closing.close(), "the stand-in closed");
    cadlink::CommandChannel mainChannel = program.channel();
    const auto begin = Clock::now();
    mainChannel.SendCommand(u"_move\r");
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin);
    note("the send to the closed window returned after " + std::to_string(took.count()) + " ms");
    expect(took < std::chrono::milliseconds(1000),
           "the send to a gone window returns at once (" + std::to_string(took.count()) + " ms)");
    expect(!program.system.sendCopyData(window, 1, 1, {0}), "a copy-data to a gone window reports failure");
    expect(program.messages.empty(), "and nothing is said");
}

// A stand-in whose window procedure sleeps: the send gives up after the bound.
void hungWindow(const Fixture& fixture) {
    section("a hung stand-in");
    const std::chrono::milliseconds bound(2000);
    Program program(bound);
    expectEqual(cadlink::Win32WindowSystem().sendBound(), std::chrono::milliseconds(5000),
                "the program waits at most five seconds for AutoCAD LT");
    StandInProcess hung;
    auto started = hung.start(fixture, u"Hung.dwg", "hung", {u"--hang=30000"});
    if (!expect(static_cast<bool>(started), started ? "" : started.error().message)) {
        return;
    }
    program.discover();
    if (!expect(program.select(hung.mainWindow()), "discovery found the hung stand-in")) {
        return;
    }
    cadlink::CommandChannel mainChannel = program.channel();
    for (int attempt = 1; attempt <= 2; ++attempt) {
        const auto begin = Clock::now();
        mainChannel.SendCommand(u"_move\r");
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin);
        note("send " + std::to_string(attempt) + " to the hung window returned after " +
             std::to_string(took.count()) + " ms");
        expect(took <= bound + std::chrono::milliseconds(1500),
               "send " + std::to_string(attempt) + " to the hung window returned after " +
                   std::to_string(took.count()) + " ms, within the bound of " +
                   std::to_string(bound.count()) + " ms");
    }
    hung.terminate();
}

}  // namespace

void channelChecks(const Fixture& fixture, RunningStandIns& standIns) {
    Program program;
    program.discover();
    if (!expect(standIns.first && standIns.second && program.select(standIns.first->mainWindow()),
                "the first stand-in's line can be selected")) {
        return;
    }
    builder::ProgramLayerState state;
    const Texts combo1 = layerCreation(program, standIns, state);
    japaneseAndNarrow(program, standIns);
    if (expect(!combo1.empty(), "layer creation offers its layers in Combo1")) {
        expectEqual(combo1.front(), u"構造物D-STR-DIM", "Combo1's first entry");
        layerChange(program, standIns, state, combo1.front());
    }
    closedWindow(fixture, program);
    hungWindow(fixture);
}

}  // namespace win32test

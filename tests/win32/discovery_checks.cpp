#include <algorithm>

#include "app/platform.h"
#include "cadlink/discovery.h"
#include "common/codepage.h"
#include "tests/win32/check.h"
#include "tests/win32/checks.h"
#include "tests/win32/list_model.h"

namespace win32test {
namespace {

const std::u16string kFirstName = u"構造図1.dwg";  // 構 is 8D 5C in code page 932
const std::u16string kSecondName = u"Drawing2.dwg";

// The stand-ins' process ids in the order of the process snapshot.
std::vector<std::uint32_t> snapshotOrder(cadlink::WindowSystem& system,
                                         const std::vector<std::uint32_t>& ids) {
    std::vector<std::uint32_t> order;
    for (const cadlink::ProcessEntry& process : system.processes()) {
        if (std::find(ids.begin(), ids.end(), process.processId) != ids.end()) {
            order.push_back(process.processId);
        }
    }
    return order;
}

void checkWindowsOfOne(cadlink::WindowSystem& system, const StandInProcess& standIn,
                       const std::u16string& name) {
    // Besides its own two windows a thread may own windows the system made for it (an input-method
    // window, for one); discovery must pick the main window out of them by title.
    const std::vector<cadlink::WindowHandle> windows = system.topLevelWindows(standIn.processId());
    note(std::to_string(windows.size()) + " top-level windows on the stand-in's threads");
    expect(windows.size() >= 2, "the stand-in's thread has at least its two top-level windows (" +
                                    std::to_string(windows.size()) + ")");
    const std::u16string mainTitle = u"AutoCAD LT - [" + name + u"]";
    const std::u16string textTitle = u"AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - " + name;
    int mains = 0;
    int texts = 0;
    for (cadlink::WindowHandle window : windows) {
        const std::u16string title = cadlink::GetWindowTitle(system, window);
        mains += title == mainTitle && window == standIn.mainWindow();
        texts += title == textTitle;
    }
    expect(mains == 1 && texts == 1,
           "titles read back through GetWindowTextA: " + utf8(mainTitle) + " and " + utf8(textTitle));

    // The narrow length may count more than the title's code-page bytes (the system allows for double-byte
    // characters when the window keeps its title in UTF-16), never fewer; GetWindowTextA gives the bytes
    // themselves, 構's trail byte 0x5C included.
    const auto expectedBytes = tiermark::toCp932(mainTitle);
    if (!expect(static_cast<bool>(expectedBytes), "the title has a code-page form")) {
        return;
    }
    const cadlink::WindowHandle main = standIn.mainWindow();
    const int length = system.windowTextLength(main);
    expect(length >= static_cast<int>(expectedBytes->size()),
           "GetWindowTextLengthA gives at least the byte count: " + std::to_string(length) + " for " +
               std::to_string(expectedBytes->size()) + " bytes");
    const std::string bytes = system.windowText(main, length + 1);
    expect(bytes == *expectedBytes, "GetWindowTextA gives the code-page bytes " + hex(bytes));
    // A buffer too small for the title gives its beginning, never more than the buffer less its terminator.
    const std::string cut = system.windowText(main, 16);
    note("GetWindowTextLengthA " + std::to_string(length) + " for " + std::to_string(expectedBytes->size()) +
         " bytes; a 16-byte buffer gives " + hex(cut));
    expect(cut.size() <= 15 && expectedBytes->compare(0, cut.size(), cut) == 0,
           "a 16-byte buffer gives the title's first bytes: " + hex(cut));
}

// A process with two windows whose titles pass the test: the one enumerated last gives the record.
void lastMatchingWindowWins(const Fixture& fixture, cadlink::WindowSystem& system) {
    section("two matching windows in one process");
    StandInProcess twice;
    auto started = twice.start(fixture, u"Twice-1.dwg", "twice", {u"--second-main", u"Twice-2.dwg"});
    if (!expect(static_cast<bool>(started), started ? "" : started.error().message)) {
        return;
    }
    const std::vector<cadlink::WindowHandle> windows = system.topLevelWindows(twice.processId());
    cadlink::WindowHandle last = 0;
    std::u16string lastTitle;
    int matching = 0;
    for (cadlink::WindowHandle window : windows) {
        const std::u16string title = cadlink::GetWindowTitle(system, window);
        if (title.rfind(u"AutoCAD LT -", 0) == 0) {
            ++matching;
            last = window;
            lastTitle = title;
        }
    }
    if (!expectEqual(matching, 2, "the process has two windows titled \"AutoCAD LT - [...]\"")) {
        return;
    }
    note("enumerated last: " + utf8(lastTitle));

    cadlink::Instances instances;
    ListModel list;
    cadlink::FindAutoCadLt(system, cadlink::MatchingValues{}, instances, list);
    int lines = 0;
    for (int line = 0; line < list.lineCount(); ++line) {
        const cadlink::WindowHandle window =
            instances[static_cast<std::size_t>(list.itemData(line))].MainWindow;
        if (std::find(windows.begin(), windows.end(), window) != windows.end()) {
            ++lines;
            expectEqual(window, last, "the record holds the window enumerated last");
            expectEqual(list.text(line), lastTitle.substr(13), "and its drawing title");
        }
    }
    expectEqual(lines, 1, "the process gives one line");
    expect(twice.close(), "the stand-in with two main windows closed");
}

// Today's release names itself in the main window's title: "Autodesk AutoCAD LT 2025 - [...]" is found
// through the code-page window text as the form without a release is, and gives the same line.
void releaseTitleIsFound(const Fixture& fixture, cadlink::WindowSystem& system) {
    section("a main window titled as AutoCAD LT 2025 titles it");
    const std::u16string title = u"Autodesk AutoCAD LT 2025 - [構造図3.dwg]";
    StandInProcess release;
    // The extra arguments join the command line as they stand: the title with its blanks goes in quotes.
    auto started =
        release.start(fixture, u"構造図3.dwg", "release", {u"--window-title", u"\"" + title + u"\""});
    if (!expect(static_cast<bool>(started), started ? "" : started.error().message)) {
        return;
    }
    expectEqual(cadlink::GetWindowTitle(system, release.mainWindow()), title,
                "the title reads back through GetWindowTextA");
    cadlink::Instances instances;
    ListModel list;
    cadlink::FindAutoCadLt(system, cadlink::MatchingValues{}, instances, list);
    int lines = 0;
    for (int line = 0; line < list.lineCount(); ++line) {
        if (instances[static_cast<std::size_t>(list.itemData(line))].MainWindow == release.mainWindow()) {
            ++lines;
            expectEqual(list.text(line), std::u16string(u"[構造図3.dwg]"), "its line is the drawing title");
        }
    }
    expectEqual(lines, 1, "the release's process gives one line with its main window");
    expect(release.close(), "the stand-in with the release title closed");
}

}  // namespace

RunningStandIns discoveryChecks(const Fixture& fixture) {
    section("discovery of one and then two stand-ins");
    RunningStandIns running{std::make_unique<StandInProcess>(), std::make_unique<StandInProcess>()};
    app::PlatformBackend backend = app::makePlatformBackend();
    cadlink::WindowSystem& system = *backend.windows;
    expect(!backend.drawing->available(),
           "with no stand-in running, the Windows backend reads no layers back");

    const cadlink::MatchingValues matching;
    cadlink::Instances instances;
    ListModel list;
    cadlink::FindAutoCadLt(system, matching, instances, list);
    expectEqual(list.lineCount(), 0, "no stand-in yet: the list is empty");
    expectEqual(list.listIndex(), -1, "and nothing is selected");
    expectEqual(instances.size(), std::size_t{1}, "the table holds slot 0 only");

    // The drawing has loaded the standard's line types, as a user's template would have them.
    auto started = running.first->start(fixture, kFirstName, "first", {u"--linetypes", u"破線,一点鎖線"});
    if (!expect(static_cast<bool>(started), started ? "" : started.error().message)) {
        return running;
    }
    bool seen = false;
    for (const cadlink::ProcessEntry& process : system.processes()) {
        if (process.processId == running.first->processId()) {
            seen = true;
            expectEqual(cadlink::ExeBaseName(tiermark::fromCp932Lenient(process.exeFile)), u"acadlt",
                        "the snapshot names the stand-in's file acadlt.exe: " + process.exeFile);
        }
    }
    expect(seen, "the process snapshot holds the stand-in");
    checkWindowsOfOne(system, *running.first, kFirstName);

    cadlink::FindAutoCadLt(system, matching, instances, list);
    if (expectEqual(list.lineCount(), 1, "one stand-in: one line")) {
        expectEqual(list.text(0), u"[" + kFirstName + u"]",
                    "the line is the title without the prefix and blank");
        expectEqual(list.itemData(0), 1, "its item data is record 1");
        expectEqual(list.listIndex(), 0, "and it is selected");
        expect(instances.size() == 2 && instances[1].MainWindow == running.first->mainWindow(),
               "the record's window is the main window, not the text window");
    }
    // The stand-in's endpoint (WM_COPYDATA to its message-only window) answers for its main window.
    expect(backend.drawing->available(), "with a stand-in running, the layers can be read back");
    const auto layers = backend.drawing->layerNames(running.first->mainWindow());
    expect(layers.ok() && std::find(layers->begin(), layers->end(), u"0") != layers->end(),
           "the stand-in lists its drawing's layers through its endpoint" +
               (layers ? std::string() : ": " + layers.error().message));

    started = running.second->start(fixture, kSecondName, "second");
    if (!expect(static_cast<bool>(started), started ? "" : started.error().message)) {
        return running;
    }
    checkWindowsOfOne(system, *running.second, kSecondName);
    const std::vector<std::uint32_t> order =
        snapshotOrder(system, {running.first->processId(), running.second->processId()});
    for (int round = 1; round <= 2; ++round) {
        cadlink::FindAutoCadLt(system, matching, instances, list);
        const std::string when = round == 1 ? "" : " (discovery again)";
        if (!expectEqual(list.lineCount(), 2, "two stand-ins: two lines" + when) || order.size() != 2) {
            continue;
        }
        for (int line = 0; line < 2; ++line) {
            const bool isFirst = order[static_cast<std::size_t>(line)] == running.first->processId();
            const StandInProcess& standIn = isFirst ? *running.first : *running.second;
            expectEqual(list.text(line), u"[" + (isFirst ? kFirstName : kSecondName) + u"]",
                        "line " + std::to_string(line) + " follows the process snapshot" + when);
            expectEqual(instances[static_cast<std::size_t>(list.itemData(line))].MainWindow,
                        standIn.mainWindow(),
                        "line " + std::to_string(line) + " leads to that stand-in's main window" + when);
        }
        expectEqual(list.listIndex(), 1, "the stand-in found last is selected" + when);
        expectEqual(instances.size(), std::size_t{3}, "slot 0 and two records" + when);
    }
    lastMatchingWindowWins(fixture, system);
    releaseTitleIsFound(fixture, system);
    return running;
}

}  // namespace win32test

#include "cadlink/discovery.h"

#include <gtest/gtest.h>

#include "cadlink/fake_window_system.h"
#include "common/utf.h"

namespace cadlink {
namespace {

// A drawing list as plain data, standing in for the main window's list box.
class ListModel final : public DrawingList {
public:
    struct Line {
        std::u16string text;
        std::int32_t itemData;
    };
    std::vector<Line> lines;
    int index = -1;

    void clear() override {
        lines.clear();
        index = -1;
    }
    void addLine(const std::u16string& text, std::int32_t itemData) override {
        lines.push_back({text, itemData});
    }
    int lineCount() const override { return static_cast<int>(lines.size()); }
    int listIndex() const override { return index; }
    void setListIndex(int i) override { index = i; }
    std::int32_t itemData(int line) const override {
        return lines.at(static_cast<std::size_t>(line)).itemData;
    }
};

class Discovery : public ::testing::Test {
protected:
    FakeWindowSystem system;
    Instances instances;
    ListModel list;
    MatchingValues matching;

    // A running AutoCAD LT as the system shows it: its main window and its text window.
    WindowHandle startCad(const std::string& exe, const std::string& drawing) {
        const auto pid = system.addProcess(exe);
        const WindowHandle main = system.addWindow(pid, "AutoCAD LT - [" + drawing + "]");
        system.addWindow(pid, "AutoCAD LT \xC3\xB7\xBD\xC4 \xB3\xA8\xDD\xC4\xDE\xB3 - " + drawing);
        return main;
    }
};

TEST(ExeBaseNameTest, DropsDirectoriesDrivesAndExtensions) {
    EXPECT_EQ(ExeBaseName(u"C:\\Program Files\\AutoCAD LT\\acadlt.exe"), u"acadlt");
    EXPECT_EQ(ExeBaseName(u"name.part.exe"), u"name");
    EXPECT_EQ(ExeBaseName(u"C:acadlt.exe"), u"acadlt");
    EXPECT_EQ(ExeBaseName(u"\\\\server\\share:x\\ACLT.EXE"), u"ACLT");
    EXPECT_EQ(ExeBaseName(u"acadlt"), u"acadlt");
    EXPECT_EQ(ExeBaseName(u""), u"");
}

TEST_F(Discovery, FindsInstancesInSnapshotOrderAndSelectsTheLast) {
    system.addProcess("explorer.exe");
    const WindowHandle first = startCad("C:\\AutoCAD LT\\acadlt.exe", "Drawing1.dwg");
    const WindowHandle second = startCad("ACLT.EXE",
                                         "\x90\x7D\x96\xCA"
                                         "1.dwg");
    FindAutoCadLt(system, matching, instances, list);

    ASSERT_EQ(instances.size(), 3u);
    EXPECT_EQ(instances[0].MainWindow, 0u);
    EXPECT_EQ(instances[1].MainWindow, first);
    EXPECT_EQ(instances[2].MainWindow, second);
    ASSERT_EQ(list.lines.size(), 2u);
    EXPECT_EQ(list.lines[0].text, u"[Drawing1.dwg]");
    EXPECT_EQ(list.lines[1].text, u"[図面1.dwg]");
    EXPECT_EQ(list.lines[1].itemData, 2);
    EXPECT_EQ(list.index, 1);

    WindowHandle target = 0;
    ASSERT_TRUE(TargetWindow(instances, list, target));
    EXPECT_EQ(target, second);
}

TEST_F(Discovery, MatchesExecutableNamesExactlyAndCaseSensitively) {
    startCad("ACADLT.EXE", "a.dwg");
    startCad("aclt.exe", "b.dwg");
    startCad("acadlt2.exe", "c.dwg");
    startCad("D:\\x\\acadlt.exe", "d.dwg");
    startCad("ACLT.EXE", "e.dwg");
    FindAutoCadLt(system, matching, instances, list);
    ASSERT_EQ(list.lines.size(), 2u);
    EXPECT_EQ(list.lines[0].text, u"[d.dwg]");
    EXPECT_EQ(list.lines[1].text, u"[e.dwg]");
}

TEST_F(Discovery, TakesOnlyMainWindowTitlesAndTheLastOneWins) {
    const auto pid = system.addProcess("acadlt.exe");
    system.addWindow(pid, "AutoCAD LT 2008 - [x.dwg]");
    system.addWindow(pid, "AutoCAD LT - [first.dwg]", 0);
    const WindowHandle last = system.addWindow(pid, "AutoCAD LT - [second.dwg]", 1);
    system.addWindow(pid, "AutoCAD LT \xC3\xB7\xBD\xC4 \xB3\xA8\xDD\xC4\xDE\xB3 - second.dwg", 1);
    system.addWindow(pid, "", 1);
    FindAutoCadLt(system, matching, instances, list);
    ASSERT_EQ(instances.size(), 2u);
    EXPECT_EQ(instances[1].DrawingTitle, u"[second.dwg]");
    EXPECT_EQ(instances[1].MainWindow, last);
}

// The main-window titles of the releases users run, and windows that are not main windows.
TEST(MainWindowTitle, TheReleasesTitleFormsGiveTheDrawingTitle) {
    const MatchingValues matching;
    const struct {
        std::u16string title;
        std::optional<std::u16string> drawing;
    } cases[] = {
        {u"AutoCAD LT - [Drawing1.dwg]", u"[Drawing1.dwg]"},  // as before
        {u"AutoCAD LT - Drawing1.dwg", u"Drawing1.dwg"},
        {u"AutoCAD LT -", u""},
        {u"AutoCAD LT 2008 - [Drawing1.dwg]", u"[Drawing1.dwg]"},
        {u"AutoCAD LT 2000i - [Drawing.dwg]", u"[Drawing.dwg]"},
        {u"AutoCAD LT 97 - [図面1.dwg]", u"[図面1.dwg]"},
        {u"Autodesk AutoCAD LT 2012 - [Drawing1.dwg]", u"[Drawing1.dwg]"},
        {u"Autodesk AutoCAD LT 2025 - [Drawing1.dwg]", u"[Drawing1.dwg]"},
        {u"Autodesk AutoCAD LT 2026 - [C:\\図面\\構造 一般図.dwg]", u"[C:\\図面\\構造 一般図.dwg]"},
        {u"Autodesk AutoCAD LT 2025 - ", u""},
        // Not main windows: the text window, bare product names (a message box's caption), other titles.
        {u"AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - Drawing1.dwg", std::nullopt},
        {u"AutoCAD LT 2025 テキスト ウィンドウ - Drawing1.dwg", std::nullopt},
        {u"AutoCAD LT", std::nullopt},
        {u"Autodesk AutoCAD LT 2025", std::nullopt},
        {u"AutoCAD LT 2025", std::nullopt},
        {u"AutoCAD LT 2025 Help - [Drawing1.dwg]", std::nullopt},
        {u"Autodesk AutoCAD 2025 - [Drawing1.dwg]", std::nullopt},  // AutoCAD, not AutoCAD LT
        {u"Autodesk AutoCAD LT - [Drawing1.dwg]", std::nullopt},
        {u"Notepad - AutoCAD LT 2025 - [Drawing1.dwg]", std::nullopt},
        {u"autocad lt 2025 - [Drawing1.dwg]", std::nullopt},
        {u"AutoCAD LT 2025abcd - [x]", std::nullopt},
        {u"AutoCAD LT 2025- [x]", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mainWindowDrawingTitle(c.title, matching), c.drawing) << tiermark::toUtf8(c.title);
    }
}

TEST_F(Discovery, FindsTodaysReleasesByTheirTitles) {
    const auto pid = system.addProcess("C:\\Program Files\\Autodesk\\AutoCAD LT 2025\\acadlt.exe");
    const WindowHandle main = system.addWindow(pid, "Autodesk AutoCAD LT 2025 - [Drawing1.dwg]");
    system.addWindow(pid, "AutoCAD LT 2025");  // a dialog's caption after it
    FindAutoCadLt(system, matching, instances, list);
    ASSERT_EQ(list.lines.size(), 1u);
    EXPECT_EQ(list.lines[0].text, u"[Drawing1.dwg]");
    EXPECT_EQ(instances[1].MainWindow, main);
}

TEST_F(Discovery, KeepsARecordForAProcessWithoutMainWindow) {
    const auto pid = system.addProcess("acadlt.exe");
    system.addWindow(pid, "Starting...");
    FindAutoCadLt(system, matching, instances, list);
    ASSERT_EQ(list.lines.size(), 1u);
    EXPECT_EQ(list.lines[0].text, u"");
    EXPECT_EQ(instances[1].MainWindow, 0u);
    EXPECT_EQ(list.index, 0);
    WindowHandle target = 99;
    ASSERT_TRUE(TargetWindow(instances, list, target));
    EXPECT_EQ(target, 0u);
}

TEST_F(Discovery, ARunDoesNotAppendToThePreviousOne) {
    startCad("acadlt.exe", "a.dwg");
    FindAutoCadLt(system, matching, instances, list);
    FindAutoCadLt(system, matching, instances, list);
    EXPECT_EQ(instances.size(), 2u);
    EXPECT_EQ(list.lines.size(), 1u);
}

TEST_F(Discovery, NoInstanceLeavesTheListEmptyAndUnselected) {
    system.addProcess("notepad.exe");
    list.addLine(u"old", 1);
    list.index = 0;
    FindAutoCadLt(system, matching, instances, list);
    EXPECT_TRUE(list.lines.empty());
    EXPECT_EQ(list.index, -1);
    EXPECT_EQ(instances.size(), 1u);
    WindowHandle target = 0;
    EXPECT_FALSE(TargetWindow(instances, list, target));
}

TEST_F(Discovery, OddTitlesGiveDefinedDrawingTitles) {
    const auto pid = system.addProcess("acadlt.exe");
    const WindowHandle bare = system.addWindow(pid, "AutoCAD LT -");
    FindAutoCadLt(system, matching, instances, list);
    EXPECT_EQ(instances[1].MainWindow, bare);
    EXPECT_EQ(instances[1].DrawingTitle, u"");

    // Length reported so that the cut falls inside the last double-byte character: it is dropped whole.
    system.closeWindow(bare);
    const WindowHandle cut = system.addWindow(pid, "AutoCAD LT - [\x90\x7D\x96\xCA]");
    system.setReportedLength(cut, 17);
    FindAutoCadLt(system, matching, instances, list);
    EXPECT_EQ(instances[1].DrawingTitle, u"[図");

    // Bytes that are not code page 932 read as replacement characters.
    system.closeWindow(cut);
    system.addWindow(pid, "AutoCAD LT - [\xA0\xFD.dwg]");
    FindAutoCadLt(system, matching, instances, list);
    EXPECT_EQ(instances[1].DrawingTitle, u"[\uFFFD\uFFFD.dwg]");
}

TEST(GetWindowTitleTest, CutsByBytesAndKeepsDoubleByteCharactersWhole) {
    FakeWindowSystem system;
    const auto pid = system.addProcess("acadlt.exe");
    const WindowHandle window = system.addWindow(pid,
                                                 "AutoCAD LT - [\x90\x7D\x96\xCA"
                                                 "1.dwg]");
    EXPECT_EQ(GetWindowTitle(system, window), u"AutoCAD LT - [図面1.dwg]");
    const WindowHandle empty = system.addWindow(pid, "");
    EXPECT_EQ(GetWindowTitle(system, empty), u"");
}

}  // namespace
}  // namespace cadlink

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/window_system.h"

namespace cadlink {

// One running AutoCAD LT process: the drawing named in its main window's title and that window.
struct InstanceRecord {
    std::u16string DrawingTitle;
    WindowHandle MainWindow = 0;
};

// The AutoCAD LT instance table. Slot 0 exists and is never filled; records 1..n are the processes found
// by the last discovery, in the order found.
using Instances = std::vector<InstanceRecord>;

// The values discovery matches against. The main window's start-up sets them before the first discovery.
struct MatchingValues {
    std::u16string processBaseName = u"ACLT";  // besides the fixed "acadlt"
    std::u16string mainWindowPrefix = u"AutoCAD LT -";
};
inline constexpr std::u16string_view kFixedProcessBaseName = u"acadlt";

// The drawing title that an AutoCAD LT main-window title names, or nothing when the title is not that of a
// main window. AutoCAD LT's frame window shows its product name and, while the drawing window is
// maximized (as it always is behind the file tabs of current releases), " - [<drawing>]" after it:
//   "AutoCAD LT - [x]"                     the prefix of the matching values, one character, the rest as
//                                          drawing title, exactly as before;
//   "AutoCAD LT <release> - [x]"           "AutoCAD LT 2008 - [Drawing1.dwg]", "AutoCAD LT 2000i - [...]";
//   "Autodesk AutoCAD LT <release> - [x]"  "Autodesk AutoCAD LT 2025 - [Drawing1.dwg]" (2009 and later).
// A release is ASCII digits, possibly followed by a few ASCII letters ("2000i"). Everything after " - " is
// the drawing title. Nothing else is taken: not the text window ("AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - x", "AutoCAD LT
// 2025 テキスト ウィンドウ - x"), not a bare product name such as a message box's caption, not a title
// that merely contains these words.
std::optional<std::u16string> mainWindowDrawingTitle(std::u16string_view title,
                                                     const MatchingValues& matching);

// The drawing list the discovery fills: one line per record, each carrying its record index as item data;
// the selected line (list index, -1 for none) is the target drawing.
class DrawingList {
public:
    virtual ~DrawingList() = default;
    virtual void clear() = 0;
    virtual void addLine(const std::u16string& text, std::int32_t itemData) = 0;
    virtual int lineCount() const = 0;
    virtual int listIndex() const = 0;
    virtual void setListIndex(int index) = 0;
    virtual std::int32_t itemData(int line) const = 0;
};

// A file name without its directories and its extension: "C:\Program Files\AutoCAD LT\acadlt.exe" gives
// "acadlt", "name.part.exe" gives "name". Drive letters and "\" or ":" separated parts are dropped.
std::u16string ExeBaseName(std::u16string_view file);

// A window's title, double-byte safe: the code-page bytes are cut to the reported length before they are
// converted, so a title never ends in a broken character or a terminator. A lead byte left alone at the
// end is dropped; bytes that are not valid code page 932 read as U+FFFD. Empty for a title of length 0.
std::u16string GetWindowTitle(WindowSystem& system, WindowHandle window);

// Rebuilds the instance table and the drawing list from the running processes and selects the line of the
// AutoCAD LT found last. A main-window title that is exactly the prefix gives an empty drawing title.
void FindAutoCadLt(WindowSystem& system, const MatchingValues& matching, Instances& instances,
                   DrawingList& list);

// The main window of a record of the instance table; 0 for a record without one or past the table.
WindowHandle MainWindowOf(const Instances& instances, std::int32_t record);

// The window that receives the commands for the selected line; 0 when the line's record has no window.
// Returns false when no line is selected (there is no target drawing).
bool TargetWindow(const Instances& instances, const DrawingList& list, WindowHandle& window);

}  // namespace cadlink

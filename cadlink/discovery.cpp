#include "cadlink/discovery.h"

#include "common/codepage.h"

namespace cadlink {
namespace {

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Drops a lead byte that the cut left without its trail byte.
std::string_view withoutBrokenTail(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (isLeadByte(static_cast<unsigned char>(bytes[i]))) {
            if (i + 1 == bytes.size()) {
                return bytes.substr(0, i);
            }
            i += 2;
        } else {
            ++i;
        }
    }
    return bytes;
}

constexpr std::u16string_view kMaker = u"Autodesk ";
constexpr std::u16string_view kProduct = u"AutoCAD LT ";
constexpr std::u16string_view kSeparator = u" - ";
// "2000i" is the longest release designator AutoCAD LT has used; a few letters more leave room.
constexpr std::size_t kMaxReleaseLetters = 3;

bool isAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The length of the release designator at the start of the text (digits, then a few letters), 0 for none.
std::size_t releaseLength(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiDigit(text[i])) {
        ++i;
    }
    if (i == 0) {
        return 0;
    }
    const std::size_t digits = i;
    while (i < text.size() && isAsciiLetter(text[i]) && i - digits < kMaxReleaseLetters) {
        ++i;
    }
    return i;
}

// Applies the window test to one window of the current process's record.
void testWindow(WindowSystem& system, const MatchingValues& matching, WindowHandle window,
                InstanceRecord& record) {
    if (system.windowTextLength(window) <= 0) {
        return;
    }
    if (std::optional<std::u16string> drawing =
            mainWindowDrawingTitle(GetWindowTitle(system, window), matching)) {
        record.DrawingTitle = std::move(*drawing);
        record.MainWindow = window;
    }
}

}  // namespace

std::optional<std::u16string> mainWindowDrawingTitle(std::u16string_view title,
                                                     const MatchingValues& matching) {
    const std::u16string_view prefix = matching.mainWindowPrefix;
    if (!prefix.empty() && title.substr(0, prefix.size()) == prefix) {
        // The prefix and the one character after it (the blank of "AutoCAD LT - [...]") are dropped.
        return title.size() > prefix.size() + 1 ? std::u16string(title.substr(prefix.size() + 1))
                                                : std::u16string();
    }
    std::u16string_view rest = title;
    if (rest.substr(0, kMaker.size()) == kMaker) {
        rest.remove_prefix(kMaker.size());
    }
    if (rest.substr(0, kProduct.size()) != kProduct) {
        return std::nullopt;
    }
    rest.remove_prefix(kProduct.size());
    const std::size_t release = releaseLength(rest);
    if (release == 0 || rest.substr(release, kSeparator.size()) != kSeparator) {
        return std::nullopt;
    }
    return std::u16string(rest.substr(release + kSeparator.size()));
}

std::u16string ExeBaseName(std::u16string_view file) {
    std::u16string text(file);
    for (;;) {
        std::size_t slash = text.find(u'\\');
        while (slash != std::u16string::npos) {
            text.erase(0, slash + 1);
            slash = text.find(u'\\');
        }
        const std::size_t colon = text.find(u':');
        if (colon == std::u16string::npos) {
            break;
        }
        text.erase(0, colon + 1);
    }
    const std::size_t dot = text.find(u'.');
    if (dot != std::u16string::npos) {
        text.erase(dot);
    }
    return text;
}

std::u16string GetWindowTitle(WindowSystem& system, WindowHandle window) {
    const int length = system.windowTextLength(window);
    if (length <= 0) {
        return {};
    }
    std::string bytes = system.windowText(window, length + 1);
    if (bytes.size() > static_cast<std::size_t>(length)) {
        bytes.resize(static_cast<std::size_t>(length));
    }
    return tiermark::fromCp932Lenient(withoutBrokenTail(bytes));
}

void FindAutoCadLt(WindowSystem& system, const MatchingValues& matching, Instances& instances,
                   DrawingList& list) {
    instances.assign(1, InstanceRecord{});
    list.clear();
    for (const ProcessEntry& process : system.processes()) {
        const std::u16string name = ExeBaseName(tiermark::fromCp932Lenient(process.exeFile));
        if (name != matching.processBaseName && name != kFixedProcessBaseName) {
            continue;
        }
        instances.emplace_back();
        const auto index = static_cast<std::int32_t>(instances.size() - 1);
        for (WindowHandle window : system.topLevelWindows(process.processId)) {
            testWindow(system, matching, window, instances.back());
        }
        list.addLine(instances.back().DrawingTitle, index);
    }
    if (instances.size() > 1) {
        list.setListIndex(list.lineCount() - 1);
    }
}

WindowHandle MainWindowOf(const Instances& instances, std::int32_t record) {
    return (record >= 0 && static_cast<std::size_t>(record) < instances.size()) ? instances[record].MainWindow
                                                                                : 0;
}

bool TargetWindow(const Instances& instances, const DrawingList& list, WindowHandle& window) {
    const int line = list.listIndex();
    if (line < 0) {
        return false;
    }
    window = MainWindowOf(instances, list.itemData(line));
    return true;
}

}  // namespace cadlink

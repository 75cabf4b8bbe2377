#include "cadlink/win32_window_system.h"

#include <windows.h>
// windows.h first: tlhelp32.h relies on its types.
#include <tlhelp32.h>

#include <cstring>
#include <memory>
#include <type_traits>

namespace cadlink {
namespace {

// The narrow snapshot entries: szExeFile comes as code-page bytes. Without UNICODE, PROCESSENTRY32 and
// Process32First/Next are the ANSI forms. The 32-bit entry is 296 bytes; on x64 the 8-byte heap id field
// aligns the entry to 304 bytes. dwSize is always set from sizeof, which Toolhelp checks.
static_assert(std::is_same_v<std::remove_extent_t<decltype(PROCESSENTRY32::szExeFile)>, CHAR>,
              "the process snapshot must be read through the ANSI entry");
static_assert(sizeof(PROCESSENTRY32) == (sizeof(void*) == 8 ? 304 : 296));
static_assert(sizeof(THREADENTRY32) == 28);

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Snapshot = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

Snapshot takeSnapshot(DWORD flags) {
    HANDLE handle = CreateToolhelp32Snapshot(flags, 0);
    return Snapshot(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}
WindowHandle fromHwnd(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

// The enumeration callback: keeps every window and asks for the next one.
BOOL CALLBACK collectWindow(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<WindowHandle>*>(context)->push_back(fromHwnd(window));
    return TRUE;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(std::chrono::milliseconds sendBound) : m_sendBound(sendBound) {}

std::vector<ProcessEntry> Win32WindowSystem::processes() {
    std::vector<ProcessEntry> found;
    const Snapshot snapshot = takeSnapshot(TH32CS_SNAPPROCESS);
    if (!snapshot) {
        return found;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        // szExeFile is NUL-terminated within its 260 bytes.
        const std::size_t length = strnlen(entry.szExeFile, sizeof entry.szExeFile);
        found.push_back(ProcessEntry{entry.th32ProcessID, std::string(entry.szExeFile, length)});
    }
    return found;
}

std::vector<WindowHandle> Win32WindowSystem::topLevelWindows(std::uint32_t processId) {
    std::vector<WindowHandle> windows;
    const Snapshot snapshot = takeSnapshot(TH32CS_SNAPTHREAD);
    if (!snapshot) {
        return windows;
    }
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == processId) {
            EnumThreadWindows(entry.th32ThreadID, collectWindow, reinterpret_cast<LPARAM>(&windows));
        }
    }
    return windows;
}

int Win32WindowSystem::windowTextLength(WindowHandle window) {
    return GetWindowTextLengthA(toHwnd(window));
}

std::string Win32WindowSystem::windowText(WindowHandle window, int bufferSize) {
    if (bufferSize <= 0) {
        return {};
    }
    std::string buffer(static_cast<std::size_t>(bufferSize), '\0');
    const int copied = GetWindowTextA(toHwnd(window), buffer.data(), bufferSize);
    buffer.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return buffer;
}

bool Win32WindowSystem::sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                                     const std::vector<std::uint8_t>& bytes) {
    COPYDATASTRUCT payload{};
    payload.dwData = dwData;
    payload.cbData = static_cast<DWORD>(bytes.size());
    // The receiver gets its own copy; the system only reads through this pointer.
    payload.lpData = const_cast<std::uint8_t*>(bytes.data());
    // Taken means the window procedure has run for the message within the bound. What it returned is not
    // examined: nothing says what AutoCAD LT's window procedure answers for WM_COPYDATA, and a text it
    // took must not be reported as lost.
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutA(
        toHwnd(window), WM_COPYDATA, static_cast<WPARAM>(wParam), reinterpret_cast<LPARAM>(&payload),
        SMTO_NORMAL | SMTO_ABORTIFHUNG, static_cast<UINT>(m_sendBound.count()), &result);
    return sent != 0;
}

bool Win32WindowSystem::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    return PostMessageA(toHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) !=
           0;
}

}  // namespace cadlink

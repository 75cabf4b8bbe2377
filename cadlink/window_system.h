#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cadlink {

// A top-level window of the operating system; 0 is "no window".
using WindowHandle = std::uint64_t;

// One entry of the process snapshot: the process id and its executable file name as the system gives it
// (code-page bytes, possibly with directories).
struct ProcessEntry {
    std::uint32_t processId = 0;
    std::string exeFile;
};

// The window-system services through which the CAD link meets the running CAD programs. Each backend
// (Win32, the POSIX link to the CAD stand-in, the in-memory fake of the tests) implements exactly this.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The running processes, in snapshot order.
    virtual std::vector<ProcessEntry> processes() = 0;

    // For one process: the top-level windows of each of its threads, thread by thread, in enumeration order.
    virtual std::vector<WindowHandle> topLevelWindows(std::uint32_t processId) = 0;

    // Length in bytes of the window's title in the system code page; 0 or less when it has none.
    virtual int windowTextLength(WindowHandle window) = 0;

    // The window's title as code-page bytes, as a buffer of bufferSize bytes receives it (at most
    // bufferSize - 1 bytes, the terminator not included).
    virtual std::string windowText(WindowHandle window, int bufferSize) = 0;

    // Hands a copy-data message to the window and blocks until its owner has taken the data, or until a
    // bounded wait has passed. False when the window does not exist, did not answer within the wait or
    // refused the data (where the backend learns of a refusal: the stand-in's link does).
    virtual bool sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                              const std::vector<std::uint8_t>& bytes) = 0;

    // Posts a message to the window without waiting. False when it could not be posted.
    virtual bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
};

// Message numbers of the window system that the command channel uses.
inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmCopyData = 0x004A;

}  // namespace cadlink

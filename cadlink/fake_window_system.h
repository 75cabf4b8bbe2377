#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cadlink/window_system.h"

namespace cadlink {

// An in-memory window system for tests: processes with threads and titled windows, and a record of every
// message sent or posted.
class FakeWindowSystem final : public WindowSystem {
public:
    struct Sent {
        WindowHandle window = 0;
        std::uintptr_t wParam = 0;
        std::uint32_t dwData = 0;
        std::vector<std::uint8_t> bytes;
    };
    struct Posted {
        WindowHandle window = 0;
        std::uint32_t message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
    };

    // Adds a process at the end of the snapshot; returns its id.
    std::uint32_t addProcess(const std::string& exeFile);
    // Adds a top-level window with a title in code-page bytes to a thread of the process (threads are
    // numbered from 0 per process, enumerated in that order); returns its handle.
    WindowHandle addWindow(std::uint32_t processId, const std::string& titleBytes, int thread = 0);
    // The window disappears: its title reads as empty and sends to it fail.
    void closeWindow(WindowHandle window);
    // The window takes that many more copy-data messages, then disappears (a CAD program that stops in the
    // middle of a sequence).
    void closeWindowAfter(WindowHandle window, int texts);
    // Makes the window report a title length other than its title's byte count.
    void setReportedLength(WindowHandle window, int length);

    std::vector<Sent> sent;
    std::vector<Posted> posted;

    std::vector<ProcessEntry> processes() override;
    std::vector<WindowHandle> topLevelWindows(std::uint32_t processId) override;
    int windowTextLength(WindowHandle window) override;
    std::string windowText(WindowHandle window, int bufferSize) override;
    bool sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                      const std::vector<std::uint8_t>& bytes) override;
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;

private:
    struct Window {
        std::uint32_t processId = 0;
        int thread = 0;
        std::string title;
        int reportedLength = -1;  // -1: the title's byte count
        bool open = true;
        int textsUntilClosed = -1;  // -1: open for good
    };

    std::vector<ProcessEntry> m_processes;
    std::map<WindowHandle, Window> m_windows;
    std::vector<WindowHandle> m_order;
    std::uint32_t m_nextProcessId = 1000;
    WindowHandle m_nextWindow = 0x10010;
};

}  // namespace cadlink

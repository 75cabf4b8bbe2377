#pragma once

#include <chrono>
#include <string>

#include "cadlink/window_system.h"

namespace cadlink {

// The window system on POSIX machines, where AutoCAD LT is played by the stand-in "acadlt": processes come
// from /proc in ascending process id, each with the base name of its executable (its short name when the
// executable cannot be read); a process's windows are asked from its stand-in endpoint, and messages are
// delivered there. A copy-data message waits for the stand-in to take the text, at most the reply timeout,
// so a hung or vanished stand-in never holds the caller for long.
class PosixWindowSystem final : public WindowSystem {
public:
    explicit PosixWindowSystem(std::chrono::milliseconds replyTimeout = std::chrono::milliseconds(3000));

    std::vector<ProcessEntry> processes() override;
    std::vector<WindowHandle> topLevelWindows(std::uint32_t processId) override;
    int windowTextLength(WindowHandle window) override;
    std::string windowText(WindowHandle window, int bufferSize) override;
    bool sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                      const std::vector<std::uint8_t>& bytes) override;
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;

    // Why the last failed call failed (empty after a success).
    const std::string& lastError() const { return m_lastError; }

private:
    bool windowTitle(WindowHandle window, std::string& title);

    std::chrono::milliseconds m_timeout;
    std::string m_lastError;
};

// The executable base name of a process from /proc: the last part of its exe link (without a " (deleted)"
// mark), else its comm; empty when the process is gone.
std::string processExeBaseName(std::uint32_t processId);

}  // namespace cadlink

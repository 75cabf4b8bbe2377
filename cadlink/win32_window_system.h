#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "cadlink/window_system.h"

namespace cadlink {

// The window system of Windows itself: Toolhelp snapshots for processes and threads, EnumThreadWindows for
// each thread's top-level windows, the narrow ("A") window-text calls, so titles come as bytes of the
// system code page, and WM_COPYDATA / PostMessageA for the command channel.
//
// A copy-data send waits for the receiving window procedure, but not forever: it goes out with
// SendMessageTimeoutA(SMTO_NORMAL | SMTO_ABORTIFHUNG) and gives up after sendBound. SMTO_NORMAL keeps
// SendMessageA's behaviour of handling messages sent to the caller's own windows while it waits, so a CAD
// program that sends something back during the copy-data cannot deadlock us. A window that is gone fails
// at once.
class Win32WindowSystem final : public WindowSystem {
public:
    static constexpr std::chrono::milliseconds kDefaultSendBound{5000};

    explicit Win32WindowSystem(std::chrono::milliseconds sendBound = kDefaultSendBound);

    std::vector<ProcessEntry> processes() override;
    std::vector<WindowHandle> topLevelWindows(std::uint32_t processId) override;
    int windowTextLength(WindowHandle window) override;
    std::string windowText(WindowHandle window, int bufferSize) override;
    bool sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                      const std::vector<std::uint8_t>& bytes) override;
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;

    std::chrono::milliseconds sendBound() const { return m_sendBound; }

private:
    std::chrono::milliseconds m_sendBound;
};

}  // namespace cadlink

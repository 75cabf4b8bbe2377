#include "cadlink/fake_window_system.h"

#include <algorithm>

namespace cadlink {

std::uint32_t FakeWindowSystem::addProcess(const std::string& exeFile) {
    m_nextProcessId += 4;
    m_processes.push_back({m_nextProcessId, exeFile});
    return m_nextProcessId;
}

WindowHandle FakeWindowSystem::addWindow(std::uint32_t processId, const std::string& titleBytes, int thread) {
    const WindowHandle handle = m_nextWindow;
    m_nextWindow += 0x10;
    m_windows[handle] = Window{processId, thread, titleBytes, -1, true};
    m_order.push_back(handle);
    return handle;
}

void FakeWindowSystem::closeWindow(WindowHandle window) {
    auto it = m_windows.find(window);
    if (it != m_windows.end()) {
        it->second.open = false;
    }
}

void FakeWindowSystem::closeWindowAfter(WindowHandle window, int texts) {
    m_windows.at(window).textsUntilClosed = texts;
}

void FakeWindowSystem::setReportedLength(WindowHandle window, int length) {
    m_windows.at(window).reportedLength = length;
}

std::vector<ProcessEntry> FakeWindowSystem::processes() {
    return m_processes;
}

std::vector<WindowHandle> FakeWindowSystem::topLevelWindows(std::uint32_t processId) {
    std::vector<std::pair<int, WindowHandle>> windows;
    for (WindowHandle handle : m_order) {
        const Window& window = m_windows.at(handle);
        if (window.processId == processId && window.open) {
            windows.emplace_back(window.thread, handle);
        }
    }
    std::stable_sort(windows.begin(), windows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<WindowHandle> handles;
    for (const auto& entry : windows) {
        handles.push_back(entry.second);
    }
    return handles;
}

int FakeWindowSystem::windowTextLength(WindowHandle window) {
    auto it = m_windows.find(window);
    if (it == m_windows.end() || !it->second.open) {
        return 0;
    }
    const Window& w = it->second;
    return w.reportedLength >= 0 ? w.reportedLength : static_cast<int>(w.title.size());
}

std::string FakeWindowSystem::windowText(WindowHandle window, int bufferSize) {
    auto it = m_windows.find(window);
    if (it == m_windows.end() || !it->second.open || bufferSize <= 0) {
        return {};
    }
    return it->second.title.substr(0, static_cast<std::size_t>(bufferSize - 1));
}

bool FakeWindowSystem::sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                                    const std::vector<std::uint8_t>& bytes) {
    auto it = m_windows.find(window);
    if (it != m_windows.end() && it->second.textsUntilClosed == 0) {
        it->second.open = false;
    }
    if (it == m_windows.end() || !it->second.open) {
        return false;
    }
    if (it->second.textsUntilClosed > 0) {
        --it->second.textsUntilClosed;
    }
    sent.push_back({window, wParam, dwData, bytes});
    return true;
}

bool FakeWindowSystem::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
    auto it = m_windows.find(window);
    if (it == m_windows.end() || !it->second.open) {
        return false;
    }
    posted.push_back({window, message, wParam, lParam});
    return true;
}

}  // namespace cadlink

#include "tests/win32/stand_in_process.h"

#include <windows.h>

#include "cadsim/app/win32_messages.h"

namespace win32test {
namespace {

constexpr auto kStartWait = std::chrono::seconds(20);

std::u16string fromAscii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string quoted(const std::u16string& text) {
    return u"\"" + text + u"\"";
}

struct Found {
    DWORD processId;
    const wchar_t* windowClass;
    HWND window = nullptr;
};

BOOL CALLBACK findWindowOfClass(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<Found*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner == found->processId && std::wstring_view(name) == found->windowClass) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND windowOfClass(DWORD processId, const wchar_t* windowClass) {
    Found found{processId, windowClass};
    EnumWindows(findWindowOfClass, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

bool sendToMain(cadlink::WindowHandle window, UINT message, WPARAM wParam) {
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutW(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)),
                                             message, wParam, 0, SMTO_NORMAL, 5000, &result);
    return sent != 0 && result != 0;
}

}  // namespace

StandInProcess::~StandInProcess() {
    terminate();
}

tiermark::Result<void> StandInProcess::start(const Fixture& fixture, const std::u16string& title,
                                             const std::string& name,
                                             const std::vector<std::u16string>& extra) {
    m_log = fixture.workFolder + name + ".log";
    m_state = fixture.workFolder + name + ".json";
    DeleteFileA(m_log.c_str());
    DeleteFileA(m_state.c_str());
    // Headless: the stand-in's plain Win32 windows, which the driver finds by their classes.
    std::u16string commandLine = quoted(fixture.standInExe) + u" --headless --title " + quoted(title) +
                                 u" --log " + quoted(fromAscii(m_log)) + u" --state " +
                                 quoted(fromAscii(m_state));
    for (const std::u16string& argument : extra) {
        commandLine += u" " + argument;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring mutableLine(commandLine.begin(), commandLine.end());
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return tiermark::makeError("acadlt.exe did not start (error " + std::to_string(GetLastError()) + ")");
    }
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_processId = info.dwProcessId;

    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while (std::chrono::steady_clock::now() < deadline) {
        if (windowOfClass(m_processId, cadsim::win32::kMainWindowClass) != nullptr &&
            windowOfClass(m_processId, cadsim::win32::kTextWindowClass) != nullptr) {
            return {};
        }
        if (WaitForSingleObject(m_process, 20) == WAIT_OBJECT_0) {
            return tiermark::makeError("acadlt.exe ended before its windows were up");
        }
    }
    return tiermark::makeError("the windows of acadlt.exe did not come up in time");
}

cadlink::WindowHandle StandInProcess::mainWindow() const {
    return reinterpret_cast<std::uintptr_t>(windowOfClass(m_processId, cadsim::win32::kMainWindowClass));
}

bool StandInProcess::close(std::chrono::milliseconds wait) {
    if (m_process == nullptr) {
        return true;
    }
    PostMessageW(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(mainWindow())), WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(m_process, static_cast<DWORD>(wait.count())) == WAIT_OBJECT_0;
    if (ended) {
        CloseHandle(m_process);
        m_process = nullptr;
    }
    return ended;
}

void StandInProcess::terminate() {
    if (m_process == nullptr) {
        return;
    }
    TerminateProcess(m_process, 1);
    WaitForSingleObject(m_process, 5000);
    CloseHandle(m_process);
    m_process = nullptr;
}

bool StandInProcess::pick(int id) const {
    return sendToMain(mainWindow(), cadsim::win32::kPickMessage, static_cast<WPARAM>(id));
}

bool StandInProcess::confirmSelection() const {
    return sendToMain(mainWindow(), cadsim::win32::kConfirmSelectionMessage, 0);
}

}  // namespace win32test

// The user's one Tiermark on Windows: a named mutex in the user's session, named by the user's SID, and a
// message-only window of the same name that a later start finds and asks.
#include <windows.h>

#include <sddl.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QWidget>

#include <cstdio>
#include <string>
#include <vector>

#include "app/instance_guard.h"

namespace app {
namespace {

constexpr wchar_t kWindowClass[] = L"Tiermark.Instance";
constexpr UINT kComeForwardMessage = WM_APP + 1;
// The holder's answer: a value no window answering WM_APP + 1 for its own purposes gives by chance.
constexpr LRESULT kComing = 0x54494552;
constexpr UINT kAnswerWaitMs = 2000;

std::u16string userIdentity() {
    std::u16string identity;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<unsigned char> buffer(size);
        if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
            const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
            LPWSTR text = nullptr;
            if (ConvertSidToStringSidW(user->User.Sid, &text)) {
                identity = reinterpret_cast<const char16_t*>(text);
                LocalFree(text);
            }
        }
        CloseHandle(token);
    }
    if (identity.empty()) {
        wchar_t name[257] = {};
        DWORD length = 257;
        if (GetUserNameW(name, &length)) {
            identity = reinterpret_cast<const char16_t*>(name);
        }
    }
    return identity;
}

std::wstring widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

class Win32InstanceGuard final : public InstanceGuard {
public:
    Win32InstanceGuard() : m_name(L"Tiermark-" + widen(instanceKey(userIdentity()))) {
        // Local\: the user's own session. The mutex lives as long as a process has it open, so a Tiermark
        // that crashed leaves nothing behind.
        const std::wstring mutexName = L"Local\\" + m_name;
        m_mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
        const DWORD error = GetLastError();
        if (m_mutex == nullptr) {
            std::fprintf(stderr, "Tiermark: no mutex (error %lu); running without the one-instance check\n",
                         static_cast<unsigned long>(error));
            m_holds = true;
            m_unguarded = true;
        } else if (error == ERROR_ALREADY_EXISTS) {
            // A later start keeps no hold on the name: if the holder ends meanwhile, the next start is first.
            CloseHandle(m_mutex);
            m_mutex = nullptr;
            m_holds = false;
        } else {
            m_holds = true;
        }
    }

    ~Win32InstanceGuard() override {
        if (m_window != nullptr) {
            DestroyWindow(m_window);
        }
        if (m_mutex != nullptr) {
            CloseHandle(m_mutex);
        }
    }

    Win32InstanceGuard(const Win32InstanceGuard&) = delete;
    Win32InstanceGuard& operator=(const Win32InstanceGuard&) = delete;

    bool holdsClaim() const override { return m_holds; }

    bool askHolderToComeForward() override {
        HWND holder = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, m_name.c_str());
        if (holder == nullptr) {
            return false;
        }
        // This start is the foreground program the user just started: it lets the holder take the front.
        DWORD holderProcess = 0;
        GetWindowThreadProcessId(holder, &holderProcess);
        AllowSetForegroundWindow(holderProcess);
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutW(holder, kComeForwardMessage, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                kAnswerWaitMs, &answer) == 0) {
            return false;
        }
        return static_cast<LRESULT>(answer) == kComing;
    }

    void answerRequests(std::function<void()> comeForward) override {
        if (m_unguarded) {
            return;
        }
        m_comeForward = std::move(comeForward);
        HINSTANCE module = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Win32InstanceGuard::windowProcedure;
        windowClass.hInstance = module;
        windowClass.lpszClassName = kWindowClass;
        if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            return;
        }
        m_window = CreateWindowExW(0, kWindowClass, m_name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   module, this);
    }

protected:
    // Qt's activation of a program that is not the active one only marks its taskbar entry; the foreground
    // right that the later start gave (AllowSetForegroundWindow) lets the window take the front itself.
    void takeForeground(QWidget& window) override {
        SetForegroundWindow(reinterpret_cast<HWND>(window.winId()));
    }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        } else if (message == kComeForwardMessage) {
            auto* guard = reinterpret_cast<Win32InstanceGuard*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (guard != nullptr && guard->m_comeForward) {
                // Answered at once, so the later start does not wait on the window; the window comes forward
                // from the event loop, with the foreground right the later start has given.
                QMetaObject::invokeMethod(QCoreApplication::instance(), guard->m_comeForward,
                                          Qt::QueuedConnection);
                return kComing;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::wstring m_name;
    HANDLE m_mutex = nullptr;
    bool m_holds = false;
    bool m_unguarded = false;
    HWND m_window = nullptr;
    std::function<void()> m_comeForward;
};

}  // namespace

std::unique_ptr<InstanceGuard> claimInstance() {
    return std::make_unique<Win32InstanceGuard>();
}

}  // namespace app

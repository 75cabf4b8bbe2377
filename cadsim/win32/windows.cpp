#include "cadsim/win32/windows.h"

#include <windows.h>

#include <string>
#include <vector>

#include "cadsim/win32/messages.h"

namespace cadsim::win32 {
namespace {

// What the window procedure needs; one per process, reached through GWLP_USERDATA of both windows.
struct WindowContext {
    Session& session;
    WindowOptions options;
    HWND mainWindow = nullptr;
    HWND textWindow = nullptr;
    HWND secondMain = nullptr;
};

const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::uint64_t handleValue(HWND window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

LRESULT copyData(WindowContext& context, HWND window, WPARAM wParam, LPARAM lParam) {
    if (context.options.hangMilliseconds > 0) {
        Sleep(context.options.hangMilliseconds);
    }
    const auto* payload = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (payload == nullptr) {
        return FALSE;
    }
    const auto* data = static_cast<const std::uint8_t*>(payload->lpData);
    std::vector<std::uint8_t> bytes(data, data == nullptr ? data : data + payload->cbData);
    const bool taken =
        context.session.takeCopyData(handleValue(window), window == context.mainWindow, wParam,
                                     static_cast<std::uint32_t>(payload->dwData), std::move(bytes));
    return taken ? TRUE : FALSE;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* context = reinterpret_cast<WindowContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (context == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_COPYDATA:
            return copyData(*context, window, wParam, lParam);
        case kPickMessage:
            return context->session.pick(static_cast<int>(wParam)) ? 1 : 0;
        case kConfirmSelectionMessage:
            return context->session.confirmSelection() ? 1 : 0;
        case WM_CLOSE:
            if (window == context->mainWindow) {
                DestroyWindow(context->textWindow);
                if (context->secondMain != nullptr) {
                    DestroyWindow(context->secondMain);
                }
                DestroyWindow(context->mainWindow);
            } else {
                ShowWindow(window, SW_HIDE);  // the text window only hides, as the CAD program's does
            }
            return 0;
        case WM_DESTROY:
            if (window == context->mainWindow) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool registerClass(const wchar_t* name) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0;
}

HWND createWindow(const wchar_t* windowClass, const std::u16string& title, int x, int y,
                  WindowContext& context) {
    return CreateWindowExW(0, windowClass, wide(title), WS_OVERLAPPEDWINDOW, x, y, 640, 480, nullptr, nullptr,
                           GetModuleHandleW(nullptr), &context);
}

}  // namespace

int runWindows(Session& session, const WindowOptions& options) {
    if (!registerClass(kMainWindowClass) || !registerClass(kTextWindowClass) ||
        !registerClass(kSecondMainWindowClass)) {
        return 1;
    }
    WindowContext context{session, options};
    // The main window first, as the CAD program opens it; titles go in as UTF-16, so the narrow window-text
    // calls of other processes see them in their own code page.
    context.mainWindow = createWindow(kMainWindowClass, session.mainTitle(), 40, 40, context);
    context.textWindow = createWindow(kTextWindowClass, session.textWindowTitle(), 80, 560, context);
    if (context.mainWindow == nullptr || context.textWindow == nullptr) {
        return 1;
    }
    if (!options.secondMainName.empty()) {
        context.secondMain = createWindow(
            kSecondMainWindowClass, u"AutoCAD LT - [" + options.secondMainName + u"]", 120, 120, context);
    }
    if (options.show) {
        ShowWindow(context.mainWindow, SW_SHOWNOACTIVATE);
        ShowWindow(context.textWindow, SW_SHOWNOACTIVATE);
        if (context.secondMain != nullptr) {
            ShowWindow(context.secondMain, SW_SHOWNOACTIVATE);
        }
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace cadsim::win32

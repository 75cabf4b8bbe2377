// The stand-in's link on Windows. Tiermark finds a CAD program by its top-level windows and hands it command
// text by WM_COPYDATA, so the stand-in owns real top-level windows titled "AutoCAD LT - [<drawing>]" and
// "AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - <drawing>": its Qt windows when Qt shows them as native windows, else plain
// Win32 windows of those titles (headless, or Qt's offscreen platform). Whatever arrives there goes to the
// same command line as on POSIX systems, as a copy-data request of the endpoint. The endpoint's other
// requests (picks, state, layers, …) come by WM_COPYDATA to a message-only window (cadlink/win32_endpoint.h).
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/posix_protocol.h"
#include "cadlink/win32_endpoint.h"
#include "cadsim/app/stand_in_link.h"
#include "cadsim/app/win32_messages.h"

namespace cadsim {
namespace {

using cadlink::posix::ByteWriter;
using cadlink::posix::Frame;
using cadlink::posix::Request;
using cadlink::posix::Status;

cadlink::WindowHandle handleOf(HWND window) {
    return static_cast<cadlink::WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

class Win32Link;

// What the window procedures need, reached through GWLP_USERDATA.
struct WindowContext {
    Win32Link* link = nullptr;
};

class Win32Link final : public StandInLink, public QAbstractNativeEventFilter {
public:
    explicit Win32Link(StandIn& standIn) : m_standIn(standIn) {}
    ~Win32Link() override;

    bool openEndpoint();
    bool openPlainWindows();
    bool adoptQtWindows(QWidget& mainWindow, QWidget& textWindow);
    bool openSecondMain();
    void tellWindows() {
        m_standIn.setWindowHandles(handleOf(m_main), handleOf(m_text), handleOf(m_secondMain));
    }

    std::string where() const override {
        return "with its main window " + std::to_string(m_standIn.mainWindow()) + " and endpoint window " +
               std::to_string(handleOf(m_endpoint));
    }

    // A message to one of the stand-in's windows; true when it was the link's to answer.
    bool windowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT endpointRequest(WPARAM wParam, LPARAM lParam);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    LRESULT copyData(HWND window, WPARAM wParam, LPARAM lParam);
    bool isStandInWindow(HWND window) const {
        return window != nullptr && (window == m_main || window == m_text || window == m_secondMain);
    }

    StandIn& m_standIn;
    WindowContext m_context{this};
    HWND m_endpoint = nullptr;
    HWND m_main = nullptr;
    HWND m_text = nullptr;
    HWND m_secondMain = nullptr;
    bool m_plainWindows = false;
};

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* context = reinterpret_cast<WindowContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (context != nullptr && context->link->windowMessage(window, message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK endpointProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* context = reinterpret_cast<WindowContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (context != nullptr && message == WM_COPYDATA) {
        return context->link->endpointRequest(wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND createWindow(const wchar_t* windowClass, const std::u16string& title, int x, int y,
                  WindowContext& context) {
    return CreateWindowExW(0, windowClass, wide(title), WS_OVERLAPPEDWINDOW, x, y, 640, 480, nullptr, nullptr,
                           GetModuleHandleW(nullptr), &context);
}

Win32Link::~Win32Link() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    for (HWND window :
         {m_endpoint, m_secondMain, m_plainWindows ? m_text : nullptr, m_plainWindows ? m_main : nullptr}) {
        if (window != nullptr && IsWindow(window)) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
        }
    }
}

bool Win32Link::openEndpoint() {
    if (!registerClass(cadlink::win32::kEndpointWindowClass, endpointProcedure)) {
        return false;
    }
    const std::wstring title = std::to_wstring(m_standIn.processId());
    m_endpoint = CreateWindowExW(0, cadlink::win32::kEndpointWindowClass, title.c_str(), 0, 0, 0, 0, 0,
                                 HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), &m_context);
    return m_endpoint != nullptr;
}

bool Win32Link::openPlainWindows() {
    if (!registerClass(win32::kMainWindowClass, windowProcedure) ||
        !registerClass(win32::kTextWindowClass, windowProcedure)) {
        return false;
    }
    // The main window first, as the CAD program opens it. Titles go in as UTF-16, so the narrow window-text
    // calls of other processes see them in their own code page.
    m_main = createWindow(win32::kMainWindowClass, m_standIn.mainTitle(), 40, 40, m_context);
    m_text = createWindow(win32::kTextWindowClass, m_standIn.textWindowTitle(), 80, 560, m_context);
    m_plainWindows = true;
    return m_main != nullptr && m_text != nullptr;
}

bool Win32Link::adoptQtWindows(QWidget& mainWindow, QWidget& textWindow) {
    // winId() makes the native windows now, with the titles the widgets already carry.
    m_main = reinterpret_cast<HWND>(mainWindow.winId());
    m_text = reinterpret_cast<HWND>(textWindow.winId());
    QCoreApplication::instance()->installNativeEventFilter(this);
    return m_main != nullptr && m_text != nullptr;
}

bool Win32Link::openSecondMain() {
    if (m_standIn.secondMainName().empty()) {
        return true;
    }
    if (!registerClass(win32::kSecondMainWindowClass, windowProcedure)) {
        return false;
    }
    m_secondMain =
        createWindow(win32::kSecondMainWindowClass, m_standIn.secondMainTitle(), 120, 120, m_context);
    if (m_secondMain != nullptr && !m_plainWindows) {
        ShowWindow(m_secondMain, SW_SHOWNOACTIVATE);
    }
    return m_secondMain != nullptr;
}

LRESULT Win32Link::copyData(HWND window, WPARAM wParam, LPARAM lParam) {
    const auto* payload = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (payload == nullptr) {
        return FALSE;
    }
    const auto* data = static_cast<const std::uint8_t*>(payload->lpData);
    ByteWriter writer;
    writer.u64(handleOf(window))
        .u64(static_cast<std::uint64_t>(wParam))
        .u32(static_cast<std::uint32_t>(payload->dwData))
        .bytes(data, data == nullptr ? 0 : payload->cbData);
    const auto reply = m_standIn.handle(Frame{static_cast<std::uint8_t>(Request::CopyData), writer.take()});
    const bool taken =
        reply && !reply->body.empty() && reply->body[0] == static_cast<std::uint8_t>(Status::Ok);
    return taken ? TRUE : FALSE;
}

bool Win32Link::windowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!isStandInWindow(window)) {
        return false;
    }
    switch (message) {
        case WM_COPYDATA:
            result = copyData(window, wParam, lParam);
            return true;
        case win32::kPickMessage: {
            ByteWriter writer;
            writer.u32(1).i32(static_cast<std::int32_t>(wParam));
            const auto reply =
                m_standIn.handle(Frame{static_cast<std::uint8_t>(Request::Pick), writer.take()});
            result = reply && reply->body.at(0) == static_cast<std::uint8_t>(Status::Ok) ? 1 : 0;
            return true;
        }
        case win32::kConfirmSelectionMessage: {
            const auto reply = m_standIn.handle(Frame{static_cast<std::uint8_t>(Request::Confirm), {}});
            result = reply && reply->body.at(0) == static_cast<std::uint8_t>(Status::Ok) ? 1 : 0;
            return true;
        }
        case WM_CLOSE:
            if (!m_plainWindows) {
                return false;  // the Qt windows close as Qt closes them
            }
            if (window == m_main) {
                QCoreApplication::quit();
            } else {
                ShowWindow(window, SW_HIDE);  // the text window only hides, as the CAD program's does
            }
            result = 0;
            return true;
        default:
            return false;
    }
}

LRESULT Win32Link::endpointRequest(WPARAM wParam, LPARAM lParam) {
    const auto* payload = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (payload == nullptr || payload->dwData != cadlink::win32::kEndpointRequestData ||
        payload->cbData == 0 || payload->lpData == nullptr) {
        m_standIn.logNote("a malformed endpoint request was refused");
        return FALSE;
    }
    const auto* data = static_cast<const std::uint8_t*>(payload->lpData);
    Frame request{data[0], std::vector<std::uint8_t>(data + 1, data + payload->cbData)};
    const std::optional<Frame> reply = m_standIn.handle(request);
    if (!reply) {
        return TRUE;
    }
    // The client waits in its own send; the reply goes to its window before this one returns.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(reply->body.size() + 1);
    bytes.push_back(reply->type);
    bytes.insert(bytes.end(), reply->body.begin(), reply->body.end());
    COPYDATASTRUCT answer{};
    answer.dwData = cadlink::win32::kEndpointReplyData;
    answer.cbData = static_cast<DWORD>(bytes.size());
    answer.lpData = bytes.data();
    DWORD_PTR result = 0;
    const LRESULT sent =
        SendMessageTimeoutW(reinterpret_cast<HWND>(wParam), WM_COPYDATA, reinterpret_cast<WPARAM>(m_endpoint),
                            reinterpret_cast<LPARAM>(&answer), SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &result);
    if (sent == 0) {
        m_standIn.logNote("a reply could not be delivered (the client is gone)");
    }
    return TRUE;
}

bool Win32Link::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) {
    if (eventType != "windows_generic_MSG") {
        return false;
    }
    const MSG* msg = static_cast<const MSG*>(message);
    LRESULT answer = 0;
    if (msg->hwnd != m_main && msg->hwnd != m_text) {
        return false;
    }
    if (!windowMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam, answer)) {
        return false;
    }
    *result = static_cast<qintptr>(answer);
    return true;
}

}  // namespace

tiermark::Result<std::unique_ptr<StandInLink>> StandInLink::open(StandIn& standIn, QCoreApplication&,
                                                                 QWidget* mainWindow, QWidget* textWindow) {
    auto link = std::make_unique<Win32Link>(standIn);
    if (!link->openEndpoint()) {
        return tiermark::makeError("the endpoint window cannot be created (error " +
                                   std::to_string(GetLastError()) + ")");
    }
    // Qt's offscreen platform has no native windows: plain ones take the messages there.
    const bool nativeQtWindows = mainWindow != nullptr && textWindow != nullptr &&
                                 QGuiApplication::platformName() == QLatin1String("windows");
    const bool windows =
        nativeQtWindows ? link->adoptQtWindows(*mainWindow, *textWindow) : link->openPlainWindows();
    if (!windows || !link->openSecondMain()) {
        return tiermark::makeError("the stand-in's windows cannot be created (error " +
                                   std::to_string(GetLastError()) + ")");
    }
    link->tellWindows();
    return std::unique_ptr<StandInLink>(std::move(link));
}

}  // namespace cadsim

// The client side of the CAD stand-in's endpoint on Windows: request frames by WM_COPYDATA to the
// stand-in's endpoint window, the reply by WM_COPYDATA back to a message-only window of the caller's.
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "cadlink/posix_endpoint.h"
#include "cadlink/win32_endpoint.h"

namespace cadlink::posix {
namespace {

constexpr const wchar_t* kReplyWindowClass = L"TiermarkEndpointReply";

struct PendingReply {
    bool arrived = false;
    Frame frame;
};

LRESULT CALLBACK replyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        auto* pending = reinterpret_cast<PendingReply*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const auto* payload = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (pending == nullptr || payload == nullptr || payload->dwData != win32::kEndpointReplyData ||
            payload->cbData == 0 || payload->cbData > kMaxFrame || pending->arrived) {
            return FALSE;
        }
        const auto* bytes = static_cast<const std::uint8_t*>(payload->lpData);
        pending->frame.type = bytes[0];
        pending->frame.body.assign(bytes + 1, bytes + payload->cbData);
        pending->arrived = true;
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerReplyClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = replyProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kReplyWindowClass;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

struct WindowCloser {
    void operator()(HWND window) const { DestroyWindow(window); }
};

}  // namespace

std::uint32_t endpointProcessOf(WindowHandle window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)), &processId);
    return processId;
}

tiermark::Result<Frame> exchange(std::uint32_t processId, const Frame& request,
                                 std::chrono::milliseconds timeout) {
    const std::wstring title = std::to_wstring(processId);
    HWND endpoint = FindWindowExW(HWND_MESSAGE, nullptr, win32::kEndpointWindowClass, title.c_str());
    if (endpoint == nullptr) {
        return tiermark::makeError("no stand-in endpoint for process " + std::to_string(processId));
    }
    if (!registerReplyClass()) {
        return tiermark::makeError("the reply window cannot be registered");
    }
    PendingReply pending;
    std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser> replyWindow(CreateWindowExW(
        0, kReplyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!replyWindow) {
        return tiermark::makeError("the reply window cannot be created");
    }
    SetWindowLongPtrW(replyWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pending));

    std::vector<std::uint8_t> bytes;
    bytes.reserve(request.body.size() + 1);
    bytes.push_back(request.type);
    bytes.insert(bytes.end(), request.body.begin(), request.body.end());
    COPYDATASTRUCT payload{};
    payload.dwData = win32::kEndpointRequestData;
    payload.cbData = static_cast<DWORD>(bytes.size());
    payload.lpData = bytes.data();
    DWORD_PTR result = 0;
    // While this thread waits, the stand-in's reply (a message sent to the reply window) is handled.
    const LRESULT sent =
        SendMessageTimeoutW(endpoint, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWindow.get()),
                            reinterpret_cast<LPARAM>(&payload), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            static_cast<UINT>(timeout.count()), &result);
    if (sent == 0) {
        return tiermark::makeError(kNoAnswerInTime);
    }
    if (request.type == static_cast<std::uint8_t>(Request::Post)) {
        return Frame{};  // posts get no answer
    }
    if (!pending.arrived) {
        return tiermark::makeError("the stand-in did not answer the request");
    }
    if (pending.frame.type != static_cast<std::uint8_t>(Request::Reply)) {
        return tiermark::makeError("the stand-in answered with an unknown frame");
    }
    return pending.frame;
}

}  // namespace cadlink::posix

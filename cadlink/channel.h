#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/window_system.h"
#include "common/result.h"

namespace cadlink {

// dwData of a payload that carries command text for AutoCAD LT.
inline constexpr std::uint32_t kCommandTextData = 1;
// wParam of the copy-data message.
inline constexpr std::uintptr_t kCommandWParam = 1;

// The payload of one command: the encoded text with its terminator; cbData is bytes.size().
struct Payload {
    std::uint32_t dwData = kCommandTextData;
    std::vector<std::uint8_t> bytes;
    std::uint32_t cbData() const { return static_cast<std::uint32_t>(bytes.size()); }
};

// Appends the channel's own NUL to the text and encodes it in the one form AutoCAD LT takes from other
// programs (every AutoCAD LT since 2007 is a Unicode program): UTF-16LE followed by a 16-bit NUL. Fails,
// and nothing is to be sent, when the text is not valid UTF-16 (it holds an unpaired surrogate).
tiermark::Result<Payload> EncodeCommand(std::u16string_view text);

// Reads a payload as AutoCAD LT reads one: UTF-16LE text with its 16-bit NUL terminator. The text is what
// comes before the first NUL unit. A payload of odd length, one that does not end in a 16-bit NUL, or one
// whose text holds an unpaired surrogate is no such text (a narrow, code-page payload is one of them); the
// error says why.
tiermark::Result<std::u16string> DecodeCommand(const std::vector<std::uint8_t>& bytes);

// Where SendCommand finds its target: the selected line of the main window's drawing list, read afresh on
// every lookup. Returns false when no line is selected; window is then left alone.
using TargetLookup = std::function<bool(WindowHandle& window)>;

// Shows a message box with an OK button only and the application's default title.
using MessageSink = std::function<void(const std::u16string& text)>;

inline constexpr std::u16string_view kNoTargetMessage = u"AutoCADが選択されていません";
inline constexpr std::u16string_view kUnencodableMessage =
    u"この文字列には AutoCAD LT に送れない文字が含まれています。コマンドは送信されませんでした。";

// The command channel of one sending form. Each text is delivered in the wide form as one blocking
// copy-data message (wParam 1, dwData 1) to the target's main window, followed by two posted null messages.
// A send to a window that is 0 or gone fails silently.
class CommandChannel {
public:
    CommandChannel(WindowSystem& system, TargetLookup target, MessageSink message);

    void SendCommand(std::u16string_view text);

private:
    WindowSystem& m_system;
    TargetLookup m_target;
    MessageSink m_message;
};

}  // namespace cadlink

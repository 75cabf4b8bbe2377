#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/window_system.h"
#include "common/result.h"

namespace cadlink {

// How a command text travels in the copy-data payload.
enum class TextForm {
    Wide,    // UTF-16LE followed by a 16-bit NUL
    Narrow,  // code page 932 followed by a NUL byte
};

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

// Appends the channel's own NUL to the text and encodes it. The narrow form fails when the text holds a
// character that code page 932 cannot hold; nothing is then to be sent.
tiermark::Result<Payload> EncodeCommand(std::u16string_view text, TextForm form);

// What a receiver makes of a payload: the text up to its first NUL, and the form it was read in.
struct DecodedCommand {
    TextForm form = TextForm::Wide;
    std::u16string text;
};

// Reads a payload in whichever form it was sent. The two forms share no marker, so the form is told from
// the bytes: a payload is wide when its length is even, it ends in a 16-bit NUL, and its UTF-16 reading up
// to the first NUL unit holds a unit below U+0100 (every command text ends in CR or ESC, whose wide form
// has a zero high byte) and no unpaired surrogate; otherwise it is narrow. A narrow payload must end in a
// NUL byte and be valid code page 932 up to its first NUL; a payload of wide shape that is not valid code
// page 932 (a wide text of double-byte characters only) is read as wide. Anything else is an error.
tiermark::Result<DecodedCommand> DecodeCommand(const std::vector<std::uint8_t>& bytes);

// Where SendCommand finds its target: the selected line of the main window's drawing list, read afresh on
// every lookup. Returns false when no line is selected; window is then left alone.
using TargetLookup = std::function<bool(WindowHandle& window)>;

// Shows a message box with an OK button only and the application's default title.
using MessageSink = std::function<void(const std::u16string& text)>;

inline constexpr std::u16string_view kNoTargetMessage = u"AutoCADが選択されていません";
inline constexpr std::u16string_view kUnencodableMessage =
    u"この文字列には AutoCAD LT に送れない文字が含まれています。コマンドは送信されませんでした。";

// Whatever command texts go through: a form's command channel, or the host through which the logic
// reaches one.
class CommandSender {
public:
    virtual ~CommandSender() = default;
    virtual void SendCommand(std::u16string_view text) = 0;
};

// Sends each text as one command, in order.
void sendAll(CommandSender& sender, const std::vector<std::u16string>& texts);

// The command channel of one sending form. Each text is delivered as one blocking copy-data message
// (wParam 1, dwData 1) to the target's main window, followed by two posted null messages. A send to a
// window that is 0 or gone fails silently.
class CommandChannel final : public CommandSender {
public:
    CommandChannel(WindowSystem& system, TargetLookup target, MessageSink message, TextForm form);

    void SendCommand(std::u16string_view text) override;

    TextForm form() const { return m_form; }

private:
    WindowSystem& m_system;
    TargetLookup m_target;
    MessageSink m_message;
    TextForm m_form;
};

}  // namespace cadlink

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
// Told once for an action whose target line has no recognised AutoCAD LT main window.
inline constexpr std::u16string_view kNoWindowMessage =
    u"対象図面の AutoCAD LT のウィンドウが見つからないため、コマンドを送っていません。\r"
    u"AutoCAD LT が起動中か、そのウィンドウを認識できませんでした。AutoCAD LT で図面を開いてから、"
    u"「対象図面」をクリックして図面を読み込み直してください。";

// What became of one command text.
enum class Delivery {
    Taken,     // AutoCAD LT's main window took it
    NoTarget,  // no drawing is chosen: nothing was sent, and the channel said so
    Refused,   // the text is no valid UTF-16: nothing was sent
    NoWindow,  // the chosen line's AutoCAD LT has no recognised main window (still starting, or a title
               // discovery does not know): nothing was sent to window 0
    NotTaken,  // the window is gone, did not answer within the bounded wait, or did not take the text
};

// Whatever command texts go through: a form's command channel, or the host through which the logic reaches
// one.
class CommandSender {
public:
    virtual ~CommandSender() = default;
    virtual Delivery SendCommand(std::u16string_view text) = 0;
};

// Sends the texts in order, one command each, and stops at the first one that is not taken: the texts after
// it would reach AutoCAD LT at a prompt the sequence never led it to. Returns what became of the last text
// sent (Taken when every text was taken).
Delivery sendAll(CommandSender& sender, const std::vector<std::u16string>& texts);

// The one message for a user action whose texts were not all taken: that AutoCAD LT did not take the
// commands, and that the user should check its command line and press Esc there. Empty when there is
// nothing to tell (every text was taken, or no drawing was chosen, which the channel has said already).
std::u16string notDeliveredMessage(Delivery delivery);

// The command channel of one sending form. Each text is delivered in the wide form as one blocking
// copy-data message (wParam 1, dwData 1) to the target's main window, followed, once taken, by two posted
// null messages. The send waits a bounded time; a window that is gone, or does not answer in time, has not
// taken the text. A line without a main window (window 0) sends nothing.
class CommandChannel final : public CommandSender {
public:
    CommandChannel(WindowSystem& system, TargetLookup target, MessageSink message);

    Delivery SendCommand(std::u16string_view text) override;

private:
    WindowSystem& m_system;
    TargetLookup m_target;
    MessageSink m_message;
};

}  // namespace cadlink

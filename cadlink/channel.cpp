#include "cadlink/channel.h"

#include <string>

namespace cadlink {

namespace {

bool isLeadSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isTrailSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The position of the first unpaired surrogate of the text, or npos.
std::size_t unpairedSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLeadSurrogate(text[i]) && i + 1 < text.size() && isTrailSurrogate(text[i + 1])) {
            ++i;
        } else if (isLeadSurrogate(text[i]) || isTrailSurrogate(text[i])) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

}  // namespace

tiermark::Result<Payload> EncodeCommand(std::u16string_view text) {
    if (unpairedSurrogate(text) != std::u16string_view::npos) {
        return tiermark::makeError("the text holds an unpaired surrogate and is no valid UTF-16");
    }
    Payload payload;
    payload.bytes.reserve((text.size() + 1) * 2);
    for (char16_t unit : text) {
        payload.bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        payload.bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    payload.bytes.push_back(0);
    payload.bytes.push_back(0);
    return payload;
}

tiermark::Result<std::u16string> DecodeCommand(const std::vector<std::uint8_t>& bytes) {
    const std::size_t size = bytes.size();
    if (size % 2 != 0) {
        return tiermark::makeError("the payload has an odd number of bytes (" + std::to_string(size) +
                                   "): it is no UTF-16 text");
    }
    if (size < 2 || bytes[size - 1] != 0 || bytes[size - 2] != 0) {
        return tiermark::makeError("the payload does not end in a 16-bit NUL: it is no UTF-16 text");
    }
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    if (const std::size_t bad = unpairedSurrogate(text); bad != std::u16string_view::npos) {
        return tiermark::makeError("the text holds an unpaired surrogate at byte " + std::to_string(bad * 2) +
                                   ": it is no valid UTF-16");
    }
    return text;
}

CommandChannel::CommandChannel(WindowSystem& system, TargetLookup target, MessageSink message)
    : m_system(system), m_target(std::move(target)), m_message(std::move(message)) {}

Delivery sendAll(CommandSender& sender, const std::vector<std::u16string>& texts) {
    for (const std::u16string& text : texts) {
        if (const Delivery delivery = sender.SendCommand(text); delivery != Delivery::Taken) {
            return delivery;
        }
    }
    return Delivery::Taken;
}

std::u16string notDeliveredMessage(Delivery delivery) {
    constexpr std::u16string_view kCheckTheCommandLine =
        u"残りのコマンドは送っていません。AutoCAD LT のコマンドラインを確認し、Esc キーを押して実行中のコマンドを取り消してください。";
    switch (delivery) {
        case Delivery::Refused:
            return u"AutoCAD LT に送れない文字が含まれているため、コマンドを送れませんでした。\r" +
                   std::u16string(kCheckTheCommandLine);
        case Delivery::NoWindow:
            return std::u16string(kNoWindowMessage);
        case Delivery::NotTaken:
            return u"AutoCAD LT がコマンドを受け付けませんでした（応答がないか、終了しています）。\r" +
                   std::u16string(kCheckTheCommandLine);
        case Delivery::Taken:
        case Delivery::NoTarget:
            break;
    }
    return {};
}

Delivery CommandChannel::SendCommand(std::u16string_view text) {
    WindowHandle window = 0;
    if (!m_target(window)) {
        m_message(std::u16string(kNoTargetMessage));
        return Delivery::NoTarget;
    }
    auto payload = EncodeCommand(text);
    if (!payload) {
        return Delivery::Refused;
    }
    if (window == 0) {
        return Delivery::NoWindow;
    }
    if (!m_system.sendCopyData(window, kCommandWParam, payload->dwData, payload->bytes)) {
        return Delivery::NotTaken;
    }
    for (int post = 0; post < 2; ++post) {
        window = 0;
        if (m_target(window) && window != 0) {
            m_system.postMessage(window, kWmNull, 0, 0);
        }
    }
    return Delivery::Taken;
}

}  // namespace cadlink

#include "cadlink/channel.h"

#include <cstring>

#include "common/codepage.h"

namespace cadlink {

tiermark::Result<Payload> EncodeCommand(std::u16string_view text, TextForm form) {
    Payload payload;
    if (form == TextForm::Wide) {
        payload.bytes.reserve((text.size() + 1) * 2);
        for (char16_t unit : text) {
            payload.bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            payload.bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        payload.bytes.push_back(0);
        payload.bytes.push_back(0);
        return payload;
    }
    auto narrow = tiermark::toCp932(text);
    if (!narrow) {
        return narrow.error();
    }
    payload.bytes.assign(narrow->begin(), narrow->end());
    payload.bytes.push_back(0);
    return payload;
}

namespace {

// Whether the bytes have the shape of a wide payload; lowUnit tells whether a unit below U+0100 came before
// the first NUL unit.
bool wideShape(const std::vector<std::uint8_t>& bytes, bool& lowUnit) {
    const std::size_t size = bytes.size();
    if (size < 2 || size % 2 != 0 || bytes[size - 1] != 0 || bytes[size - 2] != 0) {
        return false;
    }
    lowUnit = size == 2;  // the empty text
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const std::size_t next = i + 2;
            const char16_t trail =
                next + 1 < size ? static_cast<char16_t>(bytes[next] | (bytes[next + 1] << 8)) : 0;
            if (trail < 0xDC00 || trail > 0xDFFF) {
                return false;
            }
            i += 2;
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
        lowUnit = lowUnit || unit < 0x100;
    }
    return true;
}

std::u16string wideText(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

}  // namespace

tiermark::Result<DecodedCommand> DecodeCommand(const std::vector<std::uint8_t>& bytes) {
    DecodedCommand decoded;
    bool lowUnit = false;
    const bool wide = wideShape(bytes, lowUnit);
    if (wide && lowUnit) {
        decoded.form = TextForm::Wide;
        decoded.text = wideText(bytes);
        return decoded;
    }
    if (bytes.empty() || bytes.back() != 0) {
        return tiermark::makeError("the payload has no terminating NUL");
    }
    decoded.form = TextForm::Narrow;
    std::size_t end = 0;
    while (end < bytes.size() && bytes[end] != 0) {
        ++end;
    }
    auto text = tiermark::fromCp932(std::string_view(reinterpret_cast<const char*>(bytes.data()), end));
    if (!text && wide) {
        // Wide text of double-byte characters only, such as a Japanese name alone.
        decoded.form = TextForm::Wide;
        decoded.text = wideText(bytes);
        return decoded;
    }
    if (!text) {
        return tiermark::makeError("the payload is neither UTF-16 nor code page 932 text: " +
                                   text.error().message);
    }
    decoded.text = std::move(text.value());
    return decoded;
}

CommandChannel::CommandChannel(WindowSystem& system, TargetLookup target, MessageSink message, TextForm form)
    : m_system(system), m_target(std::move(target)), m_message(std::move(message)), m_form(form) {}

void sendAll(CommandSender& sender, const std::vector<std::u16string>& texts) {
    for (const std::u16string& text : texts) {
        sender.SendCommand(text);
    }
}

void CommandChannel::SendCommand(std::u16string_view text) {
    WindowHandle window = 0;
    if (!m_target(window)) {
        m_message(std::u16string(kNoTargetMessage));
        return;
    }
    auto payload = EncodeCommand(text, m_form);
    if (!payload) {
        m_message(std::u16string(kUnencodableMessage));
        return;
    }
    if (window != 0) {
        m_system.sendCopyData(window, kCommandWParam, payload->dwData, payload->bytes);
    }
    for (int post = 0; post < 2; ++post) {
        window = 0;
        if (m_target(window) && window != 0) {
            m_system.postMessage(window, kWmNull, 0, 0);
        }
    }
}

}  // namespace cadlink

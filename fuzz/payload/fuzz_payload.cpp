// Payload decoding on both text forms. Input: one mode byte, then bytes.
//   even mode: the bytes are a payload as a receiver gets it. Decoding ends in a text or an error; a
//              decoded text encoded again in its form decodes to the same text and form.
//   odd mode:  the bytes are UTF-16LE command text. Encoded in either form (the narrow form only when
//              code page 932 holds it) it decodes to the text up to its first NUL, in the form it was
//              sent in, whenever that text holds a unit below U+0100 (every command text ends in CR or
//              ESC; without one the two forms cannot be told apart) and is well-formed UTF-16 (the
//              receiver takes a payload with an unpaired surrogate for narrow text).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cadlink/channel.h"
#include "fuzz/support/fuzz_input.h"

namespace {

void expectRoundTrip(std::u16string_view text, cadlink::TextForm form) {
    auto payload = cadlink::EncodeCommand(text, form);
    if (!payload) {
        if (form == cadlink::TextForm::Wide) {
            std::abort();  // every text has a wide form
        }
        return;
    }
    if (payload->bytes.empty() || payload->bytes.back() != 0 ||
        payload->dwData != cadlink::kCommandTextData) {
        std::abort();
    }
    auto decoded = cadlink::DecodeCommand(payload->bytes);
    if (!decoded || decoded->form != form || decoded->text != text) {
        std::abort();
    }
}

bool hasLowUnit(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
}

bool wellFormed(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tiermark::fuzz::FuzzInput input(data, size);
    const bool textMode = (input.byte() & 1) != 0;
    if (!textMode) {
        const std::string_view raw = input.restBytes();
        const std::vector<std::uint8_t> bytes(raw.begin(), raw.end());
        auto decoded = cadlink::DecodeCommand(bytes);
        if (decoded) {
            if (decoded->text.find(u'\0') != std::u16string::npos) {
                std::abort();  // the text ends at the first NUL
            }
            if (decoded->form == cadlink::TextForm::Narrow || hasLowUnit(decoded->text)) {
                expectRoundTrip(decoded->text, decoded->form);
            }
        }
        return 0;
    }
    std::u16string text = input.restUtf16();
    text = text.substr(0, text.find(u'\0'));
    if (!hasLowUnit(text) || !wellFormed(text)) {
        return 0;
    }
    expectRoundTrip(text, cadlink::TextForm::Wide);
    expectRoundTrip(text, cadlink::TextForm::Narrow);
    return 0;
}

// Payload encoding and decoding in the one text form, UTF-16LE with a 16-bit NUL. Input: one mode byte, then
// bytes.
//   even mode: the bytes are a payload as a receiver gets it. Decoding ends in a text or an error; a decoded
//              text holds no NUL and no unpaired surrogate, and encoded again it gives the payload's bytes up
//              to and including its first NUL unit.
//   odd mode:  the bytes are UTF-16LE command text. Well-formed text encodes and decodes to the text up to
//              its first NUL; text with an unpaired surrogate is refused by the encoder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cadlink/channel.h"
#include "fuzz/support/fuzz_input.h"

namespace {

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
            if (decoded->find(u'\0') != std::u16string::npos || !wellFormed(*decoded)) {
                std::abort();
            }
            auto again = cadlink::EncodeCommand(*decoded);
            if (!again || !std::equal(again->bytes.begin(), again->bytes.end(), bytes.begin())) {
                std::abort();
            }
        }
        return 0;
    }
    std::u16string text = input.restUtf16();
    text = text.substr(0, text.find(u'\0'));
    auto payload = cadlink::EncodeCommand(text);
    if (!wellFormed(text)) {
        if (payload) {
            std::abort();  // the one form AutoCAD LT reads has no room for an unpaired surrogate
        }
        return 0;
    }
    if (!payload || payload->bytes.size() != text.size() * 2 + 2 ||
        payload->dwData != cadlink::kCommandTextData) {
        std::abort();
    }
    auto decoded = cadlink::DecodeCommand(payload->bytes);
    if (!decoded || *decoded != text) {
        std::abort();
    }
    return 0;
}

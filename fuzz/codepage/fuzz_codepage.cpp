// Code page 932 in both directions. Input: one mode byte, then bytes.
//   even mode: the bytes are code page 932. Strict decoding either fails or gives text that encodes
//              again, and that encoding decodes to the same text (the NEC and IBM duplicates may
//              choose other bytes, never other characters). The lenient decoding agrees with the strict
//              one wherever the strict one succeeds.
//   odd mode:  the bytes are UTF-16LE text. Strict encoding either fails or gives bytes that decode to
//              the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/codepage.h"
#include "fuzz/support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tiermark::fuzz::FuzzInput input(data, size);
    const bool textMode = (input.byte() & 1) != 0;
    if (!textMode) {
        const std::string_view bytes = input.restBytes();
        const std::u16string lenient = tiermark::fromCp932Lenient(bytes);
        auto text = tiermark::fromCp932(bytes);
        if (!text) {
            return 0;
        }
        if (lenient != text.value()) {
            std::abort();
        }
        auto again = tiermark::toCp932(text.value());
        if (!again) {
            std::abort();
        }
        auto back = tiermark::fromCp932(again.value());
        if (!back || back.value() != text.value()) {
            std::abort();
        }
        return 0;
    }
    const std::u16string text = input.restUtf16();
    auto bytes = tiermark::toCp932(text);
    if (!bytes) {
        return 0;
    }
    auto back = tiermark::fromCp932(bytes.value());
    if (!back || back.value() != text) {
        std::abort();
    }
    return 0;
}

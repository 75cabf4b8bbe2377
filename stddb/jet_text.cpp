#include "stddb/jet_text.h"

#include "common/utf.h"

namespace stddb::jet {

namespace {

// Replaces, in place, each unit that is half of no surrogate pair by U+FFFD.
void replaceUnpaired(std::u16string& text) {
    if (!tiermark::isValidUtf16(text)) {
        text = tiermark::replaceUnpairedSurrogates(std::move(text));
    }
}

}  // namespace

tiermark::Result<void> decodeJet4TextInto(std::span<const std::uint8_t> bytes, std::u16string& text) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bool compressed = true;
        std::size_t i = 2;
        std::size_t length = 0;
        text.resize(bytes.size() - 2);  // at most one character a byte
        while (i < bytes.size()) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text[length++] = static_cast<char16_t>(bytes[i]);
                ++i;
            } else if (i + 1 < bytes.size()) {
                text[length++] = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
                i += 2;
            } else {
                return tiermark::makeError("a compressed text value ends in half a character");
            }
        }
        text.resize(length);
        replaceUnpaired(text);
        return {};
    }
    if (bytes.size() % 2 != 0) {
        return tiermark::makeError("a text value has an odd number of bytes");
    }
    text.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    replaceUnpaired(text);
    return {};
}

tiermark::Result<std::u16string> decodeJet4Text(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    if (auto decoded = decodeJet4TextInto(bytes, text); !decoded) {
        return decoded.error();
    }
    return text;
}

}  // namespace stddb::jet

#include "stddb/jet_text.h"

#include "common/utf.h"

namespace stddb::jet {

tiermark::Result<std::u16string> decodeJet4Text(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bool compressed = true;
        std::size_t i = 2;
        text.reserve(bytes.size() - 2);  // at most one character a byte
        while (i < bytes.size()) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text.push_back(static_cast<char16_t>(bytes[i]));
                ++i;
            } else if (i + 1 < bytes.size()) {
                text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
                i += 2;
            } else {
                return tiermark::makeError("a compressed text value ends in half a character");
            }
        }
        return tiermark::replaceUnpairedSurrogates(std::move(text));
    }
    if (bytes.size() % 2 != 0) {
        return tiermark::makeError("a text value has an odd number of bytes");
    }
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return tiermark::replaceUnpairedSurrogates(std::move(text));
}

}  // namespace stddb::jet

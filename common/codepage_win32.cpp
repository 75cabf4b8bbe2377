#include <windows.h>

#include <string>

#include "common/codepage.h"

// Code page 932 through the conversion tables of Windows itself. Both directions stay strict: the
// conversions are asked to refuse invalid bytes (MB_ERR_INVALID_CHARS) and to report a character they
// would replace (WC_NO_BEST_FIT_CHARS with lpUsedDefaultChar) instead of silently substituting.
namespace tiermark {
namespace {

constexpr UINT kCodePage = 932;

int wideLength(std::u16string_view text) {
    return static_cast<int>(text.size());
}
const wchar_t* wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

// The bytes of the text, or nothing when a character has no code page 932 form.
bool encode(std::u16string_view text, std::string& out) {
    out.clear();
    if (text.empty()) {
        return true;
    }
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide(text), wideLength(text),
                                         nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) {
        return false;
    }
    out.resize(static_cast<std::size_t>(size));
    usedDefault = FALSE;
    const int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide(text), wideLength(text),
                                            out.data(), size, nullptr, &usedDefault);
    return written == size && !usedDefault;
}

// The text of the bytes, or nothing when they are not valid code page 932.
bool decode(std::string_view bytes, std::u16string& out) {
    out.clear();
    if (bytes.empty()) {
        return true;
    }
    const int inLength = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (size <= 0) {
        return false;
    }
    out.resize(static_cast<std::size_t>(size));
    const int written = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength,
                                            reinterpret_cast<wchar_t*>(out.data()), size);
    return written == size;
}

// The length of the character that starts at offset: two bytes for a lead byte with a byte after it.
std::size_t characterBytes(std::string_view bytes, std::size_t offset) {
    const bool lead = IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(bytes[offset])) != 0;
    return lead && offset + 1 < bytes.size() ? 2 : 1;
}

// The length of the character that starts at index: two units for a surrogate pair.
std::size_t characterUnits(std::u16string_view text, std::size_t index) {
    const char16_t unit = text[index];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && index + 1 < text.size() &&
                      text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

}  // namespace

tiermark::Result<std::string> toCp932(std::u16string_view text) {
    std::string out;
    if (encode(text, out)) {
        return out;
    }
    // Find the first character that has no form of its own, for the message.
    std::string one;
    for (std::size_t i = 0; i < text.size(); i += characterUnits(text, i)) {
        if (!encode(text.substr(i, characterUnits(text, i)), one)) {
            return tiermark::makeError("character " + std::to_string(i + 1) +
                                       " of the text has no code page 932 form");
        }
    }
    return tiermark::makeError("the text has no code page 932 form");
}

tiermark::Result<std::u16string> fromCp932(std::string_view bytes) {
    std::u16string out;
    if (decode(bytes, out)) {
        return out;
    }
    std::u16string one;
    for (std::size_t i = 0; i < bytes.size(); i += characterBytes(bytes, i)) {
        if (!decode(bytes.substr(i, characterBytes(bytes, i)), one)) {
            return tiermark::makeError("byte " + std::to_string(i + 1) + " is not valid code page 932");
        }
    }
    return tiermark::makeError("the bytes are not valid code page 932");
}

std::u16string fromCp932Lenient(std::string_view bytes) {
    std::u16string text;
    if (decode(bytes, text)) {
        return text;
    }
    // Character by character; a byte that starts no valid character reads as U+FFFD and the next byte
    // starts afresh, so a lead byte with a bad trail byte costs only itself.
    text.clear();
    std::u16string one;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t width = characterBytes(bytes, i);
        if (decode(bytes.substr(i, width), one)) {
            text += one;
            i += width;
        } else {
            text.push_back(u'\uFFFD');
            ++i;
        }
    }
    return text;
}

}  // namespace tiermark

#include "dxf/text_encoding.h"

#include <array>

#include "common/ascii.h"
#include "common/codepage.h"
#include "common/utf.h"

namespace dxf {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool isAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The text when the bytes are well-formed UTF-8 (what reads back as the same bytes).
bool readUtf8(std::string_view bytes, std::u16string& text) {
    text = tiermark::fromUtf8(bytes);
    return tiermark::toUtf8(text) == bytes;
}

// Code page 1252 from 0x80 to 0x9F; 0 where the code page defines no character.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

DecodedText fromWindows1252(std::string_view bytes) {
    DecodedText out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t unit = byte;
        if (byte >= 0x80 && byte <= 0x9F) {
            unit = kWindows1252High[byte - 0x80];
            if (unit == 0) {
                unit = kReplacement;
                out.lossy = true;
            }
        }
        out.text.push_back(unit);
    }
    return out;
}

DecodedText fromCodePage932(std::string_view bytes) {
    if (auto strict = tiermark::fromCp932(bytes)) {
        return {std::move(*strict), false};
    }
    return {tiermark::fromCp932Lenient(bytes), true};
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// The value of the hexadecimal digits text[at, at + count), or -1.
long hexValue(std::u16string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return -1;
    }
    long value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

bool isHighSurrogate(long unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(long unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Replaces the escapes "\U+XXXX" (a UTF-16 unit; a surrogate pair as two escapes) and "\M+nXXXX" (a
// double-byte character of an Asian code page; only n = 1, code page 932, can be read).
void resolveEscapes(DecodedText& decoded) {
    const std::u16string& text = decoded.text;
    if (text.find(u'\\') == std::u16string::npos) {
        return;
    }
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 2 < text.size() && text[i + 2] == u'+') {
            const char16_t kind = text[i + 1];
            if (kind == u'U' || kind == u'u') {
                const long unit = hexValue(text, i + 3, 4);
                if (unit >= 0) {
                    const std::size_t next = i + 7;
                    const long low = next + 7 <= text.size() && text[next] == u'\\' &&
                                             text[next + 2] == u'+' &&
                                             (text[next + 1] == u'U' || text[next + 1] == u'u')
                                         ? hexValue(text, next + 3, 4)
                                         : -1;
                    if (isHighSurrogate(unit) && isLowSurrogate(low)) {
                        out.push_back(static_cast<char16_t>(unit));
                        out.push_back(static_cast<char16_t>(low));
                        i += 13;
                    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
                        out.push_back(kReplacement);
                        decoded.lossy = true;
                        i += 6;
                    } else {
                        out.push_back(static_cast<char16_t>(unit));
                        i += 6;
                    }
                    continue;
                }
            } else if (kind == u'M' || kind == u'm') {
                const long page = hexValue(text, i + 3, 1);
                const long code = hexValue(text, i + 4, 4);
                if (page >= 1 && page <= 5 && code >= 0) {
                    const std::string pair = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
                    auto character = page == 1 ? tiermark::fromCp932(pair)
                                               : tiermark::Result<std::u16string>(tiermark::makeError(""));
                    if (character && character->size() == 1) {
                        out += *character;
                    } else {
                        out.push_back(kReplacement);
                        decoded.lossy = true;
                    }
                    i += 7;
                    continue;
                }
            }
        }
        out.push_back(text[i]);
    }
    decoded.text = std::move(out);
}

// "\U+XXXX", as AutoCAD writes a character that the file's code page lacks.
std::string unicodeEscape(char16_t unit) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escape = "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) {
        escape.push_back(kHex[(unit >> shift) & 0xF]);
    }
    return escape;
}

// One character in a code page: what holds(character) accepts as its bytes, anything else escaped.
template <typename Holds>
std::string inCodePage(std::u16string_view text, Holds holds) {
    std::string out;
    for (char16_t unit : text) {
        if (!holds(unit, out)) {
            out += unicodeEscape(unit);
        }
    }
    return out;
}

}  // namespace

TextEncoding encodingOf(std::string_view acadVersion, std::string_view codePage) {
    const std::string version = tiermark::asciiUppercased(trimmed(acadVersion));
    // AC1021 (AutoCAD 2007) and every later version number sort after it as text.
    if (version.size() == 6 && version.rfind("AC", 0) == 0 && version >= "AC1021") {
        return TextEncoding::Utf8;
    }
    const std::string page = tiermark::asciiUppercased(trimmed(codePage));
    if (page.empty()) {
        return TextEncoding::Unstated;
    }
    if (page == "ANSI_932" || page == "DOS932") {
        return TextEncoding::CodePage932;
    }
    if (page == "ANSI_1252") {
        return TextEncoding::CodePage1252;
    }
    if (page == "UTF-8" || page == "UTF8" || page == "ANSI_65001") {
        return TextEncoding::Utf8;
    }
    return TextEncoding::Other;
}

DecodedText decodeText(std::string_view bytes, TextEncoding encoding) {
    DecodedText decoded;
    std::u16string utf8;
    if (isAscii(bytes)) {
        decoded.text.assign(bytes.begin(), bytes.end());
    } else {
        switch (encoding) {
            case TextEncoding::Utf8:
                decoded =
                    readUtf8(bytes, utf8) ? DecodedText{std::move(utf8), false} : fromCodePage932(bytes);
                break;
            case TextEncoding::CodePage932:
            case TextEncoding::CodePage1252:
                // The header's code page, where the text decodes cleanly in it.
                decoded =
                    encoding == TextEncoding::CodePage932 ? fromCodePage932(bytes) : fromWindows1252(bytes);
                if (decoded.lossy && readUtf8(bytes, utf8)) {
                    decoded = DecodedText{std::move(utf8), false};
                }
                break;
            case TextEncoding::Unstated:
                decoded =
                    readUtf8(bytes, utf8) ? DecodedText{std::move(utf8), false} : fromCodePage932(bytes);
                break;
            case TextEncoding::Other:
                if (readUtf8(bytes, utf8)) {
                    decoded.text = std::move(utf8);
                    break;
                }
                for (char c : bytes) {
                    const bool ascii = static_cast<unsigned char>(c) < 0x80;
                    decoded.text.push_back(ascii ? static_cast<char16_t>(c) : kReplacement);
                    decoded.lossy = decoded.lossy || !ascii;
                }
                break;
        }
    }
    resolveEscapes(decoded);
    return decoded;
}

tiermark::Result<std::string> encodeCodePage932(std::u16string_view text) {
    return tiermark::toCp932(text);
}

std::string encodeText(std::u16string_view text, TextEncoding encoding, std::string_view written) {
    std::u16string utf8;
    if (encoding == TextEncoding::Unstated) {
        encoding =
            !isAscii(written) && !readUtf8(written, utf8) ? TextEncoding::CodePage932 : TextEncoding::Utf8;
    }
    switch (encoding) {
        case TextEncoding::Utf8:
        case TextEncoding::Unstated:
            return tiermark::toUtf8(text);
        case TextEncoding::CodePage932:
            return inCodePage(text, [](char16_t unit, std::string& out) {
                if (unit >= 0xD800 && unit <= 0xDFFF) {
                    return false;
                }
                auto bytes = tiermark::toCp932(std::u16string_view(&unit, 1));
                if (bytes) {
                    out += *bytes;
                }
                return bytes.ok();
            });
        case TextEncoding::CodePage1252:
            // ASCII and Latin-1 from U+00A0 are the code page's own bytes.
            return inCodePage(text, [](char16_t unit, std::string& out) {
                if (unit >= 0x80 && (unit < 0xA0 || unit > 0xFF)) {
                    return false;
                }
                out.push_back(static_cast<char>(unit));
                return true;
            });
        case TextEncoding::Other:
            break;
    }
    return inCodePage(text, [](char16_t unit, std::string& out) {
        if (unit >= 0x80) {
            return false;
        }
        out.push_back(static_cast<char>(unit));
        return true;
    });
}

}  // namespace dxf

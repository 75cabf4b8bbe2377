#include <string>

#include "common/codepage.h"
#include "tests/win32/check.h"
#include "tests/win32/checks.h"

namespace win32test {

// Code page 932 through the system's tables must stay as strict as the iconv build: what cannot be held
// or read is an error naming the place, never a silent "?" or "・".
void codepageChecks() {
    section("code page 932 through the system's tables");
    struct Pair {
        std::u16string text;
        std::string bytes;
    };
    const Pair pairs[] = {
        {u"", ""},
        {u"AutoCAD LT - [A.dwg]", "AutoCAD LT - [A.dwg]"},
        {u"構", "\x8d\x5c"},                                            // trail byte 0x5C, the "\" of ASCII
        {u"ﾃｷｽﾄ ｳｨﾝﾄﾞｳ", "\xc3\xb7\xbd\xc4 \xb3\xa8\xdd\xc4\xde\xb3"},  // half-width katakana, one byte each
        {u"図面1",
         "\x90\x7d\x96\xca"
         "1"},
        {u"①", "\x87\x40"},       // NEC row 13
        {u"髙", "\xfb\xfc"},      // IBM extension
        {u"\u3000", "\x81\x40"},  // ideographic space
    };
    for (const Pair& pair : pairs) {
        const auto bytes = tiermark::toCp932(pair.text);
        expect(bytes && *bytes == pair.bytes, "toCp932(" + utf8(pair.text) + ") gives " + hex(pair.bytes) +
                                                  ", got " + (bytes ? hex(*bytes) : bytes.error().message));
        const auto text = tiermark::fromCp932(pair.bytes);
        expect(text && *text == pair.text, "fromCp932(" + hex(pair.bytes) + ") gives " + utf8(pair.text));
        expectEqual(tiermark::fromCp932Lenient(pair.bytes), pair.text,
                    "lenient reading of " + hex(pair.bytes));
    }

    struct Refused {
        std::u16string text;
        std::string position;  // as the message names it
    };
    const Refused refused[] = {
        {u"€", "character 1"},
        {u"ab😀", "character 3"},
        {u"x\xD800y", "character 2"},  // an unpaired surrogate
        {u"Ä", "character 1"},
    };
    for (const Refused& r : refused) {
        const auto bytes = tiermark::toCp932(r.text);
        expect(!bytes && bytes.error().message.find(r.position) != std::string::npos,
               "toCp932 refuses " + hex(utf8(r.text)) + " at " + r.position);
    }

    struct BadBytes {
        std::string bytes;
        std::string position;
        std::u16string lenient;
    };
    const BadBytes bad[] = {
        {"A\x81", "byte 2", u"A\uFFFD"},  // a lead byte without its trail byte
        {"\x81\x20"
         "B",
         "byte 1", u"\uFFFD B"},  // a trail byte out of range
        {"ok\x82", "byte 3", u"ok\uFFFD"},
    };
    for (const BadBytes& b : bad) {
        const auto text = tiermark::fromCp932(b.bytes);
        expect(!text && text.error().message.find(b.position) != std::string::npos,
               "fromCp932 refuses " + hex(b.bytes) + " at " + b.position +
                   (text ? ", got " + utf8(*text) : ", said " + text.error().message));
        expectEqual(tiermark::fromCp932Lenient(b.bytes), b.lenient, "lenient reading of " + hex(b.bytes));
    }
}

}  // namespace win32test

#include "cadsim/core/payload_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include <cstdio>

#include "cadsim/core/json.h"
#include "common/codepage.h"
#include "common/utf.h"

namespace cadsim {

namespace {

std::u16string visible(char16_t c) {
    switch (c) {
        case u'\r':
            return u"<CR>";
        case u'\n':
            return u"<LF>";
        case u'\x1b':
            return u"<ESC>";
        case u'\0':
            return u"<NUL>";
        default:
            break;
    }
    if (c < 0x20) {
        char text[8];
        std::snprintf(text, sizeof text, "<0x%02X>", static_cast<unsigned>(c));
        return tiermark::fromUtf8(text);
    }
    return std::u16string(1, c);
}

}  // namespace

std::string visibleText(const std::vector<std::uint8_t>& bytes, bool wide, std::size_t maxChars) {
    std::u16string text;
    if (wide) {
        for (std::size_t i = 0; i + 1 < bytes.size() && text.size() <= maxChars; i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        if (bytes.size() % 2 != 0) {
            text.push_back(u'\uFFFD');
        }
    } else {
        const std::size_t take = std::min(bytes.size(), maxChars * 2 + 2);
        text =
            tiermark::fromCp932Lenient(std::string_view(reinterpret_cast<const char*>(bytes.data()), take));
    }
    std::u16string out;
    std::size_t count = 0;
    for (char16_t c : text) {
        if (count++ == maxChars) {
            out += u"…";
            break;
        }
        out += visible(c);
    }
    return tiermark::toUtf8(out);
}

std::string payloadLogLine(const PayloadRecord& record, const std::string& form, const std::string& utcTime) {
    static const char* kHex = "0123456789abcdef";
    std::string hex;
    const std::size_t shown = std::min(record.bytes.size(), kMaxLoggedBytes);
    hex.reserve(shown * 2);
    for (std::size_t i = 0; i < shown; ++i) {
        hex.push_back(kHex[record.bytes[i] >> 4]);
        hex.push_back(kHex[record.bytes[i] & 0xF]);
    }
    char window[32];
    std::snprintf(window, sizeof window, "0x%llx", static_cast<unsigned long long>(record.window));
    std::string line =
        "{\"time\":" + jsonString(utcTime) + ",\"window\":\"" + window +
        "\",\"wParam\":" + std::to_string(record.wParam) + ",\"dwData\":" + std::to_string(record.dwData) +
        ",\"cbData\":" + std::to_string(record.bytes.size()) + ",\"form\":" + jsonString(form) +
        ",\"text\":" + jsonString(visibleText(record.bytes, form == "wide", kMaxLoggedBytes)) +
        ",\"hex\":\"" + hex + "\"";
    if (shown < record.bytes.size()) {
        line += ",\"truncated\":true";
    }
    return line + ",\"outcome\":" + jsonString(record.outcome) + "}";
}

std::string utcNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm{};
#ifdef _WIN32
    gmtime_s(&tm, &seconds);
#else
    gmtime_r(&seconds, &tm);
#endif
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    char out[48];
    std::snprintf(out, sizeof out, "%s.%03dZ", text, static_cast<int>(millis));
    return out;
}

}  // namespace cadsim

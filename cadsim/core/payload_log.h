#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cadsim {

// One received copy-data payload, as the log writes it.
struct PayloadRecord {
    std::uint64_t window = 0;
    std::uint64_t wParam = 0;
    std::uint32_t dwData = 0;
    std::vector<std::uint8_t> bytes;
    std::string outcome;  // "taken", or why the text was not taken
};

// The text of a payload with its control characters made visible: CR as <CR>, LF as <LF>, ESC as <ESC>,
// NUL as <NUL>, others as <0xNN>. wide tells how the bytes are read; bytes that do not decode show as
// U+FFFD. At most maxChars characters, then "…".
std::string visibleText(const std::vector<std::uint8_t>& bytes, bool wide, std::size_t maxChars);

// One JSON line (no newline) for the log: time, window, wParam, dwData, cbData, form, text, hex (the first
// kMaxLoggedBytes bytes; "truncated" says when there were more) and outcome.
// The current time in UTC as the log writes it: 2026-12-08T04:11:47.123Z.
std::string utcNow();

std::string payloadLogLine(const PayloadRecord& record, const std::string& form, const std::string& utcTime);

inline constexpr std::size_t kMaxLoggedBytes = 4096;

}  // namespace cadsim

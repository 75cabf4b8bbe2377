#pragma once

#include <source_location>
#include <string>
#include <string_view>

namespace win32test {

// A small assertion harness for the Windows driver (GoogleTest is not part of the cross toolchain): every
// check counts as passed or failed, and a failure prints where it was and what was expected.
bool expect(bool ok, std::string_view what, std::source_location where = std::source_location::current());

template <typename A, typename B>
bool expectEqual(const A& actual, const B& expected, std::string_view what,
                 std::source_location where = std::source_location::current()) {
    return expect(actual == expected, what, where);
}

// Starts a named group of checks in the output (and says how long the previous one took).
void section(std::string_view name);
// A line of information in the output (timings).
void note(std::string_view text);

int passedChecks();
int failedChecks();

// Bytes as lower-case hex, and text as UTF-8, for the messages.
std::string hex(std::string_view bytes);
std::string utf8(std::u16string_view text);

}  // namespace win32test

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"

namespace cadsim {

// acadltctl's command line: [--pid N] state | pick ID.. | confirm | save FILE | layers | rename OLD NEW |
// send TEXT | screenshot FILE.
struct ControlCommand {
    std::optional<std::uint32_t> pid;
    std::string verb;
    std::vector<std::string> arguments;
};

tiermark::Result<ControlCommand> parseControlCommand(const std::vector<std::string>& arguments);

// A typed text with its escapes resolved: \r CR, \n LF, \e ESC, \0 NUL, \t tab, \\ backslash.
tiermark::Result<std::string> unescapeText(const std::string& text);

inline constexpr const char* kControlUsage =
    "usage: acadltctl [--pid N] state | pick ID... | confirm | save FILE | layers | rename OLD NEW | send "
    "TEXT |\n"
    "       screenshot FILE.png\n"
    "  send: \\r Enter, \\n line feed, \\e ESC, \\0 NUL, \\\\ backslash\n"
    "  without --pid: the stand-in with the highest process id\n";

}  // namespace cadsim

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cadsim {

// Text helpers of the command line. Names and keywords compare without regard to the case of ASCII
// letters, as the CAD program's command line does (common/ascii.h).
// ASCII blanks (space, tab) removed from both ends.
std::u16string_view trim(std::u16string_view text);

// A comma-separated name list; each name trimmed, empty names dropped.
std::vector<std::u16string> splitNames(std::u16string_view list);

// Wildcard match of a layer name against a pattern with "*" (any run) and "?" (one character),
// case-insensitive.
bool wildcardMatch(std::u16string_view pattern, std::u16string_view name);

}  // namespace cadsim

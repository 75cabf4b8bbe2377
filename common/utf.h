#pragma once

#include <string>
#include <string_view>

namespace tiermark {

// Conversions between the program's UTF-16 text and UTF-8, for messages, logs and JSON. Unpaired
// surrogates and malformed UTF-8 become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// The text with every unpaired surrogate (a UTF-16 unit that is half of no pair) replaced by U+FFFD, so that
// text read from outside the program is valid UTF-16 before anything else sees it.
std::u16string replaceUnpairedSurrogates(std::u16string text);
bool isValidUtf16(std::u16string_view text);

}  // namespace tiermark

#pragma once

#include <string>
#include <string_view>

namespace cadsim {

// A JSON string literal (quotes included) of UTF-8 text; control characters are escaped.
std::string jsonString(std::string_view utf8);
std::string jsonString(std::u16string_view text);
// A JSON number: the shortest decimal text of the value.
std::string jsonNumber(double value);

}  // namespace cadsim

#pragma once

#include <string_view>

namespace stddb {

// Equality as the database engine compares names and text keys: ASCII letters match whatever their case;
// every other character (kana, kanji, full-width letters) must be the same.
bool equalsIgnoringAsciiCase(std::u16string_view left, std::u16string_view right);

}  // namespace stddb

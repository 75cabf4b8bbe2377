#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace tiermark {

// Conversion between the program's UTF-16 text and the Japanese system code page, Shift-JIS as Windows
// extends it (code page 932: JIS X 0208, half-width katakana, the NEC and IBM extensions).
//
// Both directions are strict: a character that code page 932 cannot hold, or bytes that are not valid
// code page 932, are an error naming the first offending position, never a silent substitute.
tiermark::Result<std::string> toCp932(std::u16string_view text);
tiermark::Result<std::u16string> fromCp932(std::string_view bytes);

// For titles and logs: like fromCp932, but every undecodable byte becomes U+FFFD and decoding goes on.
std::u16string fromCp932Lenient(std::string_view bytes);

}  // namespace tiermark

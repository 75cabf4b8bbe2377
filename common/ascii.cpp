#include "common/ascii.h"

#include <algorithm>

namespace tiermark {

std::u16string asciiUppercased(std::u16string_view text) {
    std::u16string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char16_t c) { return asciiUpper(c); });
    return out;
}

std::u16string asciiLowercased(std::u16string_view text) {
    std::u16string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char16_t c) { return asciiLower(c); });
    return out;
}

std::string asciiUppercased(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return asciiUpper(c); });
    return out;
}

bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return asciiUpper(x) == asciiUpper(y);
           });
}

}  // namespace tiermark

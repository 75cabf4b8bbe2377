#pragma once

#include <string>
#include <string_view>

// The case of ASCII letters, the only case the program's names know: AutoCAD LT compares layer and line
// type names, the database engine table and column names, and the command line its keywords without regard
// to the case of A to Z; every other character (kana, kanji, full-width letters) keeps its case.
namespace tiermark {

constexpr char16_t asciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}
constexpr char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
constexpr char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::u16string asciiUppercased(std::u16string_view text);
std::u16string asciiLowercased(std::u16string_view text);
std::string asciiUppercased(std::string_view text);

// Whether the texts are the same but for the case of ASCII letters.
bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace tiermark

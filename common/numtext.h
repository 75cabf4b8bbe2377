#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tiermark {

// The shortest decimal text that reads back as the same number, with at most 15 significant digits and a
// full stop as decimal point, whatever the locale: 694, 297.5, -10, 0.1. Negative zero is written "0".
std::string shortestDecimal(double value);
std::u16string shortestDecimalU16(double value);

// Reads a number typed into a form: optional blanks around, an optional sign, digits with a full stop as
// decimal point and an optional exponent. Empty text, anything else, infinities and overflow give nothing.
std::optional<double> parseDecimal(std::u16string_view text);
std::optional<double> parseDecimal(std::string_view text);

// Reads a number a user typed into a text box, through the Japanese input method or not: full-width digits
// (０–９), full stop (．), signs (＋, －, and the minus sign −) and exponent letters (ｅ, Ｅ) count as their
// ASCII forms, and ideographic blanks around the number as blanks. Otherwise as parseDecimal: a comma, a
// second number or any other character makes it no number.
std::optional<double> parseTypedNumber(std::u16string_view text);

}  // namespace tiermark

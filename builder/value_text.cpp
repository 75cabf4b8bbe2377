#include "builder/value_text.h"

#include <cmath>
#include <string>
#include <variant>

#include "common/numtext.h"

namespace builder {

std::optional<double> valueNumber(const stddb::Value& value) {
    if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*whole);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return std::isfinite(*real) ? std::optional<double>(*real) : std::nullopt;
    }
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        return tiermark::parseDecimal(std::u16string_view(*text));
    }
    return std::nullopt;
}

std::optional<std::int64_t> valueInteger(const stddb::Value& value) {
    if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        return *whole;
    }
    const std::optional<double> number = valueNumber(value);
    // 2^62 keeps the rounded value well inside the 64-bit range.
    if (!number || std::fabs(*number) > 4.6e18) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(std::llround(*number));
}

std::u16string integerText(std::int64_t value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

}  // namespace builder

#include <cstdint>

#include "common/numtext.h"
#include "stddb/database.h"
#include "stddb/text_compare.h"

namespace stddb {

std::u16string asText(const Value& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        const std::string digits = std::to_string(*integer);
        return std::u16string(digits.begin(), digits.end());
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return tiermark::shortestDecimalU16(*real);
    }
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        return *text;
    }
    return {};
}

std::optional<double> asNumber(const Value& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return *real;
    }
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        return tiermark::parseDecimal(*text);
    }
    return std::nullopt;
}

int Table::columnIndex(std::u16string_view columnName) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (equalsIgnoringAsciiCase(columns[i].name, columnName)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace stddb

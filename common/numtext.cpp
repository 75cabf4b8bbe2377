#include "numtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace tiermark {

namespace {

// The fewest significant digits (at most 15) with which the value reads back exactly.
int significantDigits(double value) {
    std::array<char, 64> buffer{};
    for (int precision = 1; precision < 15; ++precision) {
        auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific, precision - 1);
        double back = 0.0;
        std::from_chars(buffer.data(), end, back);
        if (ec == std::errc{} && back == value) {
            return precision;
        }
    }
    return 15;
}

}  // namespace

std::string shortestDecimal(double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return "0";
    }
    const int digits = significantDigits(value);
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    std::array<char, 400> buffer{};
    if (exponent < -5 || exponent >= 15) {
        // Too small or too large for plain digits: scientific notation, as 1e+20.
        auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific, digits - 1);
        return std::string(buffer.data(), ec == std::errc{} ? end : buffer.data());
    }
    const int decimals = std::max(0, digits - 1 - exponent);
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals);
    std::string text(buffer.data(), ec == std::errc{} ? end : buffer.data());
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

std::u16string shortestDecimalU16(double value) {
    const std::string text = shortestDecimal(value);
    return std::u16string(text.begin(), text.end());
}

std::optional<double> parseDecimal(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // from_chars would also take "inf" and "nan"; a form field holds digits only.
    for (char c : text) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (!allowed) {
            return std::nullopt;
        }
    }
    double value = 0.0;
    auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDecimal(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t c : text) {
        if (c > 0x7F) {
            return std::nullopt;
        }
        narrow.push_back(static_cast<char>(c));
    }
    return parseDecimal(std::string_view(narrow));
}

std::optional<double> parseTypedNumber(std::u16string_view text) {
    std::u16string folded;
    folded.reserve(text.size());
    for (char16_t c : text) {
        if (c >= u'０' && c <= u'９') {
            c = static_cast<char16_t>(u'0' + (c - u'０'));
        } else {
            switch (c) {
                case u'．':
                    c = u'.';
                    break;
                case u'＋':
                    c = u'+';
                    break;
                case u'－':
                case u'−':
                    c = u'-';
                    break;
                case u'ｅ':
                    c = u'e';
                    break;
                case u'Ｅ':
                    c = u'E';
                    break;
                case u'\u3000':
                    c = u' ';
                    break;
                default:
                    break;
            }
        }
        folded.push_back(c);
    }
    return parseDecimal(std::u16string_view(folded));
}

}  // namespace tiermark

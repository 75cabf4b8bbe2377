#include "cadsim/core/points.h"

#include "cadsim/core/text.h"
#include "common/ascii.h"
#include "common/numtext.h"

namespace cadsim {

std::optional<Point> parsePoint(std::u16string_view text) {
    const std::size_t comma = text.find(u',');
    if (comma == std::u16string_view::npos) {
        return std::nullopt;
    }
    std::u16string_view rest = text.substr(comma + 1);
    const std::size_t second = rest.find(u',');
    if (second != std::u16string_view::npos) {
        if (!tiermark::parseDecimal(rest.substr(second + 1))) {
            return std::nullopt;
        }
        rest = rest.substr(0, second);
    }
    const auto x = tiermark::parseDecimal(text.substr(0, comma));
    const auto y = tiermark::parseDecimal(rest);
    if (!x || !y) {
        return std::nullopt;
    }
    return Point{*x, *y};
}

std::optional<int> parseColor(std::u16string_view text) {
    static constexpr std::u16string_view kNames[] = {u"RED",  u"YELLOW",  u"GREEN", u"CYAN",
                                                     u"BLUE", u"MAGENTA", u"WHITE"};
    for (int i = 0; i < 7; ++i) {
        if (tiermark::equalsIgnoringAsciiCase(text, kNames[i])) {
            return i + 1;
        }
    }
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    if (value < 1 || value > 255) {
        return std::nullopt;
    }
    return value;
}

}  // namespace cadsim

#include "cadsim/core/json.h"

#include <cstdio>

#include "common/numtext.h"
#include "common/utf.h"

namespace cadsim {

std::string jsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string jsonString(std::u16string_view text) {
    return jsonString(tiermark::toUtf8(text));
}

std::string jsonNumber(double value) {
    return tiermark::shortestDecimal(value);
}

}  // namespace cadsim

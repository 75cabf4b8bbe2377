#include "stddb/connect_string.h"

#include "stddb/text_compare.h"

namespace stddb {

std::u16string passwordFromConnect(std::u16string_view connect) {
    std::size_t start = 0;
    while (start <= connect.size()) {
        std::size_t end = connect.find(u';', start);
        if (end == std::u16string_view::npos) {
            end = connect.size();
        }
        const std::u16string_view part = connect.substr(start, end - start);
        const std::size_t equals = part.find(u'=');
        if (equals != std::u16string_view::npos && equalsIgnoringAsciiCase(part.substr(0, equals), u"pwd")) {
            return std::u16string(part.substr(equals + 1));
        }
        start = end + 1;
    }
    return {};
}

}  // namespace stddb

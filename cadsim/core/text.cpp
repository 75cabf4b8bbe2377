#include "cadsim/core/text.h"

#include "common/ascii.h"

namespace cadsim {

namespace {
// The ideographic space U+3000 is a character of a name, as it is for the CAD program.
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
}  // namespace

std::u16string_view trim(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::u16string> splitNames(std::u16string_view list) {
    std::vector<std::u16string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(u',', start);
        if (comma == std::u16string_view::npos) {
            comma = list.size();
        }
        const std::u16string_view name = trim(list.substr(start, comma - start));
        if (!name.empty()) {
            names.emplace_back(name);
        }
        start = comma + 1;
    }
    return names;
}

bool wildcardMatch(std::u16string_view pattern, std::u16string_view name) {
    // Iterative match with one backtrack point for the last "*".
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::u16string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' || tiermark::asciiUpper(pattern[p]) == tiermark::asciiUpper(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace cadsim

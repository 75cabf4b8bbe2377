#include "stddb/path_completion.h"

namespace stddb {
namespace {

bool endsWith(std::u16string_view text, std::u16string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

// The text without the blanks, line breaks and double quotes around it.
std::u16string_view trimmed(std::u16string_view text) {
    auto trim = [&text](auto drop) {
        while (!text.empty() && drop(text.front())) {
            text.remove_prefix(1);
        }
        while (!text.empty() && drop(text.back())) {
            text.remove_suffix(1);
        }
    };
    trim(isBlank);
    trim([](char16_t c) { return c == u'"' || isBlank(c); });
    return text;
}

char16_t separatorOf(std::u16string_view path, char16_t nativeSeparator) {
    for (char16_t separator : {nativeSeparator, u'\\', u'/'}) {
        if (path.find(separator) != std::u16string_view::npos) {
            return separator;
        }
    }
    return nativeSeparator;
}

}  // namespace

std::u16string CompletePastedPath(std::u16string_view pasted, char16_t nativeSeparator) {
    std::u16string path(trimmed(pasted));
    for (std::u16string_view file : {u"TIERMARK.mdb", u"TIERMARK.MDB", u"Tiermark.mdb", u"Tiermark.MDB"}) {
        if (endsWith(path, file)) {
            return path;
        }
    }
    const char16_t separator = separatorOf(path, nativeSeparator);
    if (!endsWith(path, std::u16string_view(&separator, 1)) || endsWith(path, u"TIERMARK") ||
        endsWith(path, u"Tiermark")) {
        path += separator;
    }
    return path + u"Tiermark.MDB";
}

std::u16string ChosenFilePath(std::u16string_view chosen, char16_t nativeSeparator) {
    std::u16string path(chosen);
    if (nativeSeparator == u'\\') {
        for (char16_t& c : path) {
            if (c == u'/') {
                c = u'\\';
            }
        }
    }
    return path;
}

}  // namespace stddb

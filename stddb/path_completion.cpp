#include "stddb/path_completion.h"

namespace stddb {
namespace {

bool endsWith(std::u16string_view text, std::u16string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::u16string CompletePastedPath(std::u16string_view pasted) {
    std::u16string path(pasted);
    for (std::u16string_view file : {u"TIERMARK.mdb", u"TIERMARK.MDB", u"Tiermark.mdb", u"Tiermark.MDB"}) {
        if (endsWith(path, file)) {
            return path;
        }
    }
    if (endsWith(path, u"TIERMARK") || endsWith(path, u"Tiermark")) {
        return path + u"\\Tiermark.MDB";
    }
    if (endsWith(path, u"\\")) {
        return path + u"Tiermark.MDB";
    }
    return path + u"\\Tiermark.MDB";
}

}  // namespace stddb

#include "cadsim/core/linetypes.h"

#include <iterator>

#include "cadsim/core/text.h"

namespace cadsim {

namespace {
constexpr std::u16string_view kLoaded[] = {
    u"Continuous",     u"DASHED",         u"DASHED2",        u"DASHEDX2",       u"HIDDEN",
    u"HIDDEN2",        u"HIDDENX2",       u"CENTER",         u"CENTER2",        u"CENTERX2",
    u"PHANTOM",        u"PHANTOM2",       u"PHANTOMX2",      u"DASHDOT",        u"DASHDOT2",
    u"DASHDOTX2",      u"DIVIDE",         u"DIVIDE2",        u"DIVIDEX2",       u"DOT",
    u"DOT2",           u"DOTX2",          u"BORDER",         u"BORDER2",        u"BORDERX2",
    u"ACAD_ISO02W100", u"ACAD_ISO03W100", u"ACAD_ISO04W100", u"ACAD_ISO05W100", u"ACAD_ISO06W100",
    u"ACAD_ISO07W100", u"ACAD_ISO08W100", u"ACAD_ISO09W100", u"ACAD_ISO10W100", u"ACAD_ISO11W100",
    u"ACAD_ISO12W100", u"ACAD_ISO13W100", u"ACAD_ISO14W100", u"ACAD_ISO15W100", u"実線",
    u"破線",           u"一点鎖線",       u"二点鎖線",       u"点線",
};
}  // namespace

std::vector<std::u16string> loadedLineTypes() {
    return {std::begin(kLoaded), std::end(kLoaded)};
}

std::optional<std::u16string> loadedLineType(std::u16string_view name) {
    for (std::u16string_view loaded : kLoaded) {
        if (equalsNoCase(loaded, name)) {
            return std::u16string(loaded);
        }
    }
    return std::nullopt;
}

}  // namespace cadsim

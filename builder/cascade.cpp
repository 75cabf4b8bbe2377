#include "builder/cascade.h"

#include <array>

#include "builder/layer_names.h"
#include "builder/value_text.h"

namespace builder {

int kindOffset(int kindIndex) {
    static constexpr std::array<int, 7> kOffsets = {0, 10, 14, 31, 35, 82, 93};
    if (kindIndex < 0 || kindIndex >= static_cast<int>(kOffsets.size())) {
        return 0;
    }
    return kOffsets[static_cast<std::size_t>(kindIndex)];
}

int workTypeKey(int kindIndex, int workTypeIndex) {
    return workTypeIndex + 1 + kindOffset(kindIndex);
}

std::u16string workTypeKeyText(int kindIndex, int workTypeIndex) {
    return integerText(workTypeKey(kindIndex, workTypeIndex));
}

std::u16string lifeCycleLetter(int stageIndex) {
    switch (stageIndex) {
        case 0:
            return u"S";
        case 1:
            return u"D";
        case 2:
            return u"C";
        case 3:
            return u"M";
        default:
            return {};
    }
}

std::u16string pageOneLayerEntry(bool standardNamesOnly, int stageIndex, const stddb::Value& content,
                                 const stddb::Value& object, const stddb::Value& element) {
    const std::u16string lead = standardNamesOnly ? lifeCycleLetter(stageIndex) : stddb::asText(content);
    return lead + stddb::asText(object) + stddb::asText(element);
}

std::u16string pageTwoLayerEntry(int stageIndex, const stddb::Value& object, const stddb::Value& element) {
    return standardLayerName(lifeCycleLetter(stageIndex), object, element);
}

std::u16string kindFilter(int kindNumber) {
    return u"種別 = " + integerText(kindNumber);
}

std::u16string workTypeFilter(std::u16string_view key) {
    return u"工種名 = " + std::u16string(key);
}

std::u16string layerFilter(std::u16string_view key, std::u16string_view drawingName) {
    return u"工種ID = " + std::u16string(key) + u" and 図面名 ='" + std::u16string(drawingName) + u"'";
}

std::u16string colourFilter(std::u16string_view colourName) {
    return u"名称 = '" + std::u16string(colourName) + u"'";
}

std::u16string paperFilter(std::u16string_view designation) {
    return u"呼び方 = '" + std::u16string(designation) + u"'";
}

bool drawingNameFitsFilter(std::u16string_view drawingName) {
    return drawingName.find(u'\'') == std::u16string_view::npos;
}

std::u16string quotedDrawingNameMessage(std::u16string_view drawingName) {
    return u"図面名「" + std::u16string(drawingName) +
           u"」に ' （アポストロフィ）が含まれているため、この図面のレイヤーをデータベースから読み出せません。\r"
           u"データベースの図面名を確認してください。";
}

}  // namespace builder

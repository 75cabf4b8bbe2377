#include "layercheck/drawing_file.h"

#include "common/utf.h"

namespace layercheck {

namespace {

std::u16string countText(std::size_t count) {
    const std::string text = std::to_string(count);
    return std::u16string(text.begin(), text.end());
}

}  // namespace

tiermark::Result<FileCheck> checkDrawingFile(const std::filesystem::path& path, const Standard& standard) {
    auto table = dxf::readLayerTableFile(path);
    if (!table) {
        return table.error();
    }
    FileCheck check;
    check.table = std::move(*table);
    check.result = checkLayers(check.table.layers, standard);
    return check;
}

std::u16string fileFormText(const dxf::LayerTable& table) {
    std::u16string text = table.version.empty() ? u"版不明" : tiermark::fromUtf8(table.version);
    if (!table.codePage.empty()) {
        text += u"、" + tiermark::fromUtf8(table.codePage);
    }
    if (table.binary) {
        text += u"、バイナリ";
    }
    return text;
}

std::vector<std::u16string> readingNotes(const dxf::LayerTable& table) {
    std::vector<std::u16string> notes;
    if (table.duplicates > 0) {
        notes.push_back(u"同じ名前の画層が " + countText(table.duplicates) +
                        u" 件重なっていたため、最初のものだけを調べました。");
    }
    if (table.unreadableNames > 0) {
        notes.push_back(countText(table.unreadableNames) + u" 件の画層名に、ファイルの文字コード（" +
                        (table.codePage.empty() ? u"指定なし" : tiermark::fromUtf8(table.codePage)) +
                        u"）で読めない文字があり、「\uFFFD」で示しています。");
    }
    return notes;
}

}  // namespace layercheck

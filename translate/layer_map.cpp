#include "translate/layer_map.h"

#include <algorithm>
#include <optional>

#include "common/ascii.h"
#include "common/utf.h"

namespace translate {

namespace {

using tiermark::equalsIgnoringAsciiCase;

constexpr std::string_view kHeading = "# Tiermark 画層マップ（図面の画層<TAB>標準の画層）";

std::string lineError(std::size_t line, std::string_view what) {
    return std::to_string(line) + " 行目：" + std::string(what);
}

bool isUtf8(std::string_view bytes) {
    return tiermark::toUtf8(tiermark::fromUtf8(bytes)) == bytes;
}

// One line of the file as a pair, nothing for a comment or an empty line, or the error naming the line.
tiermark::Result<std::optional<MapPair>> pairOfLine(std::string_view line, std::size_t number) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const std::size_t tab = line.find('\t');
    const bool blank = line.find_first_not_of(' ') == std::string_view::npos;
    if (blank || (tab == std::string_view::npos && line.front() == '#')) {
        return std::optional<MapPair>();
    }
    if (!isUtf8(line)) {
        return tiermark::makeError(
            lineError(number, "UTF-8 の文字として読めないバイトがあります（UTF-8 で保存してください）"));
    }
    if (tab == std::string_view::npos) {
        return tiermark::makeError(lineError(number, "図面の画層と標準の画層を区切るタブがありません"));
    }
    const std::string_view drawing = line.substr(0, tab);
    const std::string_view standard = line.substr(tab + 1);
    if (standard.find('\t') != std::string_view::npos) {
        return tiermark::makeError(lineError(number, "タブが二つ以上あります"));
    }
    if (drawing.empty() || standard.empty()) {
        return tiermark::makeError(lineError(number, "画層名が空です"));
    }
    return std::optional<MapPair>(MapPair{tiermark::fromUtf8(drawing), tiermark::fromUtf8(standard)});
}

// A name a line of the file can hold: no tab, CR or LF, and none of the other control characters, which no
// layer typed into AutoCAD LT holds either.
bool writable(std::u16string_view name) {
    return !name.empty() &&
           std::none_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
}

}  // namespace

const std::u16string* LayerMap::targetOf(std::u16string_view drawingLayer) const {
    for (const MapPair& pair : m_pairs) {
        if (equalsIgnoringAsciiCase(pair.drawing, drawingLayer)) {
            return &pair.standard;
        }
    }
    return nullptr;
}

void LayerMap::set(std::u16string_view drawingLayer, std::u16string_view standardLayer) {
    for (MapPair& pair : m_pairs) {
        if (equalsIgnoringAsciiCase(pair.drawing, drawingLayer)) {
            pair = MapPair{std::u16string(drawingLayer), std::u16string(standardLayer)};
            return;
        }
    }
    m_pairs.push_back(MapPair{std::u16string(drawingLayer), std::u16string(standardLayer)});
}

void LayerMap::remove(std::u16string_view drawingLayer) {
    std::erase_if(m_pairs, [drawingLayer](const MapPair& pair) {
        return equalsIgnoringAsciiCase(pair.drawing, drawingLayer);
    });
}

std::vector<std::u16string> LayerMap::sourcesOf(std::u16string_view standardLayer) const {
    std::vector<std::u16string> sources;
    for (const MapPair& pair : m_pairs) {
        if (equalsIgnoringAsciiCase(pair.standard, standardLayer)) {
            sources.push_back(pair.drawing);
        }
    }
    return sources;
}

std::string mapFileText(const LayerMap& map) {
    std::string text(kHeading);
    text += "\r\n";
    for (const MapPair& pair : map.pairs()) {
        if (writable(pair.drawing) && writable(pair.standard)) {
            text += tiermark::toUtf8(pair.drawing) + "\t" + tiermark::toUtf8(pair.standard) + "\r\n";
        }
    }
    return text;
}

tiermark::Result<LayerMap> parseMapFile(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    LayerMap map;
    std::vector<std::size_t> lineOfPair;
    std::size_t number = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        ++number;
        auto pair = pairOfLine(line, number);
        if (!pair) {
            return pair.error();
        }
        if (!*pair) {
            continue;
        }
        for (std::size_t i = 0; i < map.pairs().size(); ++i) {
            if (equalsIgnoringAsciiCase(map.pairs()[i].drawing, (*pair)->drawing)) {
                return tiermark::makeError(
                    lineError(number, "図面の画層「" + tiermark::toUtf8((*pair)->drawing) + "」は " +
                                          std::to_string(lineOfPair[i]) + " 行目にもあります"));
            }
        }
        map.set((*pair)->drawing, (*pair)->standard);
        lineOfPair.push_back(number);
    }
    return map;
}

}  // namespace translate

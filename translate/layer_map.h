#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

// The layer map: which of a drawing's own layers become which standard layer. An office keeps it as a
// file that it shares, so that the map made for one drawing serves the next.
namespace translate {

// One pair of the map: a layer of the drawing and the standard layer it becomes.
struct MapPair {
    std::u16string drawing;
    std::u16string standard;
    bool operator==(const MapPair&) const = default;
};

// Many drawing layers may go to one standard layer; each drawing layer goes to one at most. Drawing layers
// are compared as AutoCAD LT compares layer names (ASCII letters without regard to case).
class LayerMap {
public:
    const std::vector<MapPair>& pairs() const { return m_pairs; }
    bool empty() const { return m_pairs.empty(); }

    // The standard layer a drawing layer is mapped to, or nullptr.
    const std::u16string* targetOf(std::u16string_view drawingLayer) const;
    // Maps a drawing layer, replacing the pair it had; the pairs keep the order they were first set in.
    void set(std::u16string_view drawingLayer, std::u16string_view standardLayer);
    // Takes a drawing layer out of the map.
    void remove(std::u16string_view drawingLayer);
    // The drawing layers mapped to one standard layer, in the map's order.
    std::vector<std::u16string> sourcesOf(std::u16string_view standardLayer) const;

private:
    std::vector<MapPair> m_pairs;
};

// The map file: UTF-8, one pair a line, the drawing layer, a tab and the standard layer
// ("外形線<TAB>D-STR"). A line beginning with "#" that holds no tab is a comment (a drawing layer may begin
// with "#" too); empty lines (or blanks alone) are skipped; a byte order mark and LF or CR LF line ends are
// read alike. Written with CR LF, a heading comment and no byte order mark; a pair with a control character
// in a name (a tab, CR or LF no line can hold; none can be typed into AutoCAD LT) is left out.
std::string mapFileText(const LayerMap& map);
// The error (Japanese, UTF-8) names the line at fault: no tab, an empty side, bytes that are no UTF-8, a
// drawing layer given twice (naming both lines), more than one tab.
tiermark::Result<LayerMap> parseMapFile(std::string_view bytes);

}  // namespace translate

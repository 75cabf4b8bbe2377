#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace builder {

// The program-wide layer tables: one index per layer created in the drawing, index 0 never used. The four
// tables always share their bounds. They start with index 0 only (upper bound 0).
struct LayerTables {
    std::vector<std::u16string> LayerDisplayNames = std::vector<std::u16string>(1);
    std::vector<std::u16string> LayerNames = std::vector<std::u16string>(1);
    std::vector<std::u16string> LayerLinetypes = std::vector<std::u16string>(1);
    std::vector<std::int64_t> LayerColors = std::vector<std::int64_t>(1);

    int upperBound() const { return static_cast<int>(LayerNames.size()) - 1; }
    // Sets the upper bound of all four tables, keeping the entries up to it (a smaller bound drops the
    // entries above it; new entries are empty text and colour 0). A negative bound counts as 0.
    void redimPreserve(int upper);
    // Raises the upper bound by one and returns the new last index.
    int growByOne();
    // Makes sure index exists, growing the tables when it lies past their end.
    void ensureIndex(int index);
};

// The values that layer creation leaves for the rest of the program.
struct ProgramLayerState {
    LayerTables tables;
    // The "備考" value of the row that opened the numbered-layer form: which family it offers.
    std::int16_t layerAddMode = 0;
    // Where moved objects are redrawn (the move displacement of the main window).
    double redrawOriginX = 0.0;
    double redrawOriginY = 0.0;
    // While layer creation runs: the entries Combo1 offered before the run, which the run offers again
    // after its new layers. The numbered-layer form counts them among the layers that exist already.
    std::vector<std::u16string> earlierEntries;
    // The line types the user has been told a drawing must have loaded, per main window of the target
    // (folded names), so that each is told once where the drawing cannot be read back.
    std::map<std::uint64_t, std::set<std::u16string>> toldLinetypes;
};

}  // namespace builder

#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cadlink/layer_record.h"

namespace builder {

// The layers created in the drawing during this run of the program, in the order the main window offers
// them (its list of layers to change to shows their display names, in this order). The creation run and
// the numbered-layer form add to it; the main window observes it and clears it when the target changes.
class CreatedLayers {
public:
    enum class Change { Added, Cleared };
    // Told after every change; an added layer is the last of records().
    using Observer = std::function<void(Change change, const CreatedLayers& layers)>;

    const std::vector<cadlink::LayerRecord>& records() const { return m_records; }
    std::vector<std::u16string> displayNames() const;
    bool empty() const { return m_records.empty(); }

    void add(cadlink::LayerRecord record);
    void clear();
    // One observer: a later call replaces it; an empty function ends the observing.
    void observe(Observer observer) { m_observer = std::move(observer); }

    // While a creation run is on, the layers offered before it: the run offers its own layers first and
    // then offers these again, those whose layer it has not offered. The numbered-layer form counts them
    // among the layers that exist already.
    const std::vector<cadlink::LayerRecord>& setAside() const { return m_setAside; }
    std::vector<std::u16string> setAsideDisplayNames() const;
    // The run begins: the layers offered so far are set aside, and the list is empty.
    void setAsideAll();
    // The run ends: the layers set aside are handed back, and none are set aside any more.
    std::vector<cadlink::LayerRecord> takeSetAside();

private:
    void tell(Change change) const;

    std::vector<cadlink::LayerRecord> m_records;
    std::vector<cadlink::LayerRecord> m_setAside;
    Observer m_observer;
};

// The values that layer creation leaves for the rest of the program.
struct ProgramLayerState {
    CreatedLayers created;
    // The "備考" value of the row that opened the numbered-layer form: which family it offers.
    std::int16_t layerAddMode = 0;
    // Where moved objects are redrawn (the move displacement of the main window).
    double redrawOriginX = 0.0;
    double redrawOriginY = 0.0;
    // The line types the user has been told a drawing must have loaded, per main window of the target
    // (folded names), so that each is told once where the drawing cannot be read back.
    std::map<std::uint64_t, std::set<std::u16string>> toldLinetypes;
};

}  // namespace builder

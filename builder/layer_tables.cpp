#include "builder/layer_tables.h"

#include <utility>

namespace builder {

namespace {

std::vector<std::u16string> displayNamesOf(const std::vector<cadlink::LayerRecord>& records) {
    std::vector<std::u16string> names;
    names.reserve(records.size());
    for (const cadlink::LayerRecord& record : records) {
        names.push_back(record.display);
    }
    return names;
}

}  // namespace

std::vector<std::u16string> CreatedLayers::displayNames() const {
    return displayNamesOf(m_records);
}

std::vector<std::u16string> CreatedLayers::setAsideDisplayNames() const {
    return displayNamesOf(m_setAside);
}

void CreatedLayers::add(cadlink::LayerRecord record) {
    m_records.push_back(std::move(record));
    tell(Change::Added);
}

void CreatedLayers::clear() {
    m_records.clear();
    tell(Change::Cleared);
}

void CreatedLayers::setAsideAll() {
    m_setAside = std::exchange(m_records, {});
    tell(Change::Cleared);
}

std::vector<cadlink::LayerRecord> CreatedLayers::takeSetAside() {
    return std::exchange(m_setAside, {});
}

void CreatedLayers::tell(Change change) const {
    if (m_observer) {
        m_observer(change, *this);
    }
}

}  // namespace builder

#include "builder/layer_tables.h"

#include <algorithm>

namespace builder {

void LayerTables::redimPreserve(int upper) {
    const auto size = static_cast<std::size_t>(std::max(upper, 0)) + 1;
    LayerDisplayNames.resize(size);
    LayerNames.resize(size);
    LayerLinetypes.resize(size);
    LayerColors.resize(size, 0);
}

int LayerTables::growByOne() {
    redimPreserve(upperBound() + 1);
    return upperBound();
}

void LayerTables::ensureIndex(int index) {
    if (index > upperBound()) {
        redimPreserve(index);
    }
}

}  // namespace builder

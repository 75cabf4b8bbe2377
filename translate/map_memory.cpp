#include "translate/map_memory.h"

#include "common/utf.h"

namespace translate {

LayerMap rememberedMap(stddb::SettingsStore& settings) {
    const std::u16string text = settings.GetSetting(kSectionLayerMap, kKeyRememberedPairs);
    const std::string bytes = tiermark::toUtf8(text);
    tiermark::Result<LayerMap> map = parseMapFile(bytes);
    // A value edited by hand into something unreadable proposes nothing; the next map remembered replaces it.
    return map ? std::move(map).value() : LayerMap();
}

tiermark::Result<void> remember(stddb::SettingsStore& settings, const LayerMap& map) {
    LayerMap remembered = rememberedMap(settings);
    for (const MapPair& pair : map.pairs()) {
        remembered.set(pair.drawing, pair.standard);
    }
    return settings.SaveSetting(kSectionLayerMap, kKeyRememberedPairs,
                                tiermark::fromUtf8(mapFileText(remembered)));
}

}  // namespace translate

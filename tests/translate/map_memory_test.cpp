#include "translate/map_memory.h"

#include <gtest/gtest.h>

#include "stddb/memory_settings_store.h"

namespace translate {
namespace {

LayerMap mapOf(std::initializer_list<MapPair> pairs) {
    LayerMap map;
    for (const MapPair& pair : pairs) {
        map.set(pair.drawing, pair.standard);
    }
    return map;
}

TEST(MapMemory, EveryMapRememberedAddsItsPairsTheLatestWinning) {
    stddb::MemorySettingsStore settings;
    EXPECT_TRUE(rememberedMap(settings).empty());

    ASSERT_TRUE(remember(settings, mapOf({{u"外形線", u"D-STR"}, {u"寸法", u"D-STR-DIM"}})).ok());
    ASSERT_TRUE(remember(settings, mapOf({{u"中心線", u"D-CNTR"}, {u"外形線", u"D-BGD"}})).ok());
    EXPECT_EQ(rememberedMap(settings).pairs(),
              (std::vector<MapPair>{{u"外形線", u"D-BGD"}, {u"寸法", u"D-STR-DIM"}, {u"中心線", u"D-CNTR"}}));
    // One value, the map file's text, under its section and key.
    ASSERT_EQ(settings.values.size(), 1u);
    EXPECT_EQ(settings.values.begin()->first, u"LayerMap/Pairs");
}

TEST(MapMemory, AStoreThatRefusesTheWriteSaysSo) {
    stddb::MemorySettingsStore settings;
    settings.refuseWrites = true;
    const tiermark::Result<void> stored = remember(settings, mapOf({{u"外形線", u"D-STR"}}));
    EXPECT_FALSE(stored.ok());
}

TEST(MapMemory, AnUnreadableValueIsForgottenByTheNextMap) {
    stddb::MemorySettingsStore settings;
    ASSERT_TRUE(settings.SaveSetting(kSectionLayerMap, kKeyRememberedPairs, u"no tab here\r\n").ok());
    EXPECT_TRUE(rememberedMap(settings).empty());
    ASSERT_TRUE(remember(settings, mapOf({{u"外形線", u"D-STR"}})).ok());
    EXPECT_EQ(rememberedMap(settings).pairs(), (std::vector<MapPair>{{u"外形線", u"D-STR"}}));
}

}  // namespace
}  // namespace translate

#pragma once

#include <string_view>

#include "common/result.h"
#include "stddb/settings_store.h"
#include "translate/layer_map.h"

// The office's earlier maps, remembered in the program's settings: every pair of a map that was applied
// or saved, the latest pair for a drawing layer winning. The translation window proposes from them.
//
// The pairs are kept as the map file's text in one value ("LayerMap" / "Pairs"): one write stores the map
// whole or not at all, and a text with tabs and CR LF survives both the settings file and the Windows
// registry (a REG_SZ value) that QSettings writes. Keys named by layers would not: QSettings takes "/" and
// "\" in a key as groups, and the registry compares key names without regard to case.
namespace translate {

inline constexpr std::u16string_view kSectionLayerMap = u"LayerMap";
inline constexpr std::u16string_view kKeyRememberedPairs = u"Pairs";

// The remembered pairs; none when nothing is remembered or the value cannot be read as a map.
LayerMap rememberedMap(stddb::SettingsStore& settings);
// Adds the map's pairs to the remembered ones, a map's pair replacing the one remembered for its drawing
// layer. The error is the store's: the caller tells the user that the map was not remembered.
tiermark::Result<void> remember(stddb::SettingsStore& settings, const LayerMap& map);

}  // namespace translate

#pragma once

#include "common/result.h"
#include "stddb/settings_store.h"
#include "translate/layer_map.h"

// The office's earlier maps, remembered in the program's settings: every pair of a map that was applied
// or saved, the latest pair for a drawing layer winning. The translation window proposes from them.
namespace translate {

LayerMap rememberedMap(stddb::SettingsStore& settings);
tiermark::Result<void> remember(stddb::SettingsStore& settings, const LayerMap& map);

}  // namespace translate

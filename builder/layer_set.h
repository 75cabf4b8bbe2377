#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/layer_record.h"
#include "stddb/database.h"

// The decisions of "レイヤー作成" for each row of a drawing kind, made in one place: the run that creates
// the layers in the drawing, the export of the same layers as a DXF file and a script, and the layer check
// of a drawing all take them from here.
namespace builder {

// One row of "レイヤーテーブル" as layer creation reads it.
struct LayerRow {
    stddb::Value remarks;   // 備考: 1 or ≥ 2 asks for a numbered family
    stddb::Value element;   // 作図要素
    stddb::Value object;    // 図面オブジェクト
    stddb::Value content;   // 内容
    stddb::Value linetype;  // 線種
    stddb::Value colour;    // 線色
};

// The family a row asks for: "備考" 1, or "備考" 2 and above as a whole number; anything else (Null, text,
// 0, values between 1 and 2) asks for none. Such a row opens the numbered-layer form instead of being
// created.
std::optional<std::int16_t> numberedFamily(const stddb::Value& remarks);

// The line type sent for a row: "Continuous" for "実線", otherwise "線種" as stored. A Null "線種" gives the
// empty text: CR alone answers the prompt, which keeps the layer's line type (Continuous for a new layer).
std::u16string rowLinetype(const stddb::Value& linetype);

// "色定数" of the row of "線色マスター" whose "名称" is the colour name; nothing when there is none.
using ColourLookup = std::function<std::optional<stddb::Value>(std::u16string_view colourName)>;

// The colour number sent for a row's "線色": 7 for Null, 8 for "任意", otherwise "色定数" of the colour
// master through the colour table, and 7 for a name without a row there.
std::int64_t rowColour(const stddb::Value& colourName, const ColourLookup& lookup);

// A row's layer as "レイヤー作成" creates it: its standard name, its display name and, but for a family
// template (which is created without them), the line type and colour sent.
cadlink::LayerRecord rowRecord(const LayerRow& row, std::u16string_view letter, bool standardNamesOnly,
                               const ColourLookup& lookup);

// The layers "レイヤー作成" creates with line type and colour from the rows, in row order: every row that
// neither asks for a numbered family (the numbered-layer form asks the user which members to add) nor is a
// family template (its name ends in the placeholder "n"). A name that comes twice is one layer, at its
// first place, with the line type and colour of its last row, as the drawing ends up after the run.
std::vector<cadlink::LayerRecord> plannedLayers(const std::vector<LayerRow>& rows, int stageIndex,
                                                bool standardNamesOnly, const ColourLookup& lookup);

// A family of numbered layers that a drawing kind offers: the template row's standard name (with its
// placeholder "n") and the family number of its "備考".
struct PlannedFamily {
    std::u16string templateName;
    std::int16_t family = 0;
};
std::vector<PlannedFamily> plannedFamilies(const std::vector<LayerRow>& rows, int stageIndex);

}  // namespace builder

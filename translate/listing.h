#pragma once

#include <string>
#include <string_view>

#include "cadlink/layer_record.h"
#include "translate/plan.h"

// How the translation window lists the two sides: each drawing layer with what the map makes of it, each
// standard layer with its line type and colour.
namespace translate {

// "外形線 → D-STR（名前を変更）", "0 → D-BGD（変更できない：理由）", "中心線（そのまま）": a layer left alone
// shows no target, whatever the map says.
std::u16string stepLine(const Step& step);
// "D-STR　Continuous　色 3": the line type as the layer ends up with it.
std::u16string standardLine(const cadlink::LayerRecord& layer);

// What the window says of the layers that a merge never takes away.
inline constexpr std::u16string_view kNeverMergedNote =
    u"画層 0、Defpoints、外部参照の画層と現在の画層は、統合して消すことはありません。";

}  // namespace translate

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One layer as the program carries it from its row of "レイヤーテーブル" (or the numbered-layer form) to
// every user of it: the creation run and the numbered-layer form that type it into AutoCAD LT, the main
// window's list of created layers, the export as DXF and script, the layer check and the changer.
namespace cadlink {

// The line type of a layer whose row says "実線", and of every numbered member.
inline constexpr std::u16string_view kContinuous = u"Continuous";

struct LayerRecord {
    std::u16string name{};      // the standard layer name, as typed into AutoCAD LT
    std::u16string display{};   // how the main window offers it: the "内容" text and the name, or the name
    std::u16string linetype{};  // as sent: empty for CR alone, which keeps Continuous
    std::int64_t colour = 7;    // as sent; 7 where no colour is sent (a family template)
    std::int16_t family = 0;    // the numbered family of a member ("備考" of its row); 0 for none
    int member = 0;  // a member's place in its family: suffix 1–9 are 1–9, A–Z are 10–35; 0 for none
    bool operator==(const LayerRecord&) const = default;
};

// The line type the layer ends up with in the drawing: an empty line type leaves it Continuous.
inline std::u16string effectiveLinetype(const LayerRecord& layer) {
    return layer.linetype.empty() ? std::u16string(kContinuous) : layer.linetype;
}

}  // namespace cadlink

#pragma once

#include <string>
#include <string_view>

namespace numbered {

// One family of numbered layers: …-BYP-STR1, …-BYP-STR2, …
struct Family {
    std::u16string_view subject;      // what the form's explanation names
    std::u16string_view objectCode;   // "-BYP": four or five characters
    std::u16string_view elementCode;  // "-STR": always four characters
};

// The family row for LayerAddMode 1 to 99; nothing for any other value.
const Family* familyRow(int layerAddMode);

// Row 4 is the only family that also offers its dimension and text members ("寸法線・寸法値", "文字列").
inline constexpr int kFamilyWithCompanions = 4;
inline constexpr std::u16string_view kDimensionElement = u"-DIM";  // "寸法線・寸法値"
inline constexpr std::u16string_view kTextElement = u"-TXT";       // "文字列"

inline constexpr std::u16string_view kExplanationTail =
    u"について下表の既に登録済みレイヤー以外にレイヤーを増やすこと可能です";
// The form's explanation of a family: its subject followed by kExplanationTail.
std::u16string explanation(const Family& family);

}  // namespace numbered

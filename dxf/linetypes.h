#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dxf {

// The definition of a line type as a DXF file's LTYPE table holds it: the dash pattern in drawing units
// (positive a dash, negative a gap, 0 a dot), and the picture AutoCAD LT shows beside its name.
struct LinetypeDefinition {
    std::u16string name;
    std::string description;
    std::vector<double> pattern;  // empty: a solid line
};

// The definition of a line type that layers of the standard use: the Japanese line types 実線, 破線,
// 一点鎖線, 二点鎖線 and 点線 (proportions after JIS Z 8312, in millimetres of the sheet), and the common
// line types of AutoCAD LT's metric line-type file. Names are found without regard to the case of ASCII
// letters. known is false for any other name: it is then defined as a solid line, and the user reloads
// the real one in AutoCAD LT.
LinetypeDefinition linetypeDefinition(std::u16string_view name, bool& known);

}  // namespace dxf

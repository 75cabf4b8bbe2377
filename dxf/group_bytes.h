#pragma once

#include <string>
#include <string_view>

#include "dxf/dxf_groups.h"

// One group of a DXF file written again with another value, in the form the file gives it: the code as
// the file writes its codes (ASCII: the same blanks before it and the same line end; binary: the same one or
// two bytes), everything but the value kept byte for byte.
namespace dxf::groups {

// The group (bytes as read, a text value) with the value text instead.
std::string withText(const Group& group, std::string_view bytes, std::string_view text, bool binary);
// The group (bytes as read, a 16-bit integer value, such as a colour number) with the value number; ASCII
// keeps the width of a value written right-aligned ("     7").
std::string withNumber(const Group& group, std::string_view bytes, int number, bool binary);

// A new group written as the model group (bytes as read, a text value) is: a text, or a 16-bit integer.
std::string addedText(const Group& model, std::string_view bytes, int code, std::string_view text,
                      bool binary);
std::string addedNumber(const Group& model, std::string_view bytes, int code, int number, bool binary);

}  // namespace dxf::groups

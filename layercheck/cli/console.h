#pragma once

#include <string_view>

// The console tiermark-check prints to: UTF-8 on Linux; on Windows the console itself (any code page),
// or, where the output goes to a file or a pipe, the bytes of the console's code page.
namespace layercheck {

// One line to standard output, or to standard error, with the platform's line end.
void writeOut(std::u16string_view line);
void writeErr(std::u16string_view line);

}  // namespace layercheck

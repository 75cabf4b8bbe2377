#pragma once

#include <string>
#include <vector>

#include "common/result.h"

namespace cadsim {

// The stand-in's command line: acadlt [--drawing FILE] [--log FILE] [--headless] [--title NAME]
// [--state FILE] [--script FILE].
struct Options {
    std::string drawing;  // DXF file to open; empty: the built-in sample drawing
    std::string log;      // JSON lines of the received payloads are appended here
    std::string state;    // the JSON state is written here after each change
    std::string title = "Drawing1.dwg";
    std::string script;  // played at start-up through SCRIPT, as AutoCAD LT's /b option does
    bool headless = false;
    bool help = false;
};

tiermark::Result<Options> parseOptions(const std::vector<std::string>& arguments);

// The drawing file name shown in the window titles: the base name of --drawing, else --title.
std::string drawingName(const Options& options);

inline constexpr const char* kUsage =
    "usage: acadlt [--drawing FILE.dxf] [--log FILE] [--headless] [--title NAME] [--state FILE]\n"
    "              [--script FILE.scr]\n";

}  // namespace cadsim

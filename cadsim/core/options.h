#pragma once

#include <string>
#include <vector>

#include "common/result.h"

namespace cadsim {

// The stand-in's command line: acadlt [--drawing FILE] [--log FILE] [--headless] [--title NAME]
// [--window-title TEXT] [--linetypes NAME,NAME,…] [--extnames 0|1] [--state FILE] [--hang[=MILLISECONDS]]
// [--second-main NAME] [--script FILE].
struct Options {
    std::string drawing;  // DXF file to open; empty: the built-in sample drawing
    std::string log;      // JSON lines of the received payloads are appended here
    std::string state;    // the JSON state is written here after each change
    std::string title = "Drawing1.dwg";
    // The whole title of the main window, as a given release shows it ("Autodesk AutoCAD LT 2025 -
    // [Drawing1.dwg]"); empty: "AutoCAD LT - [<drawing>]".
    std::string windowTitle;
    // Line types loaded in the drawing besides Continuous and those of the drawing's file, comma-separated.
    std::string lineTypes;
    // EXTNAMES of the drawing: 1 (names of up to 255 characters) or 0 (Release 14 names).
    int extnames = 1;
    std::string script;  // played at start-up through SCRIPT, as AutoCAD LT's /b option does
    bool headless = false;
    bool help = false;
    // How long the main window sleeps on each copy-data before taking it (0: not at all): a CAD program
    // that hangs, for the callers' time-outs.
    unsigned hangMilliseconds = 0;
    // When not empty, a third window "AutoCAD LT - [<name>]", opened last, that takes no command text (the
    // last matching window of a process wins discovery).
    std::string secondMain;
};

inline constexpr unsigned kDefaultHangMilliseconds = 60000;

tiermark::Result<Options> parseOptions(const std::vector<std::string>& arguments);

// The drawing file name shown in the window titles: the base name of --drawing, else --title.
std::string drawingName(const Options& options);

inline constexpr const char* kUsage =
    "usage: acadlt [--drawing FILE.dxf] [--log FILE] [--headless] [--title NAME] [--state FILE]\n"
    "              [--window-title TEXT] [--linetypes NAME,NAME,...] [--extnames 0|1]\n"
    "              [--hang[=MILLISECONDS]] [--second-main NAME] [--script FILE.scr]\n";

}  // namespace cadsim

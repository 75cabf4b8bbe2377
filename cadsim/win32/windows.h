#pragma once

#include "cadsim/win32/session.h"

namespace cadsim::win32 {

struct WindowOptions {
    bool show = true;
    // How long the main window's procedure sleeps on each copy-data before taking it (0: not at all); a
    // stand-in that hangs, for the callers' time-outs.
    unsigned hangMilliseconds = 0;
};

// Creates the main window "AutoCAD LT - [<drawing>]" and the text window, then runs the message loop until
// the main window is closed. Returns the process's exit code.
int runWindows(Session& session, const WindowOptions& options);

}  // namespace cadsim::win32

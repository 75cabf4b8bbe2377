#pragma once

#include <string>

#include "cadsim/win32/session.h"

namespace cadsim::win32 {

struct WindowOptions {
    bool show = true;
    // How long the main window's procedure sleeps on each copy-data before taking it (0: not at all); a
    // stand-in that hangs, for the callers' time-outs.
    unsigned hangMilliseconds = 0;
    // When not empty, a third window "AutoCAD LT - [<name>]", opened last; it takes no command text (for the
    // rule that the last matching window of a process wins discovery).
    std::u16string secondMainName;
};

// Creates the main window "AutoCAD LT - [<drawing>]" and the text window, then runs the message loop until
// the main window is closed. Returns the process's exit code.
int runWindows(Session& session, const WindowOptions& options);

}  // namespace cadsim::win32

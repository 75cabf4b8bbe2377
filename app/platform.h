#pragma once

#include <memory>

#include "cadlink/drawing_access.h"
#include "cadlink/window_system.h"

namespace app {

// The window-system backend of the platform the program runs on, with its read-back of drawing layers:
// Win32 and AutoCAD LT on Windows (no read-back); the CAD stand-in's endpoints elsewhere.
struct PlatformBackend {
    std::unique_ptr<cadlink::WindowSystem> windows;
    std::unique_ptr<cadlink::DrawingAccess> drawing;
};

PlatformBackend makePlatformBackend();

}  // namespace app

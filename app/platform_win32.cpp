#include "app/platform.h"

#include "cadlink/win32_window_system.h"

namespace app {

// On Windows the program meets AutoCAD LT itself: the Win32 window system, and no read-back of layers.
PlatformBackend makePlatformBackend() {
    return PlatformBackend{std::make_unique<cadlink::Win32WindowSystem>(),
                           std::make_unique<cadlink::NullDrawingAccess>()};
}

}  // namespace app

#include "app/platform.h"

#include "cadlink/drawing_access_posix.h"
#include "cadlink/posix_window_system.h"

namespace app {

PlatformBackend makePlatformBackend() {
    return PlatformBackend{std::make_unique<cadlink::PosixWindowSystem>(),
                           std::make_unique<cadlink::PosixDrawingAccess>()};
}

}  // namespace app

#include "cadlink/posix_window_system.h"
#include "cadsim/client/platform.h"

namespace cadsim {

std::unique_ptr<cadlink::WindowSystem> makeControlWindowSystem(std::chrono::milliseconds timeout) {
    return std::make_unique<cadlink::PosixWindowSystem>(timeout);
}

// The arguments' bytes are UTF-8 in the locales the stand-in is used with.
std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace cadsim

#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "cadlink/window_system.h"

// What acadltctl needs of its platform: the window system through which it finds the stand-ins and sends
// them text, and its arguments as UTF-8.
namespace cadsim {

std::unique_ptr<cadlink::WindowSystem> makeControlWindowSystem(std::chrono::milliseconds timeout);
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace cadsim

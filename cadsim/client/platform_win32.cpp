#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "cadlink/win32_window_system.h"
#include "cadsim/client/platform.h"
#include "common/utf.h"

namespace cadsim {

std::unique_ptr<cadlink::WindowSystem> makeControlWindowSystem(std::chrono::milliseconds timeout) {
    return std::make_unique<cadlink::Win32WindowSystem>(timeout);
}

// From the wide command line: the narrow argv holds the ANSI code page's bytes, and a layer name or a
// file name may not fit it.
std::vector<std::string> utf8Arguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (list == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(tiermark::toUtf8(reinterpret_cast<const char16_t*>(list[i])));
    }
    LocalFree(list);
    return arguments;
}

}  // namespace cadsim

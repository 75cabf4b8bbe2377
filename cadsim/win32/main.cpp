// acadlt.exe: the CAD stand-in as a Windows program. It opens the two windows of the CAD program, takes
// command text by WM_COPYDATA into the same command line as the POSIX stand-in, and writes the same
// payload log and state file.
//
// acadlt [--title NAME] [--log FILE] [--state FILE] [--headless] [--hang[=MILLISECONDS]]
//        [--second-main NAME]

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cadsim/core/options.h"
#include "cadsim/core/sample_drawing.h"
#include "cadsim/win32/session.h"
#include "cadsim/win32/windows.h"
#include "common/utf.h"

namespace {

constexpr unsigned kDefaultHangMilliseconds = 60000;

// The arguments as UTF-8, whatever the code page: the drawing name may be Japanese.
std::vector<std::string> utf8Arguments() {
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

// Takes the Windows stand-in's own options out of the arguments; the rest are the common options.
//   --hang[=MILLISECONDS]  the main window sleeps on each copy-data
//   --second-main NAME     a second window titled like a main window, opened after the other two
tiermark::Result<void> takeWin32Options(std::vector<std::string>& arguments,
                                        cadsim::win32::WindowOptions& options) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--hang") {
            options.hangMilliseconds = kDefaultHangMilliseconds;
        } else if (argument.rfind("--hang=", 0) == 0) {
            try {
                options.hangMilliseconds = static_cast<unsigned>(std::stoul(argument.substr(7)));
            } catch (const std::exception&) {
                return tiermark::makeError("--hang takes a number of milliseconds");
            }
        } else if (argument == "--second-main") {
            if (i + 1 >= arguments.size()) {
                return tiermark::makeError("--second-main needs a drawing name");
            }
            options.secondMainName = tiermark::fromUtf8(arguments[++i]);
        } else {
            rest.push_back(argument);
        }
    }
    arguments = std::move(rest);
    return {};
}

}  // namespace

int main() {
    std::vector<std::string> arguments = utf8Arguments();
    cadsim::win32::WindowOptions windowOptions;
    if (auto taken = takeWin32Options(arguments, windowOptions); !taken) {
        std::fprintf(stderr, "acadlt: %s\n", taken.error().message.c_str());
        return 2;
    }
    auto options = cadsim::parseOptions(arguments);
    if (!options) {
        std::fprintf(stderr, "acadlt: %s\n%s", options.error().message.c_str(), cadsim::kUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(cadsim::kUsage, stdout);
        std::fputs("       [--hang[=MILLISECONDS]] [--second-main NAME]  (Windows only)\n", stdout);
        return 0;
    }
    if (!options->drawing.empty()) {
        std::fputs("acadlt: this build opens no DXF files; it starts with the sample drawing\n", stderr);
        return 2;
    }
    windowOptions.show = !options->headless;

    cadsim::win32::Session session(tiermark::fromUtf8(cadsim::drawingName(*options)),
                                   cadsim::sampleDrawing());
    if (!options->log.empty()) {
        if (auto opened = session.openLog(options->log); !opened) {
            std::fprintf(stderr, "acadlt: %s\n", opened.error().message.c_str());
            return 1;
        }
    }
    if (!options->state.empty()) {
        session.setStateFile(options->state);
    }
    return cadsim::win32::runWindows(session, windowOptions);
}

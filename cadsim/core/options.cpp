#include "cadsim/core/options.h"

#include <stdexcept>

namespace cadsim {

tiermark::Result<Options> parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;
        if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name == "--headless") {
            options.headless = true;
            continue;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--hang") {
            options.hangMilliseconds = kDefaultHangMilliseconds;
            if (hasValue) {
                try {
                    options.hangMilliseconds = static_cast<unsigned>(std::stoul(value));
                } catch (const std::exception&) {
                    return tiermark::makeError("--hang takes a number of milliseconds");
                }
            }
            continue;
        }
        std::string extnames;
        std::string* target = name == "--drawing"        ? &options.drawing
                              : name == "--log"          ? &options.log
                              : name == "--state"        ? &options.state
                              : name == "--title"        ? &options.title
                              : name == "--window-title" ? &options.windowTitle
                              : name == "--linetypes"    ? &options.lineTypes
                              : name == "--extnames"     ? &extnames
                              : name == "--second-main"  ? &options.secondMain
                              : name == "--script"       ? &options.script
                                                         : nullptr;
        if (target == nullptr) {
            return tiermark::makeError("unknown option " + arguments[i]);
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                return tiermark::makeError(name + " needs a value");
            }
            value = arguments[++i];
        }
        if (value.empty()) {
            return tiermark::makeError(name + " needs a value");
        }
        *target = value;
        if (target == &extnames) {
            if (value != "0" && value != "1") {
                return tiermark::makeError("--extnames takes 0 or 1");
            }
            options.extnames = value == "1" ? 1 : 0;
        }
    }
    return options;
}

std::string drawingName(const Options& options) {
    if (options.drawing.empty()) {
        return options.title;
    }
    const std::size_t slash = options.drawing.find_last_of("/\\");
    return slash == std::string::npos ? options.drawing : options.drawing.substr(slash + 1);
}

}  // namespace cadsim

#include "cadsim/client/control.h"

namespace cadsim {

namespace {
struct Verb {
    const char* name;
    std::size_t minArgs;
    std::size_t maxArgs;
};
constexpr Verb kVerbs[] = {{"state", 0, 0},  {"pick", 1, 10000}, {"confirm", 0, 0}, {"save", 1, 1},
                           {"layers", 0, 0}, {"rename", 2, 2},   {"send", 1, 1},    {"screenshot", 1, 1}};
}  // namespace

tiermark::Result<ControlCommand> parseControlCommand(const std::vector<std::string>& arguments) {
    ControlCommand command;
    std::size_t i = 0;
    if (i < arguments.size() && arguments[i] == "--pid") {
        if (i + 1 >= arguments.size()) {
            return tiermark::makeError("--pid needs a process id");
        }
        const std::string& value = arguments[i + 1];
        if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos) {
            return tiermark::makeError("--pid needs a process id, not " + value);
        }
        command.pid = static_cast<std::uint32_t>(std::stoul(value));
        i += 2;
    }
    if (i >= arguments.size()) {
        return tiermark::makeError("no command given");
    }
    command.verb = arguments[i++];
    command.arguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.end());
    for (const Verb& verb : kVerbs) {
        if (command.verb == verb.name) {
            if (command.arguments.size() < verb.minArgs || command.arguments.size() > verb.maxArgs) {
                return tiermark::makeError("wrong number of arguments for " + command.verb);
            }
            if (command.verb == "pick") {
                for (const std::string& id : command.arguments) {
                    if (id.empty() || id.size() > 9 ||
                        id.find_first_not_of("0123456789") != std::string::npos) {
                        return tiermark::makeError("not an object id: " + id);
                    }
                }
            }
            return command;
        }
    }
    return tiermark::makeError("unknown command " + command.verb);
}

tiermark::Result<std::string> unescapeText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i == text.size()) {
            return tiermark::makeError("the text ends in a lone backslash");
        }
        switch (text[i]) {
            case 'r':
                out.push_back('\r');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'e':
                out.push_back('\x1b');
                break;
            case '0':
                out.push_back('\0');
                break;
            case 't':
                out.push_back('\t');
                break;
            case '\\':
                out.push_back('\\');
                break;
            default:
                return tiermark::makeError(std::string("unknown escape \\") + text[i]);
        }
    }
    return out;
}

}  // namespace cadsim

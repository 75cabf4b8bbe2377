#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "cadsim/core/command_table.h"
#include "common/utf.h"

// What the command line's actions (command_actions_*.cpp) share: how an input is answered, and the start
// of an object selection.
namespace cadsim::actions {

using Selected = CommandContext::Selected;
using Box = CommandContext::Box;

inline std::string utf8(std::u16string_view text) {
    return tiermark::toUtf8(text);
}
inline std::string quotedText(std::u16string_view text) {
    return "\"" + utf8(text) + "\"";
}

inline Outcome refuse(std::string message) {
    return Outcome{false, std::move(message), std::nullopt, true};
}
inline Outcome accept(std::string message = {}) {
    return Outcome{true, std::move(message), std::nullopt, false};
}
inline Outcome acceptTo(Step step, std::string message = {}) {
    return Outcome{true, std::move(message), step, false};
}
// Accepted, but the message says the input did not do what it asked (the prompt goes on elsewhere).
inline Outcome complainTo(Step step, std::string message) {
    return Outcome{true, std::move(message), step, true};
}

inline void addLine(std::string& message, const std::string& line) {
    if (!message.empty()) {
        message += "\n";
    }
    message += line;
}

inline Outcome startSelection(CommandContext& c, Selected selected, Step after) {
    c.onSelected = selected;
    c.afterSelection = after;
    return accept();
}

}  // namespace cadsim::actions

#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cadsim/core/drawing.h"

namespace cadsim {

// Where the command line stands: idle at "Command:" or at one prompt of a command in progress.
enum class Step {
    Idle,
    LayerOption,
    LayerNew,
    LayerLtypeName,
    LayerLtypeLayers,
    LayerColorNumber,
    LayerColorLayers,
    GroupOption,
    GroupCreateName,
    GroupCreateDescription,
    GroupCreateObjects,
    GroupCreateGroupName,
    GroupUngroupName,
    MoveObjects,
    MoveGroupName,
    MoveBase,
    MoveSecond,
    ChangeObjects,
    ChangeGroupName,
    ChangePoint,
    ChangeProperty,
    ChangeLayer,
    RenameType,
    RenameOld,
    RenameNew,
    ScriptFile,
};

// What a command in progress has gathered so far, and the drawing it works on.
struct CommandContext {
    explicit CommandContext(Drawing& d) : drawing(d) {}

    Drawing& drawing;
    std::u16string currentLayer{kLayerZero};
    std::vector<int> selection;
    std::u16string groupName;
    std::u16string description;
    std::u16string lineType;
    int color = 0;
    Point base;
    std::u16string oldLayer;
    // A script that SCRIPT has read and the command line is to play; the interpreter takes it.
    std::u16string script;

    void reset();
};

// The result of an action: accepted (go to the row's next step, or to redirect) or refused (the message
// and the same prompt again). message may hold several lines separated by "\n".
struct Outcome {
    bool accepted = true;
    std::string message;
    std::optional<Step> redirect;
};

using Action = Outcome (*)(CommandContext& context, std::u16string_view input);

// How a row of the command table meets the typed input.
enum class Match {
    Prompt,        // not an input: the step's prompt
    ObjectPrompt,  // the step's prompt, at which the command waits for objects to be picked
    Command,       // a command name ("_" and "." prefixes allowed), one of the "|"-separated names
    Keyword,       // an option keyword or its abbreviation (the capitals of the keyword at least)
    Empty,         // an empty Enter
    Text,          // any non-empty input
    Any,           // anything, empty or not
    Otherwise,     // nothing above matched: the row's text is the error line ({input} = what was typed)
};

struct Row {
    Step step;
    Match match;
    const char* text;  // prompt, names, keywords or error line (UTF-8)
    Action action;     // may be null
    Step next;
};

// Every prompt and every transition of the command line, in one table; rows of a step are tried in order.
std::span<const Row> commandTable();

// Whether the typed input meets the row (for Command, Keyword, Empty, Text, Any).
bool matches(const Row& row, std::u16string_view input);

}  // namespace cadsim

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
    // Object selection, shared by every command that selects (SELECT's options).
    SelectObjects,
    SelectGroupName,
    SelectFirstCorner,
    SelectOtherCorner,
    SelectPolygon,
    // A command the stand-in knows by name and alias but does not model: it takes input until Enter.
    GenericInput,
    // -LAYER
    LayerOption,
    LayerList,
    LayerMake,
    LayerSet,
    LayerNew,
    LayerRenameOld,
    LayerRenameNew,
    LayerStateList,
    LayerValue,
    LayerValueList,
    LayerDescription,
    LayerLtypeName,
    LayerLtypeLayers,
    LayerColorNumber,
    LayerColorLayers,
    LayerSubOption,
    // -GROUP
    GroupOption,
    GroupList,
    GroupCreateName,
    GroupCreateDescription,
    GroupMemberName,
    GroupExplodeName,
    GroupRenameOld,
    GroupRenameNew,
    GroupSelectableName,
    GroupSelectableAnswer,
    // MOVE, COPY
    MoveBase,
    MoveSecond,
    MoveDisplacement,
    CopyBase,
    CopySecond,
    CopyNext,
    // CHANGE
    ChangePoint,
    ChangeProperty,
    ChangeLayer,
    ChangeColor,
    ChangeLtype,
    ChangeValue,
    // -RENAME
    RenameType,
    RenameOld,
    RenameNew,
    RenameOtherOld,
    // -LAYMRG
    MergeSource,
    MergeSourceName,
    MergeTarget,
    MergeTargetName,
    MergeConfirm,
    // PAN, ZOOM
    PanRealtime,
    ZoomOption,
    ZoomCorner,
    ZoomValue,
    // SCRIPT
    ScriptFile,
};

// One step of U: the command that changed the drawing and the drawing before it.
struct UndoStep {
    std::u16string command;
    Drawing::Contents before;
};

// What a command in progress has gathered so far, what the command line keeps between commands, and the
// drawing it works on.
struct CommandContext {
    explicit CommandContext(Drawing& d) : drawing(d) {}

    Drawing& drawing;

    // Kept between commands.
    std::u16string currentLayer{kLayerZero};
    std::vector<int> previousSelection;  // the last selection set a command completed (Previous)
    // Objects picked at "Command:" (PICKFIRST 1, noun-verb selection): the next command that selects takes
    // them without asking; ESC at "Command:" lets them go.
    std::vector<int> gripped;
    std::vector<UndoStep> undo;  // U restores the last one
    int unnamedGroups = 0;       // GROUP's unnamed groups *A1, *A2, …

    // Of the command in progress.
    std::u16string commandName;
    std::vector<int> selection;
    std::vector<std::size_t> selectionSteps;  // the selection's size before each addition (Undo)
    bool removing = false;                    // Remove mode of the selection
    enum class Box { Implied, Window, Crossing } box = Box::Implied;
    Point corner;
    // What a selection leads to when Enter ends it with objects selected.
    Step afterSelection = Step::Idle;
    enum class Selected { None, Move, Copy, Change, Erase, GroupCreate, GroupAdd, GroupRemove, QuickGroup };
    Selected onSelected = Selected::None;

    std::u16string groupName;
    std::u16string description;
    std::u16string lineType;
    int color = 0;
    Point base;
    std::u16string oldLayer;
    std::u16string verb;         // -LAYER: what a name list does ("turn off", …)
    std::u16string valuePrompt;  // -LAYER and CHANGE: the prompt of a value the stand-in takes as given
    std::u16string value;
    std::u16string genericPrompt;
    std::u16string objectType;  // -RENAME: another object type than layers
    std::vector<std::u16string> mergeLayers;
    std::u16string mergeTarget;
    // A script that SCRIPT has read and the command line is to play; the interpreter takes it.
    std::u16string script;

    // Back to no command in progress; what is kept between commands stays.
    void reset();
};

// The result of an action: accepted (go to the row's next step, or to redirect) or refused (the message
// and the same prompt again). message may hold several lines separated by "\n".
struct Outcome {
    bool accepted = true;
    std::string message;
    std::optional<Step> redirect;
    // The message says that the input was not what the prompt takes (refusals always are).
    bool complaint = false;
};

using Action = Outcome (*)(CommandContext& context, std::u16string_view input);

// How a row of the command table meets the typed input.
enum class Match {
    Prompt,        // not an input: the step's prompt, which a blank ends as Enter does
    LinePrompt,    // not an input: the step's prompt, which takes a whole line (blanks are characters)
    ObjectPrompt,  // the step's prompt, at which the command waits for objects to be picked
    Command,       // a command name ("_" and "." prefixes allowed), one of the "|"-separated names
    Generic,       // a command of the stand-in's list of named but not modelled commands (genericCommands)
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

// A command AutoCAD LT has (by its name and its aliases in the default alias file) that the stand-in does
// not model: a palette opens and the command ends at once, or the command asks its first prompt and takes
// input until Enter, so that a stray text that starts one shows as the command it starts.
struct GenericCommand {
    const char* names;   // "LINE|L"
    const char* prompt;  // the first prompt; nullptr for a palette that opens and ends the command
};
std::span<const GenericCommand> genericCommands();
const GenericCommand* findGenericCommand(std::u16string_view input);

// Whether the typed input meets the row (for Command, Generic, Keyword, Empty, Text, Any).
bool matches(const Row& row, std::u16string_view input);

// Whether the typed input (its "_" prefix allowed) meets one keyword, by the rule of the Keyword rows.
bool keywordIs(std::u16string_view input, std::u16string_view keyword);

// The name under which a command row that the input meets is known: its first name ("MOVE" for "m").
std::u16string commandNameOf(const Row& row, std::u16string_view input);

}  // namespace cadsim

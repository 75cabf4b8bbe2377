#include "cadsim/core/command_table.h"

#include <array>

#include "cadsim/core/command_actions.h"
#include "cadsim/core/text.h"
#include "common/utf.h"

namespace cadsim {

void CommandContext::reset() {
    selection.clear();
    groupName.clear();
    description.clear();
    lineType.clear();
    color = 0;
    base = {};
    oldLayer.clear();
}

namespace {

using enum Step;
using M = Match;
namespace a = actions;

// Prompt texts may name what the command has gathered: {ltype}, {color}, {current} (the current layer),
// {selected} (the layer of the selected objects).
// clang-format off
constexpr std::array kTable = std::to_array<Row>({
    // step                  match             text / names / keywords                 action               next
    {Idle,                   M::Prompt,        "Command:",                             nullptr,             Idle},
    {Idle,                   M::Command,       "-LAYER|-LA",                           nullptr,             LayerOption},
    {Idle,                   M::Command,       "-GROUP|-G",                            nullptr,             GroupOption},
    {Idle,                   M::Command,       "MOVE|M",                               nullptr,             MoveObjects},
    {Idle,                   M::Command,       "CHANGE|-CH",                           nullptr,             ChangeObjects},
    {Idle,                   M::Command,       "-RENAME|-REN",                         nullptr,             RenameType},
    {Idle,                   M::Command,       "SCRIPT|SCR",                           nullptr,             ScriptFile},
    {Idle,                   M::Empty,         "",                                     nullptr,             Idle},
    {Idle,                   M::Otherwise,     "Unknown command \"{input}\".  Press F1 for help.", nullptr, Idle},

    // -LAYER
    {LayerOption,            M::Prompt,        "Enter an option [?/New/Ltype/Color]:", nullptr,             Idle},
    {LayerOption,            M::Keyword,       "?",                                    a::listLayers,       LayerOption},
    {LayerOption,            M::Keyword,       "New",                                  nullptr,             LayerNew},
    {LayerOption,            M::Keyword,       "Ltype",                                nullptr,             LayerLtypeName},
    {LayerOption,            M::Keyword,       "Color",                                nullptr,             LayerColorNumber},
    {LayerOption,            M::Empty,         "",                                     nullptr,             Idle},
    {LayerOption,            M::Otherwise,     "Invalid option keyword.",              nullptr,             LayerOption},
    {LayerNew,               M::Prompt,        "Enter name list for new layer(s):",    nullptr,             Idle},
    {LayerNew,               M::Any,           "",                                     a::createLayers,     LayerOption},
    {LayerLtypeName,         M::Prompt,        "Enter a loaded linetype name or [?] <Continuous>:", nullptr, Idle},
    {LayerLtypeName,         M::Keyword,       "?",                                    a::listLineTypes,    LayerLtypeName},
    {LayerLtypeName,         M::Empty,         "",                                     a::chooseContinuous, LayerLtypeLayers},
    {LayerLtypeName,         M::Text,          "",                                     a::chooseLineType,   LayerLtypeLayers},
    {LayerLtypeLayers,       M::Prompt,        "Enter name list of layer(s) for linetype \"{ltype}\" <{current}>:", nullptr, Idle},
    {LayerLtypeLayers,       M::Any,           "",                                     a::applyLineType,    LayerOption},
    {LayerColorNumber,       M::Prompt,        "Enter color name or number (1-255):",  nullptr,             Idle},
    {LayerColorNumber,       M::Text,          "",                                     a::chooseColor,      LayerColorLayers},
    {LayerColorNumber,       M::Otherwise,     "Requires an integer between 1 and 255, or a color name.", nullptr, LayerColorNumber},
    {LayerColorLayers,       M::Prompt,        "Enter name list of layer(s) for color {color} <{current}>:", nullptr, Idle},
    {LayerColorLayers,       M::Any,           "",                                     a::applyColor,       LayerOption},

    // -GROUP
    {GroupOption,            M::Prompt,        "Enter a group option [?/Create/Ungroup/Explode] <Create>:", nullptr, Idle},
    {GroupOption,            M::Keyword,       "?",                                    a::listGroups,       Idle},
    {GroupOption,            M::Keyword,       "Create",                               nullptr,             GroupCreateName},
    {GroupOption,            M::Keyword,       "Ungroup|Explode",                      nullptr,             GroupUngroupName},
    {GroupOption,            M::Empty,         "",                                     nullptr,             GroupCreateName},
    {GroupOption,            M::Otherwise,     "Invalid option keyword.",              nullptr,             GroupOption},
    {GroupCreateName,        M::Prompt,        "Enter a group name or [?]:",           nullptr,             Idle},
    {GroupCreateName,        M::Keyword,       "?",                                    a::listGroups,       GroupCreateName},
    {GroupCreateName,        M::Text,          "",                                     a::chooseNewGroupName, GroupCreateDescription},
    {GroupCreateName,        M::Otherwise,     "Requires a group name.",               nullptr,             GroupCreateName},
    {GroupCreateDescription, M::Prompt,        "Enter a group description:",           nullptr,             Idle},
    {GroupCreateDescription, M::Any,           "",                                     a::storeDescription, GroupCreateObjects},
    {GroupCreateObjects,     M::ObjectPrompt,  "Select objects:",                      nullptr,             Idle},
    {GroupCreateObjects,     M::Empty,         "",                                     a::createGroup,      Idle},
    {GroupCreateObjects,     M::Keyword,       "Group",                                nullptr,             GroupCreateGroupName},
    {GroupCreateObjects,     M::Keyword,       "ALL",                                  a::selectAll,        GroupCreateObjects},
    {GroupCreateObjects,     M::Otherwise,     "*Invalid selection*\nExpects a point or ALL/Group", nullptr, GroupCreateObjects},
    {GroupCreateGroupName,   M::Prompt,        "Enter group name:",                    nullptr,             Idle},
    {GroupCreateGroupName,   M::Empty,         "",                                     nullptr,             GroupCreateObjects},
    {GroupCreateGroupName,   M::Text,          "",                                     a::selectGroup,      GroupCreateObjects},
    {GroupUngroupName,       M::Prompt,        "Enter a group name or [?]:",           nullptr,             Idle},
    {GroupUngroupName,       M::Keyword,       "?",                                    a::listGroups,       GroupUngroupName},
    {GroupUngroupName,       M::Text,          "",                                     a::ungroup,          Idle},
    {GroupUngroupName,       M::Otherwise,     "Requires a group name.",               nullptr,             GroupUngroupName},

    // MOVE
    {MoveObjects,            M::ObjectPrompt,  "Select objects:",                      nullptr,             Idle},
    {MoveObjects,            M::Empty,         "",                                     a::endMoveSelection, MoveBase},
    {MoveObjects,            M::Keyword,       "Group",                                nullptr,             MoveGroupName},
    {MoveObjects,            M::Keyword,       "ALL",                                  a::selectAll,        MoveObjects},
    {MoveObjects,            M::Otherwise,     "*Invalid selection*\nExpects a point or ALL/Group", nullptr, MoveObjects},
    {MoveGroupName,          M::Prompt,        "Enter group name:",                    nullptr,             Idle},
    {MoveGroupName,          M::Empty,         "",                                     nullptr,             MoveObjects},
    {MoveGroupName,          M::Text,          "",                                     a::selectGroup,      MoveObjects},
    {MoveBase,               M::Prompt,        "Specify base point:",                  nullptr,             Idle},
    {MoveBase,               M::Text,          "",                                     a::basePoint,        MoveSecond},
    {MoveBase,               M::Otherwise,     "Point or option keyword required.",    nullptr,             MoveBase},
    {MoveSecond,             M::Prompt,        "Specify second point or <use first point as displacement>:", nullptr, Idle},
    {MoveSecond,             M::Empty,         "",                                     a::moveByFirstPoint, Idle},
    {MoveSecond,             M::Text,          "",                                     a::moveToSecondPoint, Idle},

    // CHANGE
    {ChangeObjects,          M::ObjectPrompt,  "Select objects:",                      nullptr,             Idle},
    {ChangeObjects,          M::Empty,         "",                                     a::endChangeSelection, ChangePoint},
    {ChangeObjects,          M::Keyword,       "Group",                                nullptr,             ChangeGroupName},
    {ChangeObjects,          M::Keyword,       "ALL",                                  a::selectAll,        ChangeObjects},
    {ChangeObjects,          M::Otherwise,     "*Invalid selection*\nExpects a point or ALL/Group", nullptr, ChangeObjects},
    {ChangeGroupName,        M::Prompt,        "Enter group name:",                    nullptr,             Idle},
    {ChangeGroupName,        M::Empty,         "",                                     nullptr,             ChangeObjects},
    {ChangeGroupName,        M::Text,          "",                                     a::selectGroup,      ChangeObjects},
    {ChangePoint,            M::Prompt,        "Specify change point or [Properties]:", nullptr,            Idle},
    {ChangePoint,            M::Keyword,       "Properties",                           nullptr,             ChangeProperty},
    {ChangePoint,            M::Empty,         "",                                     nullptr,             Idle},
    {ChangePoint,            M::Otherwise,     "Point or option keyword required.",    nullptr,             ChangePoint},
    {ChangeProperty,         M::Prompt,        "Enter property to change [LAyer]:",    nullptr,             Idle},
    {ChangeProperty,         M::Keyword,       "LAyer",                                nullptr,             ChangeLayer},
    {ChangeProperty,         M::Empty,         "",                                     nullptr,             Idle},
    {ChangeProperty,         M::Otherwise,     "Invalid option keyword.",              nullptr,             ChangeProperty},
    {ChangeLayer,            M::Prompt,        "Enter new layer name <{selected}>:",    nullptr,             Idle},
    {ChangeLayer,            M::Empty,         "",                                     nullptr,             ChangeProperty},
    {ChangeLayer,            M::Text,          "",                                     a::changeLayer,      ChangeProperty},

    // -RENAME
    {RenameType,             M::Prompt,        "Enter object type to rename [LAyer]:", nullptr,             Idle},
    {RenameType,             M::Keyword,       "LAyer",                                nullptr,             RenameOld},
    {RenameType,             M::Otherwise,     "Invalid option keyword.",              nullptr,             RenameType},
    {RenameOld,              M::Prompt,        "Enter old layer name:",                nullptr,             Idle},
    {RenameOld,              M::Text,          "",                                     a::chooseOldLayer,   RenameNew},
    {RenameOld,              M::Otherwise,     "Requires a layer name.",               nullptr,             RenameOld},
    {RenameNew,              M::Prompt,        "Enter new layer name:",                nullptr,             Idle},
    {RenameNew,              M::Text,          "",                                     a::renameLayer,      Idle},
    {RenameNew,              M::Otherwise,     "Requires a layer name.",               nullptr,             RenameNew},

    // SCRIPT
    {ScriptFile,             M::Prompt,        "Enter script file name:",              nullptr,             Idle},
    {ScriptFile,             M::Text,          "",                                     a::readScript,       Idle},
    {ScriptFile,             M::Empty,         "",                                     nullptr,             Idle},
});
// clang-format on

// The names of a "|"-separated list, upper-cased.
std::vector<std::u16string> alternatives(const char* text) {
    std::vector<std::u16string> out;
    const std::u16string all = upper(tiermark::fromUtf8(text));
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t bar = all.find(u'|', start);
        if (bar == std::u16string::npos) {
            bar = all.size();
        }
        out.push_back(all.substr(start, bar - start));
        start = bar + 1;
    }
    return out;
}

// A command name as typed without its "_" (untranslated) and "." (built-in) prefixes; a "-" among them
// stays in front: "_-layer" and "-_LAYER" both give "-LAYER".
std::u16string bareCommand(std::u16string_view input) {
    bool dash = false;
    std::size_t i = 0;
    while (i < input.size() && (input[i] == u'_' || input[i] == u'.' || input[i] == u'-')) {
        dash = dash || input[i] == u'-';
        ++i;
    }
    return (dash ? u"-" : u"") + upper(input.substr(i));
}

// A keyword "LType" is met by "LT", "LTY", "LTYP" and "LTYPE": the leading capitals at least, and no more
// than the keyword. A keyword without capitals ("?") must be typed whole.
bool keywordMatches(const std::u16string& keyword, std::u16string_view input) {
    std::size_t required = 0;
    while (required < keyword.size() && !(keyword[required] >= u'a' && keyword[required] <= u'z')) {
        ++required;
    }
    const std::u16string typed = upper(input);
    const std::u16string full = upper(keyword);
    return typed.size() >= std::max<std::size_t>(required, 1) && typed.size() <= full.size() &&
           full.compare(0, typed.size(), typed) == 0;
}

}  // namespace

std::span<const Row> commandTable() {
    return kTable;
}

bool matches(const Row& row, std::u16string_view input) {
    switch (row.match) {
        case Match::Command: {
            const std::u16string name = bareCommand(input);
            for (const std::u16string& candidate : alternatives(row.text)) {
                if (name == candidate) {
                    return true;
                }
            }
            return false;
        }
        case Match::Keyword: {
            std::u16string_view typed = input;
            if (!typed.empty() && typed.front() == u'_') {
                typed.remove_prefix(1);
            }
            const std::u16string keywords = tiermark::fromUtf8(row.text);
            std::size_t start = 0;
            while (start <= keywords.size()) {
                std::size_t bar = keywords.find(u'|', start);
                if (bar == std::u16string::npos) {
                    bar = keywords.size();
                }
                if (keywordMatches(keywords.substr(start, bar - start), typed)) {
                    return true;
                }
                start = bar + 1;
            }
            return false;
        }
        case Match::Empty:
            return input.empty();
        case Match::Text:
            return !input.empty();
        case Match::Any:
            return true;
        case Match::Prompt:
        case Match::ObjectPrompt:
        case Match::Otherwise:
            return false;
    }
    return false;
}

}  // namespace cadsim

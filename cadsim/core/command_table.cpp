#include "cadsim/core/command_table.h"

#include <array>

#include "cadsim/core/command_actions.h"

namespace cadsim {

void CommandContext::reset() {
    commandName.clear();
    selection.clear();
    selectionSteps.clear();
    removing = false;
    box = Box::Implied;
    corner = {};
    afterSelection = Step::Idle;
    onSelected = Selected::None;
    groupName.clear();
    description.clear();
    lineType.clear();
    color = 0;
    base = {};
    oldLayer.clear();
    verb.clear();
    valuePrompt.clear();
    value.clear();
    genericPrompt.clear();
    objectType.clear();
    mergeLayers.clear();
    mergeTarget.clear();
}

namespace {

using enum Step;
using M = Match;
namespace a = actions;

// Prompt texts may name what the command has gathered: {ltype}, {color}, {current} (the current layer),
// {selected} (the layer of the selected objects), {select} ("Select" or "Remove"), {generic} (a generic
// command's prompt), {verb}, {valueprompt}, {value}, {type}, {groupstate}.
// The prompts, option lists and messages follow AutoCAD LT's command reference (see cadsim/README.md for
// each command's page); where the reference gives no wording, the wording is the stand-in's.
// clang-format off
constexpr std::array kTable = std::to_array<Row>({
    // step                  match             text / names / keywords                 action               next
    {Idle,                   M::Prompt,        "Command:",                             nullptr,             Idle},
    {Idle,                   M::Command,       "-LAYER|-LA",                           nullptr,             LayerOption},
    {Idle,                   M::Command,       "-GROUP|-G",                            nullptr,             GroupOption},
    {Idle,                   M::Command,       "GROUP|G",                              a::startQuickGroup,  SelectObjects},
    {Idle,                   M::Command,       "SELECT",                               a::startSelect,      SelectObjects},
    {Idle,                   M::Command,       "MOVE|M",                               a::startMove,        SelectObjects},
    {Idle,                   M::Command,       "COPY|CO|CP",                           a::startCopy,        SelectObjects},
    {Idle,                   M::Command,       "ERASE|E",                              a::startErase,       SelectObjects},
    {Idle,                   M::Command,       "CHANGE|-CH",                           a::startChange,      SelectObjects},
    {Idle,                   M::Command,       "-RENAME|-REN",                         nullptr,             RenameType},
    {Idle,                   M::Command,       "-LAYMRG",                              nullptr,             MergeSource},
    {Idle,                   M::Command,       "U",                                    a::undo,             Idle},
    {Idle,                   M::Command,       "REDRAW|R|REDRAWALL|RA|REGEN|RE|REGENALL|REA", nullptr,    Idle},
    {Idle,                   M::Command,       "PAN|P",                                nullptr,             PanRealtime},
    {Idle,                   M::Command,       "ZOOM|Z",                               nullptr,             ZoomOption},
    {Idle,                   M::Command,       "SCRIPT|SCR",                           nullptr,             ScriptFile},
    {Idle,                   M::Generic,       "",                                     a::startGeneric,     GenericInput},
    {Idle,                   M::Empty,         "",                                     nullptr,             Idle},
    {Idle,                   M::Otherwise,     "Unknown command \"{input}\".  Press F1 for help.", nullptr, Idle},

    // Object selection (SELECT): the command that selects says where Enter leads.
    {SelectObjects,          M::ObjectPrompt,  "{select} objects:",                    nullptr,             Idle},
    {SelectObjects,          M::Empty,         "",                                     a::finishSelection,  Idle},
    {SelectObjects,          M::Keyword,       "Window",                               a::windowBox,        SelectFirstCorner},
    {SelectObjects,          M::Keyword,       "Last",                                 a::selectLast,       SelectObjects},
    {SelectObjects,          M::Keyword,       "Crossing",                             a::crossingBox,      SelectFirstCorner},
    {SelectObjects,          M::Keyword,       "BOX",                                  a::impliedBox,       SelectFirstCorner},
    {SelectObjects,          M::Keyword,       "ALL",                                  a::selectAll,        SelectObjects},
    {SelectObjects,          M::Keyword,       "Fence|WPolygon|CPolygon",              nullptr,             SelectPolygon},
    {SelectObjects,          M::Keyword,       "Group",                                nullptr,             SelectGroupName},
    {SelectObjects,          M::Keyword,       "Add",                                  a::addMode,          SelectObjects},
    {SelectObjects,          M::Keyword,       "Remove",                               a::removeMode,       SelectObjects},
    {SelectObjects,          M::Keyword,       "Previous",                             a::selectPrevious,   SelectObjects},
    {SelectObjects,          M::Keyword,       "Undo",                                 a::undoSelection,    SelectObjects},
    {SelectObjects,          M::Keyword,       "Multiple|AUto|SIngle|SUbobject|Object", nullptr,            SelectObjects},
    {SelectObjects,          M::Text,          "",                                     a::selectAtPoint,    SelectObjects},
    {SelectGroupName,        M::Prompt,        "Enter group name:",                    nullptr,             Idle},
    {SelectGroupName,        M::Empty,         "",                                     nullptr,             SelectObjects},
    {SelectGroupName,        M::Text,          "",                                     a::selectGroup,      SelectObjects},
    {SelectFirstCorner,      M::Prompt,        "Specify first corner:",                nullptr,             Idle},
    {SelectFirstCorner,      M::Text,          "",                                     a::firstCorner,      SelectOtherCorner},
    {SelectFirstCorner,      M::Otherwise,     "Point or option keyword required.",    nullptr,             SelectFirstCorner},
    {SelectOtherCorner,      M::Prompt,        "Specify opposite corner:",             nullptr,             Idle},
    {SelectOtherCorner,      M::Text,          "",                                     a::otherCorner,      SelectObjects},
    {SelectOtherCorner,      M::Otherwise,     "Point or option keyword required.",    nullptr,             SelectOtherCorner},
    {SelectPolygon,          M::Prompt,        "Specify endpoint of line or [Undo]:",  nullptr,             Idle},
    {SelectPolygon,          M::Empty,         "",                                     a::polygonEnd,       SelectObjects},
    {SelectPolygon,          M::Keyword,       "Undo",                                 nullptr,             SelectPolygon},
    {SelectPolygon,          M::Text,          "",                                     a::polygonPoint,     SelectPolygon},

    // Commands named but not modelled.
    {GenericInput,           M::Prompt,        "{generic}",                            nullptr,             Idle},
    {GenericInput,           M::Empty,         "",                                     nullptr,             Idle},
    {GenericInput,           M::Text,          "",                                     nullptr,             GenericInput},

    // -LAYER
    {LayerOption,            M::Prompt,        "Enter an option [?/Make/Set/New/Rename/ON/OFF/Color/Ltype/LWeight/TRansparency/Plot/Freeze/Thaw/LOck/Unlock/stAte/Description/rEconcile]:", nullptr, Idle},
    {LayerOption,            M::Keyword,       "?",                                    nullptr,             LayerList},
    {LayerOption,            M::Keyword,       "Make",                                 nullptr,             LayerMake},
    {LayerOption,            M::Keyword,       "Set",                                  nullptr,             LayerSet},
    {LayerOption,            M::Keyword,       "New",                                  nullptr,             LayerNew},
    {LayerOption,            M::Keyword,       "Rename",                               nullptr,             LayerRenameOld},
    {LayerOption,            M::Keyword,       "ON|OFF|Freeze|Thaw|LOck|Unlock",       a::chooseLayerState, LayerStateList},
    {LayerOption,            M::Keyword,       "Color",                                nullptr,             LayerColorNumber},
    {LayerOption,            M::Keyword,       "Ltype",                                nullptr,             LayerLtypeName},
    {LayerOption,            M::Keyword,       "LWeight|TRansparency|Plot",            a::chooseLayerValue, LayerValue},
    {LayerOption,            M::Keyword,       "Description",                          nullptr,             LayerDescription},
    {LayerOption,            M::Keyword,       "stAte|rEconcile",                      a::chooseLayerSubOption, LayerSubOption},
    {LayerOption,            M::Empty,         "",                                     nullptr,             Idle},
    {LayerOption,            M::Otherwise,     "Invalid option keyword.",              nullptr,             LayerOption},
    {LayerList,              M::Prompt,        "Enter layer name(s) to list <*>:",     nullptr,             Idle},
    {LayerList,              M::Any,           "",                                     a::listLayers,       LayerOption},
    {LayerMake,              M::Prompt,        "Enter name for new layer (becomes the current layer) <{current}>:", nullptr, Idle},
    {LayerMake,              M::Empty,         "",                                     nullptr,             LayerOption},
    {LayerMake,              M::Text,          "",                                     a::makeLayer,        LayerOption},
    {LayerSet,               M::Prompt,        "Enter layer name to make current or <select object>:", nullptr, Idle},
    {LayerSet,               M::Empty,         "",                                     nullptr,             LayerOption},
    {LayerSet,               M::Text,          "",                                     a::setCurrentLayer,  LayerOption},
    {LayerNew,               M::Prompt,        "Enter name list for new layer(s):",    nullptr,             Idle},
    {LayerNew,               M::Any,           "",                                     a::createLayers,     LayerOption},
    {LayerRenameOld,         M::Prompt,        "Enter old layer name:",                nullptr,             Idle},
    {LayerRenameOld,         M::Empty,         "",                                     nullptr,             LayerOption},
    {LayerRenameOld,         M::Text,          "",                                     a::chooseOldLayer,   LayerRenameNew},
    {LayerRenameNew,         M::Prompt,        "Enter new layer name:",                nullptr,             Idle},
    {LayerRenameNew,         M::Empty,         "",                                     nullptr,             LayerOption},
    {LayerRenameNew,         M::Text,          "",                                     a::renameLayer,      LayerOption},
    {LayerStateList,         M::Prompt,        "Enter name list of layer(s) to {verb}:", nullptr,           Idle},
    {LayerStateList,         M::Any,           "",                                     a::applyLayerState,  LayerOption},
    {LayerValue,             M::Prompt,        "{valueprompt}",                        nullptr,             Idle},
    {LayerValue,             M::Empty,         "",                                     nullptr,             LayerOption},
    {LayerValue,             M::Text,          "",                                     a::storeValue,       LayerValueList},
    {LayerDescription,       M::LinePrompt,    "Enter layer description:",             nullptr,             Idle},
    {LayerDescription,       M::Any,           "",                                     a::storeDescriptionValue, LayerValueList},
    {LayerValueList,         M::Prompt,        "Enter name list of layer(s) for {verb} <{current}>:", nullptr, Idle},
    {LayerValueList,         M::Any,           "",                                     nullptr,             LayerOption},
    {LayerSubOption,         M::Prompt,        "{valueprompt}",                        nullptr,             Idle},
    {LayerSubOption,         M::Empty,         "",                                     nullptr,             LayerOption},
    {LayerSubOption,         M::Text,          "",                                     nullptr,             LayerSubOption},
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

    // -GROUP (Order is not available in AutoCAD LT)
    {GroupOption,            M::Prompt,        "Enter a group option [?/Add/Remove/Explode/REName/Selectable/Create] <Create>:", nullptr, Idle},
    {GroupOption,            M::Keyword,       "?",                                    nullptr,             GroupList},
    {GroupOption,            M::Keyword,       "Add",                                  a::chooseGroupAdd,   GroupMemberName},
    {GroupOption,            M::Keyword,       "Remove",                               a::chooseGroupRemove, GroupMemberName},
    {GroupOption,            M::Keyword,       "Explode",                              nullptr,             GroupExplodeName},
    {GroupOption,            M::Keyword,       "REName",                               nullptr,             GroupRenameOld},
    {GroupOption,            M::Keyword,       "Selectable",                           nullptr,             GroupSelectableName},
    {GroupOption,            M::Keyword,       "Create",                               nullptr,             GroupCreateName},
    {GroupOption,            M::Empty,         "",                                     nullptr,             GroupCreateName},
    {GroupOption,            M::Otherwise,     "Invalid option keyword.",              nullptr,             GroupOption},
    {GroupList,              M::Prompt,        "Enter group name(s) to list <*>:",     nullptr,             Idle},
    {GroupList,              M::Any,           "",                                     a::listGroups,       Idle},
    {GroupCreateName,        M::Prompt,        "Enter a group name or [?]:",           nullptr,             Idle},
    {GroupCreateName,        M::Keyword,       "?",                                    a::listGroups,       GroupCreateName},
    {GroupCreateName,        M::Text,          "",                                     a::chooseNewGroupName, GroupCreateDescription},
    {GroupCreateName,        M::Otherwise,     "Requires a group name.",               nullptr,             GroupCreateName},
    {GroupCreateDescription, M::LinePrompt,    "Enter a group description:",           nullptr,             Idle},
    {GroupCreateDescription, M::Any,           "",                                     a::storeDescription, SelectObjects},
    {GroupMemberName,        M::Prompt,        "Enter a group name or [?]:",           nullptr,             Idle},
    {GroupMemberName,        M::Keyword,       "?",                                    a::listGroups,       GroupMemberName},
    {GroupMemberName,        M::Text,          "",                                     a::chooseGroupForMembers, SelectObjects},
    {GroupMemberName,        M::Otherwise,     "Requires a group name.",               nullptr,             GroupMemberName},
    {GroupExplodeName,       M::Prompt,        "Enter a group name or [?]:",           nullptr,             Idle},
    {GroupExplodeName,       M::Keyword,       "?",                                    a::listGroups,       GroupExplodeName},
    {GroupExplodeName,       M::Text,          "",                                     a::explodeGroup,     Idle},
    {GroupExplodeName,       M::Otherwise,     "Requires a group name.",               nullptr,             GroupExplodeName},
    {GroupRenameOld,         M::Prompt,        "Enter a group name to rename or [?]:", nullptr,             Idle},
    {GroupRenameOld,         M::Keyword,       "?",                                    a::listGroups,       GroupRenameOld},
    {GroupRenameOld,         M::Text,          "",                                     a::chooseGroupToRename, GroupRenameNew},
    {GroupRenameOld,         M::Otherwise,     "Requires a group name.",               nullptr,             GroupRenameOld},
    {GroupRenameNew,         M::Prompt,        "Enter a new name for group or [?]:",   nullptr,             Idle},
    {GroupRenameNew,         M::Keyword,       "?",                                    a::listGroups,       GroupRenameNew},
    {GroupRenameNew,         M::Text,          "",                                     a::renameGroup,      Idle},
    {GroupRenameNew,         M::Otherwise,     "Requires a group name.",               nullptr,             GroupRenameNew},
    {GroupSelectableName,    M::Prompt,        "Enter a group name or [?]:",           nullptr,             Idle},
    {GroupSelectableName,    M::Keyword,       "?",                                    a::listGroups,       GroupSelectableName},
    {GroupSelectableName,    M::Text,          "",                                     a::chooseGroupSelectable, GroupSelectableAnswer},
    {GroupSelectableName,    M::Otherwise,     "Requires a group name.",               nullptr,             GroupSelectableName},
    {GroupSelectableAnswer,  M::Prompt,        "This group is {groupstate}. Do you want to change it [Yes/No] <Yes>:", nullptr, Idle},
    {GroupSelectableAnswer,  M::Keyword,       "Yes",                                  a::toggleGroupSelectable, Idle},
    {GroupSelectableAnswer,  M::Empty,         "",                                     a::toggleGroupSelectable, Idle},
    {GroupSelectableAnswer,  M::Keyword,       "No",                                   nullptr,             Idle},
    {GroupSelectableAnswer,  M::Otherwise,     "Invalid option keyword.",              nullptr,             GroupSelectableAnswer},

    // MOVE
    {MoveBase,               M::Prompt,        "Specify base point or [Displacement] <Displacement>:", nullptr, Idle},
    {MoveBase,               M::Keyword,       "Displacement",                         nullptr,             MoveDisplacement},
    {MoveBase,               M::Empty,         "",                                     nullptr,             MoveDisplacement},
    {MoveBase,               M::Text,          "",                                     a::basePoint,        MoveSecond},
    {MoveSecond,             M::Prompt,        "Specify second point or <use first point as displacement>:", nullptr, Idle},
    {MoveSecond,             M::Empty,         "",                                     a::moveByFirstPoint, Idle},
    {MoveSecond,             M::Text,          "",                                     a::moveToSecondPoint, Idle},
    {MoveDisplacement,       M::Prompt,        "Specify displacement <0.0000, 0.0000, 0.0000>:", nullptr,   Idle},
    {MoveDisplacement,       M::Empty,         "",                                     nullptr,             Idle},
    {MoveDisplacement,       M::Text,          "",                                     a::moveByDisplacement, Idle},

    // COPY
    {CopyBase,               M::Prompt,        "Specify base point or [Displacement/mOde] <Displacement>:", nullptr, Idle},
    {CopyBase,               M::Keyword,       "Displacement",                         nullptr,             MoveDisplacement},
    {CopyBase,               M::Keyword,       "mOde",                                 nullptr,             CopyBase},
    {CopyBase,               M::Empty,         "",                                     nullptr,             MoveDisplacement},
    {CopyBase,               M::Text,          "",                                     a::basePoint,        CopySecond},
    {CopySecond,             M::Prompt,        "Specify second point or [Array] <use first point as displacement>:", nullptr, Idle},
    {CopySecond,             M::Empty,         "",                                     a::copyByFirstPoint, Idle},
    {CopySecond,             M::Keyword,       "Array",                                nullptr,             CopySecond},
    {CopySecond,             M::Text,          "",                                     a::copyToSecondPoint, CopyNext},
    {CopyNext,               M::Prompt,        "Specify second point or [Array/Exit/Undo] <Exit>:", nullptr, Idle},
    {CopyNext,               M::Empty,         "",                                     nullptr,             Idle},
    {CopyNext,               M::Keyword,       "Exit",                                 nullptr,             Idle},
    {CopyNext,               M::Keyword,       "Array|Undo",                           nullptr,             CopyNext},
    {CopyNext,               M::Text,          "",                                     a::copyToSecondPoint, CopyNext},

    // CHANGE
    {ChangePoint,            M::Prompt,        "Specify change point or [Properties]:", nullptr,            Idle},
    {ChangePoint,            M::Keyword,       "Properties",                           nullptr,             ChangeProperty},
    {ChangePoint,            M::Empty,         "",                                     nullptr,             Idle},
    {ChangePoint,            M::Text,          "",                                     a::changePoint,      Idle},
    {ChangeProperty,         M::Prompt,        "Enter property to change [Color/Elev/LAyer/LType/ltScale/LWeight/Thickness/TRansparency]:", nullptr, Idle},
    {ChangeProperty,         M::Keyword,       "LAyer",                                nullptr,             ChangeLayer},
    {ChangeProperty,         M::Keyword,       "Color",                                nullptr,             ChangeColor},
    {ChangeProperty,         M::Keyword,       "LType",                                nullptr,             ChangeLtype},
    {ChangeProperty,         M::Keyword,       "Elev|ltScale|LWeight|Thickness|TRansparency", a::chooseChangeValue, ChangeValue},
    {ChangeProperty,         M::Empty,         "",                                     nullptr,             Idle},
    {ChangeProperty,         M::Otherwise,     "Invalid option keyword.",              nullptr,             ChangeProperty},
    {ChangeLayer,            M::Prompt,        "Enter new layer name <{selected}>:",   nullptr,             Idle},
    {ChangeLayer,            M::Empty,         "",                                     nullptr,             ChangeProperty},
    {ChangeLayer,            M::Text,          "",                                     a::changeLayer,      ChangeProperty},
    {ChangeColor,            M::Prompt,        "Enter new color [Truecolor/COlorbook] <BYLAYER>:", nullptr, Idle},
    {ChangeColor,            M::Empty,         "",                                     nullptr,             ChangeProperty},
    {ChangeColor,            M::Text,          "",                                     a::changeColor,      ChangeProperty},
    {ChangeLtype,            M::Prompt,        "Enter new linetype name <ByLayer>:",   nullptr,             Idle},
    {ChangeLtype,            M::Empty,         "",                                     nullptr,             ChangeProperty},
    {ChangeLtype,            M::Text,          "",                                     a::changeLineType,   ChangeProperty},
    {ChangeValue,            M::Prompt,        "{valueprompt}",                        nullptr,             Idle},
    {ChangeValue,            M::Empty,         "",                                     nullptr,             ChangeProperty},
    {ChangeValue,            M::Text,          "",                                     nullptr,             ChangeProperty},

    // -RENAME
    {RenameType,             M::Prompt,        "Enter object type to rename [Block/Dimstyle/LAyer/LType/multileadeRstyle/Plotstyle/textStyle/Tablestyle/Ucs/VIew/VPort]:", nullptr, Idle},
    {RenameType,             M::Keyword,       "LAyer",                                nullptr,             RenameOld},
    {RenameType,             M::Keyword,       "Block|Dimstyle|LType|multileadeRstyle|Plotstyle|textStyle|Tablestyle|Ucs|VIew|VPort", a::chooseObjectType, RenameOtherOld},
    {RenameType,             M::Otherwise,     "Invalid option keyword.",              nullptr,             RenameType},
    {RenameOld,              M::Prompt,        "Enter old layer name:",                nullptr,             Idle},
    {RenameOld,              M::Text,          "",                                     a::chooseOldLayer,   RenameNew},
    {RenameOld,              M::Otherwise,     "Requires a layer name.",               nullptr,             RenameOld},
    {RenameNew,              M::Prompt,        "Enter new layer name:",                nullptr,             Idle},
    {RenameNew,              M::Text,          "",                                     a::renameLayer,      Idle},
    {RenameNew,              M::Otherwise,     "Requires a layer name.",               nullptr,             RenameNew},
    {RenameOtherOld,         M::Prompt,        "Enter old {type} name:",               nullptr,             Idle},
    {RenameOtherOld,         M::Text,          "",                                     a::refuseOtherObject, RenameOtherOld},
    {RenameOtherOld,         M::Otherwise,     "Requires a name.",                     nullptr,             RenameOtherOld},

    // -LAYMRG
    {MergeSource,            M::Prompt,        "Select object on layer to merge or [Name]:", nullptr,       Idle},
    {MergeSource,            M::Keyword,       "Name",                                 nullptr,             MergeSourceName},
    {MergeSource,            M::Keyword,       "Undo",                                 a::undoMergeSource,  MergeSource},
    {MergeSource,            M::Empty,         "",                                     a::endMergeSources,  MergeTarget},
    {MergeSource,            M::Text,          "",                                     a::mergeSourceAtPoint, MergeSource},
    {MergeSourceName,        M::Prompt,        "Enter layer name to merge or [?]:",    nullptr,             Idle},
    {MergeSourceName,        M::Keyword,       "?",                                    a::listLayers,       MergeSourceName},
    {MergeSourceName,        M::Empty,         "",                                     nullptr,             MergeSource},
    {MergeSourceName,        M::Text,          "",                                     a::mergeSourceByName, MergeSource},
    {MergeTarget,            M::Prompt,        "Select object on target layer or [Name]:", nullptr,         Idle},
    {MergeTarget,            M::Keyword,       "Name",                                 nullptr,             MergeTargetName},
    {MergeTarget,            M::Empty,         "",                                     nullptr,             Idle},
    {MergeTarget,            M::Text,          "",                                     a::mergeTargetAtPoint, MergeConfirm},
    {MergeTargetName,        M::Prompt,        "Enter target layer name or [?]:",      nullptr,             Idle},
    {MergeTargetName,        M::Keyword,       "?",                                    a::listLayers,       MergeTargetName},
    {MergeTargetName,        M::Empty,         "",                                     nullptr,             MergeTarget},
    {MergeTargetName,        M::Text,          "",                                     a::mergeTargetByName, MergeConfirm},
    {MergeConfirm,           M::Prompt,        "Do you wish to continue? [Yes/No] <No>:", nullptr,          Idle},
    {MergeConfirm,           M::Keyword,       "Yes",                                  a::mergeLayers,      Idle},
    {MergeConfirm,           M::Keyword,       "No",                                   nullptr,             Idle},
    {MergeConfirm,           M::Empty,         "",                                     nullptr,             Idle},
    {MergeConfirm,           M::Otherwise,     "Invalid option keyword.",              nullptr,             MergeConfirm},

    // PAN (real time) and ZOOM
    {PanRealtime,            M::Prompt,        "Press ESC or ENTER to exit, or right-click to display shortcut menu.", nullptr, Idle},
    {PanRealtime,            M::Empty,         "",                                     nullptr,             Idle},
    {PanRealtime,            M::Text,          "",                                     nullptr,             PanRealtime},
    {ZoomOption,             M::Prompt,        "Specify corner of window, enter a scale factor (nX or nXP), or [All/Center/Dynamic/Extents/Previous/Scale/Window/Object] <real time>:", nullptr, Idle},
    {ZoomOption,             M::Keyword,       "All|Dynamic|Extents|Previous",         nullptr,             Idle},
    {ZoomOption,             M::Keyword,       "Center|Scale|Window|Object",           a::chooseZoomValue,  ZoomValue},
    {ZoomOption,             M::Empty,         "",                                     nullptr,             PanRealtime},
    {ZoomOption,             M::Text,          "",                                     a::zoomCornerOrScale, Idle},
    {ZoomCorner,             M::Prompt,        "Specify opposite corner:",             nullptr,             Idle},
    {ZoomCorner,             M::Text,          "",                                     nullptr,             Idle},
    {ZoomCorner,             M::Otherwise,     "Point or option keyword required.",    nullptr,             ZoomCorner},
    {ZoomValue,              M::Prompt,        "{valueprompt}",                        nullptr,             Idle},
    {ZoomValue,              M::Any,           "",                                     nullptr,             Idle},

    // SCRIPT (a file name may hold blanks)
    {ScriptFile,             M::LinePrompt,    "Enter script file name:",              nullptr,             Idle},
    {ScriptFile,             M::Text,          "",                                     a::readScript,       Idle},
    {ScriptFile,             M::Empty,         "",                                     nullptr,             Idle},
});

// The commands of AutoCAD LT's default alias file (acadlt.pgp) that the stand-in knows by name only, with
// their first prompt. Palettes (nullptr) open and end the command; a modal dialog box is a command that
// takes what is typed until Enter closes it.
constexpr std::array kGeneric = std::to_array<GenericCommand>({
    {"ARC|A",             "Specify start point of arc or [Center]:"},
    {"AREA|AA",           "Specify first corner point or [Object/Add area/Subtract area] <Object>:"},
    {"ARRAY|AR",          "Select objects:"},
    {"BLOCK|B",           "(the Block Definition dialog box is open)"},
    {"BREAK|BR",          "Select object:"},
    {"CIRCLE|C",          "Specify center point for circle or [3P/2P/Ttr (tan tan radius)]:"},
    {"DIMSTYLE|D",        "(the Dimension Style Manager is open)"},
    {"DIST|DI",           "Specify first point:"},
    {"TEXT|DT",           "Specify start point of text or [Justify/Style]:"},
    {"ELLIPSE|EL",        "Specify axis endpoint of ellipse or [Arc/Center]:"},
    {"EXTEND|EX",         "Select objects or <select all>:"},
    {"EXPLODE|X",         "Select objects:"},
    {"FILLET|F",          "Select first object or [Undo/Polyline/Radius/Trim/Multiple]:"},
    {"HATCH|H|BH",        "Pick internal point or [Select objects/Undo/seTtings]:"},
    {"INSERT|I",          "(the Insert palette is open)"},
    {"JOIN|J",            "Select source object or multiple objects to join at once:"},
    {"LINE|L",            "Specify first point:"},
    {"LIST|LI|LS",        "Select objects:"},
    {"LINETYPE|LT",       "(the Linetype Manager is open)"},
    {"MATCHPROP|MA",      "Select source object:"},
    {"MIRROR|MI",         "Select objects:"},
    {"MTEXT|T|MT",        "Specify first corner:"},
    {"OFFSET|O",          "Specify offset distance or [Through/Erase/Layer] <Through>:"},
    {"OPTIONS|OP",        "(the Options dialog box is open)"},
    {"PEDIT|PE",          "Select polyline or [Multiple]:"},
    {"PLINE|PL",          "Specify start point:"},
    {"POINT|PO",          "Specify a point:"},
    {"RECTANG|REC",       "Specify first corner point or [Chamfer/Elevation/Fillet/Thickness/Width]:"},
    {"ROTATE|RO",         "Select objects:"},
    {"SCALE|SC",          "Select objects:"},
    {"STRETCH|S",         "Select objects to stretch by crossing-window or crossing-polygon..."},
    {"STYLE|ST",          "(the Text Style dialog box is open)"},
    {"TRIM|TR",           "Select objects or <select all>:"},
    {"UNITS|UN",          "(the Drawing Units dialog box is open)"},
    {"VIEW|V",            "(the View Manager is open)"},
    {"WBLOCK|W",          "(the Write Block dialog box is open)"},
    {"XLINE|XL",          "Specify a point or [Hor/Ver/Ang/Bisect/Offset]:"},
    {"LAYER|LA",          nullptr},
    {"PROPERTIES|PR|CH|MO", nullptr},
    {"TOOLPALETTES|TP",   nullptr},
});
// clang-format on

}  // namespace

std::span<const Row> commandTable() {
    return kTable;
}

std::span<const GenericCommand> genericCommands() {
    return kGeneric;
}

}  // namespace cadsim

#include "cadsim/core/command_actions.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cadsim/core/layer_rules.h"
#include "cadsim/core/points.h"
#include "cadsim/core/text.h"
#include "cadsim/core/view.h"
#include "common/codepage.h"
#include "common/numtext.h"
#include "common/utf.h"

namespace cadsim::actions {

namespace {

using Selected = CommandContext::Selected;
using Box = CommandContext::Box;

std::string utf8(std::u16string_view text) {
    return tiermark::toUtf8(text);
}
std::string quotedText(std::u16string_view text) {
    return "\"" + utf8(text) + "\"";
}

Outcome refuse(std::string message) {
    return Outcome{false, std::move(message), std::nullopt, true};
}
Outcome accept(std::string message = {}) {
    return Outcome{true, std::move(message), std::nullopt, false};
}
Outcome acceptTo(Step step, std::string message = {}) {
    return Outcome{true, std::move(message), step, false};
}
// Accepted, but the message says the input did not do what it asked (the prompt goes on elsewhere).
Outcome complainTo(Step step, std::string message) {
    return Outcome{true, std::move(message), step, true};
}

void addLine(std::string& message, const std::string& line) {
    if (!message.empty()) {
        message += "\n";
    }
    message += line;
}

// The layers a name list names (wildcards allowed; empty list: the current layer), and a line for each
// name that names none.
template <typename F>
std::string forLayers(CommandContext& c, std::u16string_view list, F f) {
    std::vector<std::u16string> names = splitNames(list);
    if (names.empty()) {
        names.push_back(c.currentLayer);
    }
    std::string message;
    for (const std::u16string& name : names) {
        std::vector<std::u16string> targets;
        for (const Layer& layer : c.drawing.layers()) {
            if (wildcardMatch(name, layer.name)) {
                targets.push_back(layer.name);
            }
        }
        for (const std::u16string& target : targets) {
            f(target);
        }
        if (targets.empty()) {
            addLine(message, "No matching layer names found for " + quotedText(name) + ".");
        }
    }
    return message;
}

// Adds the objects to the selection, or takes them out of it in Remove mode; "N found" as the command line
// says it.
std::string takeIntoSelection(CommandContext& c, const std::vector<int>& ids) {
    c.selectionSteps.push_back(c.selection.size());
    std::size_t changed = 0;
    for (int id : ids) {
        const auto at = std::find(c.selection.begin(), c.selection.end(), id);
        if (c.removing && at != c.selection.end()) {
            c.selection.erase(at);
            ++changed;
        } else if (!c.removing && at == c.selection.end()) {
            c.selection.push_back(id);
            ++changed;
        }
    }
    std::string message = std::to_string(ids.size()) + " found";
    if (c.removing) {
        message += ", " + std::to_string(changed) + " removed";
    }
    if (ids.size() != changed && !c.removing) {
        message += " (" + std::to_string(ids.size() - changed) + " duplicate)";
    }
    return message + ", " + std::to_string(c.selection.size()) + " total";
}

Outcome startSelection(CommandContext& c, Selected selected, Step after) {
    c.onSelected = selected;
    c.afterSelection = after;
    return accept();
}

// A command that selects, started from "Command:": objects picked there beforehand are its selection, and
// it goes on as if Enter had ended "Select objects:" (PICKFIRST 1); otherwise it asks for objects.
Outcome startSelectingCommand(CommandContext& c, Selected selected, Step after) {
    startSelection(c, selected, after);
    std::vector<int> gripped;
    gripped.swap(c.gripped);
    for (int id : gripped) {
        if (c.drawing.findObject(id) != nullptr) {
            c.selection.push_back(id);
        }
    }
    if (c.selection.empty()) {
        return accept();
    }
    return finishSelection(c, u"");
}

const Layer* layerOfObjectAt(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return nullptr;
    }
    const DrawingObject* object = c.drawing.findObject(objectAt(c.drawing, *point, kPickTolerance));
    return object != nullptr ? c.drawing.findLayer(object->layer) : nullptr;
}

std::string layerList(const std::vector<std::u16string>& layers) {
    std::string out;
    for (const std::u16string& layer : layers) {
        out += (out.empty() ? "" : ", ") + utf8(layer);
    }
    return out;
}

// Moves (MOVE) or copies (COPY) the selection by the vector.
void displace(CommandContext& c, double dx, double dy) {
    if (c.onSelected == Selected::Copy) {
        c.drawing.copyObjects(c.selection, dx, dy);
    } else {
        c.drawing.moveObjects(c.selection, dx, dy);
    }
}

const char* const kInvalidSelection =
    "*Invalid selection*\n"
    "Expects a point or "
    "Window/Last/Crossing/BOX/ALL/Fence/WPolygon/CPolygon/Group/Add/Remove/Multiple/Previous/Undo/AUto/"
    "SIngle/SUbobject/Object";

}  // namespace

// --- Commands that select ---------------------------------------------------------------------------------

Outcome startQuickGroup(CommandContext& c, std::u16string_view) {
    return startSelectingCommand(c, Selected::QuickGroup, Step::Idle);
}
Outcome startSelect(CommandContext& c, std::u16string_view) {
    return startSelectingCommand(c, Selected::None, Step::Idle);
}
Outcome startMove(CommandContext& c, std::u16string_view) {
    return startSelectingCommand(c, Selected::Move, Step::MoveBase);
}
Outcome startCopy(CommandContext& c, std::u16string_view) {
    return startSelectingCommand(c, Selected::Copy, Step::CopyBase);
}
Outcome startErase(CommandContext& c, std::u16string_view) {
    return startSelectingCommand(c, Selected::Erase, Step::Idle);
}
Outcome startChange(CommandContext& c, std::u16string_view) {
    return startSelectingCommand(c, Selected::Change, Step::ChangePoint);
}

Outcome startGeneric(CommandContext& c, std::u16string_view input) {
    const GenericCommand* command = findGenericCommand(input);
    if (command == nullptr || command->prompt == nullptr) {
        return acceptTo(Step::Idle, "(the " + utf8(c.commandName) + " palette opens)");
    }
    c.genericPrompt = tiermark::fromUtf8(command->prompt);
    return accept();
}

Outcome undo(CommandContext& c, std::u16string_view) {
    if (c.undo.empty()) {
        return accept("Everything has been undone");
    }
    UndoStep step = std::move(c.undo.back());
    c.undo.pop_back();
    c.drawing.restore(std::move(step.before));
    return accept(utf8(step.command));
}

// --- Object selection ------------------------------------------------------------------------------------

Outcome finishSelection(CommandContext& c, std::u16string_view) {
    if (c.selection.empty() && c.onSelected != Selected::GroupCreate) {
        return acceptTo(Step::Idle);
    }
    if (!c.selection.empty()) {
        c.previousSelection = c.selection;
    }
    switch (c.onSelected) {
        case Selected::Erase:
            c.drawing.eraseObjects(c.selection);
            break;
        case Selected::GroupCreate:
            c.drawing.addGroup(Group{c.groupName, c.description, c.selection, true});
            break;
        case Selected::GroupAdd:
            c.drawing.addGroupMembers(c.groupName, c.selection);
            break;
        case Selected::GroupRemove:
            c.drawing.removeGroupMembers(c.groupName, c.selection);
            break;
        case Selected::QuickGroup: {
            const std::u16string name = u"*A" + tiermark::fromUtf8(std::to_string(++c.unnamedGroups));
            c.drawing.addGroup(Group{name, u"", c.selection, true});
            return acceptTo(Step::Idle, "Unnamed group has been created.");
        }
        case Selected::Change: {
            // The prompt for the new layer offers the selected objects' layer when they share one.
            const DrawingObject* first = c.drawing.findObject(c.selection.front());
            c.oldLayer = first != nullptr ? first->layer : std::u16string(kLayerZero);
            for (int id : c.selection) {
                const DrawingObject* object = c.drawing.findObject(id);
                if (object != nullptr && object->layer != c.oldLayer) {
                    c.oldLayer = u"varies";
                }
            }
            break;
        }
        case Selected::Move:
        case Selected::Copy:
        case Selected::None:
            break;
    }
    return acceptTo(c.afterSelection);
}

Outcome windowBox(CommandContext& c, std::u16string_view) {
    c.box = Box::Window;
    return accept();
}
Outcome crossingBox(CommandContext& c, std::u16string_view) {
    c.box = Box::Crossing;
    return accept();
}
Outcome impliedBox(CommandContext& c, std::u16string_view) {
    c.box = Box::Implied;
    return accept();
}

Outcome selectLast(CommandContext& c, std::u16string_view) {
    const int last = c.drawing.lastObject();
    return accept(takeIntoSelection(c, last == 0 ? std::vector<int>{} : std::vector<int>{last}));
}

Outcome selectAll(CommandContext& c, std::u16string_view) {
    std::vector<int> ids;
    for (const DrawingObject& object : c.drawing.objects()) {
        ids.push_back(object.id);
    }
    return accept(takeIntoSelection(c, ids));
}

Outcome addMode(CommandContext& c, std::u16string_view) {
    c.removing = false;
    return accept();
}
Outcome removeMode(CommandContext& c, std::u16string_view) {
    c.removing = true;
    return accept();
}

Outcome selectPrevious(CommandContext& c, std::u16string_view) {
    std::vector<int> ids;
    for (int id : c.previousSelection) {
        if (c.drawing.findObject(id) != nullptr) {
            ids.push_back(id);
        }
    }
    return accept(takeIntoSelection(c, ids));
}

Outcome undoSelection(CommandContext& c, std::u16string_view) {
    if (!c.selectionSteps.empty()) {
        c.selection.resize(std::min(c.selection.size(), c.selectionSteps.back()));
        c.selectionSteps.pop_back();
    }
    return accept();
}

Outcome selectAtPoint(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse(kInvalidSelection);
    }
    const int id = objectAt(c.drawing, *point, kPickTolerance);
    if (id != 0) {
        return accept(takeIntoSelection(c, {id}));
    }
    // Nothing under the point: it is the first corner of a box, dragged whichever way the next one lies.
    c.box = Box::Implied;
    c.corner = *point;
    return acceptTo(Step::SelectOtherCorner);
}

Outcome selectGroup(CommandContext& c, std::u16string_view input) {
    const Group* group = c.drawing.findGroup(input);
    if (group == nullptr) {
        return refuse("Group " + quotedText(input) + " has not been defined.");
    }
    return accept(takeIntoSelection(c, group->members));
}

Outcome firstCorner(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Point or option keyword required.");
    }
    c.corner = *point;
    return accept();
}

Outcome otherCorner(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Point or option keyword required.");
    }
    const BoxKind kind = c.box == Box::Window     ? BoxKind::Window
                         : c.box == Box::Crossing ? BoxKind::Crossing
                                                  : BoxKind::ByDirection;
    const std::string found = takeIntoSelection(c, objectsInBox(c.drawing, c.corner, *point, kind));
    c.box = Box::Implied;
    return accept(found);
}

Outcome polygonPoint(CommandContext&, std::u16string_view input) {
    return parsePoint(input) ? accept() : refuse("Point or option keyword required.");
}

Outcome polygonEnd(CommandContext& c, std::u16string_view) {
    // Fences and polygons are taken but select nothing in the stand-in.
    return accept(takeIntoSelection(c, {}));
}

// --- -LAYER ----------------------------------------------------------------------------------------------

Outcome listLayers(CommandContext& c, std::u16string_view) {
    std::string message = "Layer name / State / Linetype / Color";
    for (const Layer& layer : c.drawing.layers()) {
        const std::string state = std::string(layer.off ? "Off" : "On") + (layer.frozen ? " Frozen" : "") +
                                  (layer.locked ? " Locked" : "");
        addLine(message, utf8(layer.name) + " / " + state + " / " + utf8(layer.lineType) + " / " +
                             std::to_string(layer.color));
    }
    addLine(message, "Current layer:  " + quotedText(c.currentLayer));
    return accept(message);
}

Outcome makeLayer(CommandContext& c, std::u16string_view input) {
    if (auto reason = c.drawing.invalidNameReason(input)) {
        return refuse(*reason);
    }
    c.drawing.addLayer(input);
    c.currentLayer = c.drawing.findLayer(input)->name;
    return accept();
}

Outcome setCurrentLayer(CommandContext& c, std::u16string_view input) {
    const Layer* layer = c.drawing.findLayer(input);
    if (layer == nullptr) {
        return refuse("Cannot find layer " + quotedText(input) + ".");
    }
    c.currentLayer = layer->name;
    return accept();
}

Outcome createLayers(CommandContext& c, std::u16string_view input) {
    std::string message;
    for (const std::u16string& name : splitNames(input)) {
        if (auto reason = c.drawing.invalidNameReason(name)) {
            addLine(message, *reason);
            continue;
        }
        c.drawing.addLayer(name);
    }
    return Outcome{true, message, std::nullopt, !message.empty()};
}

Outcome chooseLayerState(CommandContext& c, std::u16string_view input) {
    static constexpr struct {
        std::u16string_view keyword;
        std::u16string_view verb;
    } kStates[] = {{u"ON", u"turn on"}, {u"OFF", u"turn off"}, {u"Freeze", u"freeze"},
                   {u"Thaw", u"thaw"},  {u"LOck", u"lock"},    {u"Unlock", u"unlock"}};
    for (const auto& state : kStates) {
        if (keywordIs(input, state.keyword)) {
            c.verb = std::u16string(state.verb);
        }
    }
    return accept();
}

Outcome applyLayerState(CommandContext& c, std::u16string_view input) {
    using Flag = Drawing::LayerFlag;
    const Flag flag = c.verb == u"turn off" ? Flag::Off
                      : c.verb == u"freeze" ? Flag::Freeze
                      : c.verb == u"thaw"   ? Flag::Thaw
                      : c.verb == u"lock"   ? Flag::Lock
                      : c.verb == u"unlock" ? Flag::Unlock
                                            : Flag::On;
    return accept(forLayers(c, input, [&](const std::u16string& layer) { c.drawing.setFlag(layer, flag); }));
}

Outcome chooseLayerValue(CommandContext& c, std::u16string_view input) {
    if (keywordIs(input, u"LWeight")) {
        c.valuePrompt = u"Enter lineweight (0.0mm - 2.11mm):";
        c.verb = u"lineweight";
    } else if (keywordIs(input, u"TRansparency")) {
        c.valuePrompt = u"Enter transparency value (0-90):";
        c.verb = u"transparency";
    } else {
        c.valuePrompt = u"Enter a plotting preference [Plot/No plot] <Plot>:";
        c.verb = u"plotting preference";
    }
    return accept();
}

Outcome chooseLayerSubOption(CommandContext& c, std::u16string_view input) {
    c.valuePrompt = keywordIs(input, u"stAte")
                        ? u"Enter an option [?/Save/Restore/Edit/Name/Delete/Import/EXport]:"
                        : u"Enter an option [?/Reconcile]:";
    return accept();
}

Outcome storeValue(CommandContext& c, std::u16string_view input) {
    c.value = std::u16string(input);
    return accept();
}

Outcome storeDescriptionValue(CommandContext& c, std::u16string_view input) {
    c.value = std::u16string(input);
    c.verb = u"description";
    return accept();
}

Outcome listLineTypes(CommandContext& c, std::u16string_view) {
    std::string message = "Loaded linetypes:";
    for (const std::u16string& name : c.drawing.lineTypes()) {
        addLine(message, "  " + utf8(name));
    }
    return accept(message);
}

Outcome chooseLineType(CommandContext& c, std::u16string_view input) {
    const auto loaded = c.drawing.loadedLineType(input);
    if (!loaded) {
        // The option prompt comes back; the layer keeps its line type.
        return complainTo(Step::LayerOption,
                          "Linetype " + utf8(input) + " not found.  Use LINETYPE command to load it.");
    }
    c.lineType = *loaded;
    return accept();
}

Outcome chooseContinuous(CommandContext& c, std::u16string_view) {
    c.lineType = std::u16string(kContinuous);
    return accept();
}

Outcome applyLineType(CommandContext& c, std::u16string_view input) {
    return accept(
        forLayers(c, input, [&](const std::u16string& layer) { c.drawing.setLineType(layer, c.lineType); }));
}

Outcome chooseColor(CommandContext& c, std::u16string_view input) {
    const auto color = parseColor(input);
    if (!color) {
        return refuse("Requires an integer between 1 and 255, or a color name.");
    }
    c.color = *color;
    return accept();
}

Outcome applyColor(CommandContext& c, std::u16string_view input) {
    return accept(
        forLayers(c, input, [&](const std::u16string& layer) { c.drawing.setColor(layer, c.color); }));
}

// --- -GROUP and GROUP ------------------------------------------------------------------------------------

Outcome listGroups(CommandContext& c, std::u16string_view) {
    std::string message = "Defined groups.";
    for (const Group& group : c.drawing.groups()) {
        addLine(message, utf8(group.name) + " (" + std::to_string(group.members.size()) + " objects" +
                             (group.selectable ? "" : ", unselectable") + ") " + utf8(group.description));
    }
    return accept(message);
}

Outcome chooseNewGroupName(CommandContext& c, std::u16string_view input) {
    if (c.drawing.findGroup(input) != nullptr) {
        return refuse("A group named " + quotedText(input) + " already exists.");
    }
    if (c.drawing.invalidNameReason(input)) {
        return refuse("Invalid group name.");
    }
    c.groupName = std::u16string(input);
    return accept();
}

Outcome storeDescription(CommandContext& c, std::u16string_view input) {
    c.description = std::u16string(input);
    return startSelection(c, Selected::GroupCreate, Step::Idle);
}

Outcome chooseGroupAdd(CommandContext& c, std::u16string_view) {
    c.onSelected = Selected::GroupAdd;
    return accept();
}

Outcome chooseGroupRemove(CommandContext& c, std::u16string_view) {
    c.onSelected = Selected::GroupRemove;
    return accept();
}

Outcome chooseGroupForMembers(CommandContext& c, std::u16string_view input) {
    const Group* group = c.drawing.findGroup(input);
    if (group == nullptr) {
        return refuse("Group " + quotedText(input) + " has not been defined.");
    }
    c.groupName = group->name;
    c.afterSelection = Step::Idle;
    return accept();
}

Outcome explodeGroup(CommandContext& c, std::u16string_view input) {
    const Group* group = c.drawing.findGroup(input);
    if (group == nullptr) {
        return refuse("Group " + quotedText(input) + " has not been defined.");
    }
    const std::u16string name = group->name;
    c.drawing.removeGroup(name);
    return accept("Group " + quotedText(name) + " has been exploded.");
}

Outcome chooseGroupToRename(CommandContext& c, std::u16string_view input) {
    const Group* group = c.drawing.findGroup(input);
    if (group == nullptr) {
        return refuse("Group " + quotedText(input) + " has not been defined.");
    }
    c.groupName = group->name;
    return accept();
}

Outcome renameGroup(CommandContext& c, std::u16string_view input) {
    const Group* existing = c.drawing.findGroup(input);
    if (existing != nullptr && !equalsNoCase(existing->name, c.groupName)) {
        return refuse("A group named " + quotedText(input) + " already exists.");
    }
    if (c.drawing.invalidNameReason(input)) {
        return refuse("Invalid group name.");
    }
    c.drawing.renameGroup(c.groupName, input);
    return accept();
}

Outcome chooseGroupSelectable(CommandContext& c, std::u16string_view input) {
    const Group* group = c.drawing.findGroup(input);
    if (group == nullptr) {
        return refuse("Group " + quotedText(input) + " has not been defined.");
    }
    c.groupName = group->name;
    c.value = group->selectable ? u"selectable" : u"unselectable";
    return accept();
}

Outcome toggleGroupSelectable(CommandContext& c, std::u16string_view) {
    if (const Group* group = c.drawing.findGroup(c.groupName)) {
        c.drawing.setGroupSelectable(c.groupName, !group->selectable);
    }
    return accept();
}

// --- MOVE and COPY ---------------------------------------------------------------------------------------

Outcome basePoint(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Point or option keyword required.");
    }
    c.base = *point;
    return accept();
}

Outcome moveByFirstPoint(CommandContext& c, std::u16string_view) {
    displace(c, c.base.x, c.base.y);
    return accept();
}

Outcome moveToSecondPoint(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Point or option keyword required.");
    }
    displace(c, point->x - c.base.x, point->y - c.base.y);
    return accept();
}

Outcome moveByDisplacement(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Requires a point or a displacement.");
    }
    displace(c, point->x, point->y);
    return accept();
}

Outcome copyByFirstPoint(CommandContext& c, std::u16string_view input) {
    return moveByFirstPoint(c, input);
}

Outcome copyToSecondPoint(CommandContext& c, std::u16string_view input) {
    return moveToSecondPoint(c, input);
}

// --- CHANGE ----------------------------------------------------------------------------------------------

Outcome changePoint(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Point or option keyword required.");
    }
    // The end of each selected line nearest to the point moves to it (ORTHO off); other objects are left.
    std::vector<DrawingObject> changed;
    for (int id : c.selection) {
        const DrawingObject* object = c.drawing.findObject(id);
        if (object != nullptr && object->kind == ObjectKind::Line) {
            changed.push_back(*object);
        }
    }
    for (DrawingObject& line : changed) {
        const double toStart = std::hypot(line.position.x - point->x, line.position.y - point->y);
        const double toEnd = std::hypot(line.end.x - point->x, line.end.y - point->y);
        (toStart <= toEnd ? line.position : line.end) = *point;
        c.drawing.replaceObject(line);
    }
    return accept();
}

Outcome chooseChangeValue(CommandContext& c, std::u16string_view input) {
    c.valuePrompt = keywordIs(input, u"Elev")        ? u"Specify new elevation <0.0000>:"
                    : keywordIs(input, u"ltScale")   ? u"Enter new linetype scale <1.0000>:"
                    : keywordIs(input, u"LWeight")   ? u"Enter new lineweight <ByLayer>:"
                    : keywordIs(input, u"Thickness") ? u"Specify new thickness <0.0000>:"
                                                     : u"Enter transparency value (0-90) <ByLayer>:";
    return accept();
}

Outcome changeLayer(CommandContext& c, std::u16string_view input) {
    const Layer* layer = c.drawing.findLayer(input);
    if (layer == nullptr) {
        return refuse("Cannot find layer " + quotedText(input) + ".");
    }
    c.drawing.setObjectLayer(c.selection, layer->name);
    c.oldLayer = layer->name;
    return accept();
}

Outcome changeColor(CommandContext& c, std::u16string_view input) {
    if (equalsNoCase(input, u"BYLAYER") || equalsNoCase(input, u"BYBLOCK")) {
        c.drawing.setObjectColor(c.selection, 0);
        return accept();
    }
    const auto color = parseColor(input);
    if (!color) {
        return refuse("Requires an integer between 1 and 255, or a color name.");
    }
    c.drawing.setObjectColor(c.selection, *color);
    return accept();
}

Outcome changeLineType(CommandContext& c, std::u16string_view input) {
    if (equalsNoCase(input, u"BYLAYER") || equalsNoCase(input, u"BYBLOCK")) {
        c.drawing.setObjectLineType(c.selection, u"");
        return accept();
    }
    const auto loaded = c.drawing.loadedLineType(input);
    if (!loaded) {
        return complainTo(Step::ChangeProperty,
                          "Linetype " + utf8(input) + " not found.  Use LINETYPE command to load it.");
    }
    c.drawing.setObjectLineType(c.selection, *loaded);
    return accept();
}

// --- -RENAME ---------------------------------------------------------------------------------------------

Outcome chooseOldLayer(CommandContext& c, std::u16string_view input) {
    const Layer* layer = c.drawing.findLayer(input);
    if (layer == nullptr) {
        return refuse("Cannot find layer " + quotedText(input) + ".");
    }
    if (isFixedLayer(layer->name)) {
        return refuse("Layer " + quotedText(layer->name) + " cannot be renamed.");
    }
    c.oldLayer = layer->name;
    return accept();
}

Outcome renameLayer(CommandContext& c, std::u16string_view input) {
    auto renamed = c.drawing.renameLayer(c.oldLayer, input);
    if (!renamed) {
        return refuse(renamed.error().message);
    }
    if (equalsNoCase(c.currentLayer, c.oldLayer)) {
        c.currentLayer = c.drawing.keptName(input);
    }
    return accept();
}

Outcome chooseObjectType(CommandContext& c, std::u16string_view input) {
    static constexpr struct {
        std::u16string_view keyword;
        std::u16string_view name;
    } kTypes[] = {{u"Block", u"block"},
                  {u"Dimstyle", u"dimension style"},
                  {u"LType", u"linetype"},
                  {u"multileadeRstyle", u"multileader style"},
                  {u"Plotstyle", u"plot style"},
                  {u"textStyle", u"text style"},
                  {u"Tablestyle", u"table style"},
                  {u"Ucs", u"UCS"},
                  {u"VIew", u"view"},
                  {u"VPort", u"viewport"}};
    for (const auto& type : kTypes) {
        if (keywordIs(input, type.keyword)) {
            c.objectType = std::u16string(type.name);
        }
    }
    return accept();
}

Outcome refuseOtherObject(CommandContext& c, std::u16string_view input) {
    // The stand-in's drawing holds no such objects to rename.
    return refuse("Cannot find " + utf8(c.objectType) + " " + quotedText(input) + ".");
}

// --- -LAYMRG ---------------------------------------------------------------------------------------------

namespace {

Outcome addMergeSource(CommandContext& c, const Layer* layer, std::u16string_view typed) {
    if (layer == nullptr) {
        return refuse("Cannot find layer " + quotedText(typed) + ".");
    }
    if (isFixedLayer(layer->name) || equalsNoCase(layer->name, c.currentLayer)) {
        return refuse("Layer " + quotedText(layer->name) + " cannot be merged.");
    }
    const auto known =
        std::find_if(c.mergeLayers.begin(), c.mergeLayers.end(),
                     [&](const std::u16string& name) { return equalsNoCase(name, layer->name); });
    if (known == c.mergeLayers.end()) {
        c.mergeLayers.push_back(layer->name);
    }
    return acceptTo(Step::MergeSource, "Selected layers: " + layerList(c.mergeLayers) + ".");
}

Outcome chooseMergeTarget(CommandContext& c, const Layer* layer, std::u16string_view typed) {
    if (layer == nullptr) {
        return refuse("Cannot find layer " + quotedText(typed) + ".");
    }
    for (const std::u16string& source : c.mergeLayers) {
        if (equalsNoCase(source, layer->name)) {
            return refuse("Layer " + quotedText(layer->name) + " is one of the layers to merge.");
        }
    }
    c.mergeTarget = layer->name;
    return acceptTo(Step::MergeConfirm, "******** WARNING ********\nYou are about to merge " +
                                            std::to_string(c.mergeLayers.size()) + " layer(s) into layer " +
                                            quotedText(c.mergeTarget) + ".");
}

}  // namespace

Outcome mergeSourceAtPoint(CommandContext& c, std::u16string_view input) {
    if (!parsePoint(input)) {
        return refuse("Point or option keyword required.");
    }
    const Layer* layer = layerOfObjectAt(c, input);
    return layer != nullptr ? addMergeSource(c, layer, input) : refuse("Nothing found.");
}

Outcome mergeSourceByName(CommandContext& c, std::u16string_view input) {
    return addMergeSource(c, c.drawing.findLayer(input), input);
}

Outcome undoMergeSource(CommandContext& c, std::u16string_view) {
    if (!c.mergeLayers.empty()) {
        c.mergeLayers.pop_back();
    }
    return accept();
}

Outcome endMergeSources(CommandContext& c, std::u16string_view) {
    return c.mergeLayers.empty() ? acceptTo(Step::Idle) : accept();
}

Outcome mergeTargetAtPoint(CommandContext& c, std::u16string_view input) {
    if (!parsePoint(input)) {
        return refuse("Point or option keyword required.");
    }
    const Layer* layer = layerOfObjectAt(c, input);
    return layer != nullptr ? chooseMergeTarget(c, layer, input) : refuse("Nothing found.");
}

Outcome mergeTargetByName(CommandContext& c, std::u16string_view input) {
    return chooseMergeTarget(c, c.drawing.findLayer(input), input);
}

Outcome mergeLayers(CommandContext& c, std::u16string_view) {
    const std::vector<std::u16string> deleted = c.drawing.mergeLayers(c.mergeLayers, c.mergeTarget);
    std::string message;
    for (const std::u16string& name : deleted) {
        addLine(message, "Deleting layer " + quotedText(name) + ".");
    }
    addLine(message, std::to_string(deleted.size()) + " layer(s) deleted.");
    return accept(message);
}

// --- ZOOM ------------------------------------------------------------------------------------------------

Outcome chooseZoomValue(CommandContext& c, std::u16string_view input) {
    c.valuePrompt = keywordIs(input, u"Center")   ? u"Specify center point:"
                    : keywordIs(input, u"Scale")  ? u"Enter a scale factor (nX or nXP):"
                    : keywordIs(input, u"Window") ? u"Specify first corner:"
                                                  : u"Select objects:";
    return accept();
}

Outcome zoomCornerOrScale(CommandContext&, std::u16string_view input) {
    if (parsePoint(input)) {
        return acceptTo(Step::ZoomCorner);
    }
    std::u16string_view number = input;
    while (!number.empty() && (number.back() == u'x' || number.back() == u'X' || number.back() == u'p' ||
                               number.back() == u'P')) {
        number.remove_suffix(1);
    }
    if (tiermark::parseDecimal(number)) {
        return accept();
    }
    return refuse("Point or option keyword required.");
}

// --- SCRIPT ----------------------------------------------------------------------------------------------

Outcome readScript(CommandContext& c, std::u16string_view input) {
    // A name may stand in double quotes; without an extension ".scr" is added, as AutoCAD LT does.
    std::u16string name(input);
    if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"') {
        name = name.substr(1, name.size() - 2);
    }
    std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(utf8(name).c_str())));
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) && !path.has_extension()) {
        path += ".scr";
    }
    constexpr std::uintmax_t kMaxScript = 16u * 1024u * 1024u;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || !std::filesystem::is_regular_file(path, error)) {
        return accept("Can't find file " + quotedText(name) + ".");
    }
    if (size > kMaxScript) {
        return accept("Script file " + quotedText(name) + " is too large.");
    }
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) {
        return accept("Can't read file " + quotedText(name) + ".");
    }
    // AutoCAD LT reads a script in the system's code page (932 here); a file that starts with the UTF-8 byte
    // order mark is read as UTF-8.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    std::u16string text;
    if (bytes.rfind(kBom, 0) == 0) {
        text = tiermark::fromUtf8(std::string_view(bytes).substr(kBom.size()));
    } else if (auto decoded = tiermark::fromCp932(bytes)) {
        text = std::move(*decoded);
    } else {
        return accept("Script file " + quotedText(name) + " is not text in code page 932.");
    }
    c.script = std::move(text);
    return accept();
}

}  // namespace cadsim::actions

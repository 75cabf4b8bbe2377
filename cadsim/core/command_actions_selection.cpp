#include "cadsim/core/command_actions.h"

#include <algorithm>

#include "cadsim/core/command_action_support.h"
#include "cadsim/core/points.h"
#include "cadsim/core/view.h"

namespace cadsim::actions {

namespace {

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

}  // namespace cadsim::actions

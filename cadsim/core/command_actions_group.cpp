#include "cadsim/core/command_actions.h"

#include "cadsim/core/command_action_support.h"
#include "cadsim/core/text.h"
#include "common/ascii.h"

namespace cadsim::actions {

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
    if (existing != nullptr && !tiermark::equalsIgnoringAsciiCase(existing->name, c.groupName)) {
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

}  // namespace cadsim::actions

#include "cadsim/core/command_actions.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cadsim/core/layer_rules.h"
#include "cadsim/core/linetypes.h"
#include "cadsim/core/points.h"
#include "cadsim/core/text.h"
#include "common/codepage.h"
#include "common/numtext.h"
#include "common/utf.h"

namespace cadsim::actions {

namespace {

std::string utf8(std::u16string_view text) {
    return tiermark::toUtf8(text);
}
std::string quotedText(std::u16string_view text) {
    return "\"" + utf8(text) + "\"";
}

Outcome refuse(std::string message) {
    return Outcome{false, std::move(message), std::nullopt};
}
Outcome accept(std::string message = {}) {
    return Outcome{true, std::move(message), std::nullopt};
}
Outcome acceptTo(Step step, std::string message = {}) {
    return Outcome{true, std::move(message), step};
}

void addLine(std::string& message, const std::string& line) {
    if (!message.empty()) {
        message += "\n";
    }
    message += line;
}

// Applies f to every layer named by the list (wildcards allowed; empty list: the current layer).
template <typename F>
std::string forLayers(CommandContext& c, std::u16string_view list, F f) {
    std::vector<std::u16string> names = splitNames(list);
    if (names.empty()) {
        names.push_back(c.currentLayer);
    }
    std::string message;
    for (const std::u16string& name : names) {
        bool found = false;
        std::vector<std::u16string> targets;
        for (const Layer& layer : c.drawing.layers()) {
            if (wildcardMatch(name, layer.name)) {
                targets.push_back(layer.name);
            }
        }
        for (const std::u16string& target : targets) {
            f(target);
            found = true;
        }
        if (!found) {
            addLine(message, "No matching layer names found for " + quotedText(name) + ".");
        }
    }
    return message;
}

void addToSelection(CommandContext& c, const std::vector<int>& ids) {
    for (int id : ids) {
        if (std::find(c.selection.begin(), c.selection.end(), id) == c.selection.end()) {
            c.selection.push_back(id);
        }
    }
}

}  // namespace

Outcome listLayers(CommandContext& c, std::u16string_view) {
    std::string message = "Layer name / Linetype / Color";
    for (const Layer& layer : c.drawing.layers()) {
        addLine(message,
                utf8(layer.name) + " / " + utf8(layer.lineType) + " / " + std::to_string(layer.color));
    }
    return accept(message);
}

Outcome createLayers(CommandContext& c, std::u16string_view input) {
    std::string message;
    for (const std::u16string& name : splitNames(input)) {
        if (auto reason = invalidLayerNameReason(name)) {
            addLine(message, *reason);
            continue;
        }
        c.drawing.addLayer(name);
    }
    return accept(message);
}

Outcome listLineTypes(CommandContext&, std::u16string_view) {
    std::string message = "Loaded linetypes:";
    for (const std::u16string& name : loadedLineTypes()) {
        addLine(message, "  " + utf8(name));
    }
    return accept(message);
}

Outcome chooseLineType(CommandContext& c, std::u16string_view input) {
    const auto loaded = loadedLineType(input);
    if (!loaded) {
        return refuse("Linetype " + utf8(input) + " not found.  Use LINETYPE command to load it.");
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

Outcome listGroups(CommandContext& c, std::u16string_view) {
    std::string message = "Defined groups.";
    for (const Group& group : c.drawing.groups()) {
        addLine(message, utf8(group.name) + " (" + std::to_string(group.members.size()) + " objects) " +
                             utf8(group.description));
    }
    return accept(message);
}

Outcome chooseNewGroupName(CommandContext& c, std::u16string_view input) {
    if (c.drawing.findGroup(input) != nullptr) {
        return refuse("A group named " + quotedText(input) + " already exists.");
    }
    if (std::any_of(input.begin(), input.end(), isForbiddenLayerChar)) {
        return refuse("Invalid group name.");
    }
    c.groupName = std::u16string(input);
    return accept();
}

Outcome storeDescription(CommandContext& c, std::u16string_view input) {
    c.description = std::u16string(input);
    return accept();
}

Outcome createGroup(CommandContext& c, std::u16string_view) {
    c.drawing.addGroup(Group{c.groupName, c.description, c.selection});
    return accept();
}

Outcome ungroup(CommandContext& c, std::u16string_view input) {
    if (!c.drawing.removeGroup(input)) {
        return refuse("Group " + quotedText(input) + " has not been defined.");
    }
    return accept("Group " + quotedText(input) + " has been exploded.");
}

Outcome selectAll(CommandContext& c, std::u16string_view) {
    std::vector<int> ids;
    for (const DrawingObject& object : c.drawing.objects()) {
        ids.push_back(object.id);
    }
    addToSelection(c, ids);
    return accept(std::to_string(ids.size()) + " found");
}

Outcome selectGroup(CommandContext& c, std::u16string_view input) {
    const Group* group = c.drawing.findGroup(input);
    if (group == nullptr) {
        return refuse("Group " + quotedText(input) + " has not been defined.");
    }
    addToSelection(c, group->members);
    return accept(std::to_string(group->members.size()) + " found");
}

Outcome endMoveSelection(CommandContext& c, std::u16string_view) {
    return c.selection.empty() ? acceptTo(Step::Idle) : accept();
}

Outcome basePoint(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Point or option keyword required.");
    }
    c.base = *point;
    return accept();
}

Outcome moveByFirstPoint(CommandContext& c, std::u16string_view) {
    c.drawing.moveObjects(c.selection, c.base.x, c.base.y);
    return accept();
}

Outcome moveToSecondPoint(CommandContext& c, std::u16string_view input) {
    const auto point = parsePoint(input);
    if (!point) {
        return refuse("Invalid point.");
    }
    c.drawing.moveObjects(c.selection, point->x - c.base.x, point->y - c.base.y);
    return accept();
}

Outcome endChangeSelection(CommandContext& c, std::u16string_view) {
    if (c.selection.empty()) {
        return acceptTo(Step::Idle);
    }
    // The prompt for the new layer offers the selected objects' layer when they share one.
    const DrawingObject* first = c.drawing.findObject(c.selection.front());
    c.oldLayer = first != nullptr ? first->layer : std::u16string(kLayerZero);
    for (int id : c.selection) {
        const DrawingObject* object = c.drawing.findObject(id);
        if (object != nullptr && object->layer != c.oldLayer) {
            c.oldLayer = u"varies";
        }
    }
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
    return accept();
}

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

#include "cadsim/core/command_actions.h"

#include <cmath>

#include "cadsim/core/command_action_support.h"
#include "cadsim/core/points.h"
#include "common/ascii.h"

namespace cadsim::actions {

namespace {

// Moves (MOVE) or copies (COPY) the selection by the vector.
void displace(CommandContext& c, double dx, double dy) {
    if (c.onSelected == Selected::Copy) {
        c.drawing.copyObjects(c.selection, dx, dy);
    } else {
        c.drawing.moveObjects(c.selection, dx, dy);
    }
}

}  // namespace

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
    if (tiermark::equalsIgnoringAsciiCase(input, u"BYLAYER") ||
        tiermark::equalsIgnoringAsciiCase(input, u"BYBLOCK")) {
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
    if (tiermark::equalsIgnoringAsciiCase(input, u"BYLAYER") ||
        tiermark::equalsIgnoringAsciiCase(input, u"BYBLOCK")) {
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

}  // namespace cadsim::actions

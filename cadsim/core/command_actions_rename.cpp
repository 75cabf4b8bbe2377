#include "cadsim/core/command_actions.h"

#include "cadsim/core/command_action_support.h"
#include "cadsim/core/layer_rules.h"
#include "cadsim/core/points.h"
#include "cadsim/core/text.h"
#include "cadsim/core/view.h"
#include "common/ascii.h"

namespace cadsim::actions {

namespace {

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

}  // namespace

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
    if (tiermark::equalsIgnoringAsciiCase(c.currentLayer, c.oldLayer)) {
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
    // Layers that cannot be deleted cannot be merged away: "0", "DEFPOINTS", the current layer and the
    // layers of external references.
    if (isFixedLayer(layer->name) || isXrefDependentLayer(layer->name) ||
        tiermark::equalsIgnoringAsciiCase(layer->name, c.currentLayer)) {
        return refuse("Layer " + quotedText(layer->name) + " cannot be merged.");
    }
    const auto known = std::find_if(
        c.mergeLayers.begin(), c.mergeLayers.end(),
        [&](const std::u16string& name) { return tiermark::equalsIgnoringAsciiCase(name, layer->name); });
    if (known == c.mergeLayers.end()) {
        c.mergeLayers.push_back(layer->name);
    }
    return acceptTo(Step::MergeSource, "Selected layers: " + layerList(c.mergeLayers) + ".");
}

Outcome chooseMergeTarget(CommandContext& c, const Layer* layer, std::u16string_view typed) {
    if (layer == nullptr) {
        return refuse("Cannot find layer " + quotedText(typed) + ".");
    }
    if (isXrefDependentLayer(layer->name)) {
        return refuse("Layer " + quotedText(layer->name) + " belongs to an external reference.");
    }
    for (const std::u16string& source : c.mergeLayers) {
        if (tiermark::equalsIgnoringAsciiCase(source, layer->name)) {
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

}  // namespace cadsim::actions

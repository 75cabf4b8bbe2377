#include "cadsim/core/command_actions.h"

#include "cadsim/core/command_action_support.h"
#include "cadsim/core/layer_rules.h"
#include "cadsim/core/points.h"
#include "cadsim/core/text.h"

namespace cadsim::actions {

namespace {

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

}  // namespace

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

}  // namespace cadsim::actions

#include "numbered/creation.h"

#include "builder/cascade.h"
#include "builder/colours.h"
#include "builder/layer_commands.h"
#include "builder/value_text.h"
#include "numbered/family_table.h"

namespace numbered {

namespace {

using builder::kEsc;
using builder::kEscEsc;
using builder::kLayerCommand;

// Texts 1–5: create the layer. Its name ends in CR LF.
std::vector<std::u16string> createTexts(std::u16string_view name) {
    return {std::u16string(kEscEsc), std::u16string(kLayerCommand), std::u16string(builder::kNewOption),
            std::u16string(name) + u"\r\n", std::u16string(kEsc)};
}

// Sends the texts in order and stops at the first one that is not taken.
bool sendAll(NumberedHost& host, const std::vector<std::u16string>& texts) {
    for (const auto& text : texts) {
        if (!host.SendCommand(text)) {
            return false;
        }
    }
    return true;
}

std::int64_t colourNumber(NumberedHost& host, const std::u16string& chosen) {
    const std::u16string name = chosen.empty() ? std::u16string(kDefaultColourName) : chosen;
    // A colour name without a row counts as 7.
    const std::optional<stddb::Value> constant = host.colourConstant(name);
    const std::optional<std::int64_t> number = constant ? builder::valueInteger(*constant) : std::nullopt;
    return builder::layerColour(number.value_or(builder::kColourWithoutRow));
}

// Sends the 17 texts of one member and records it once it is created; the colour is looked up once, where
// the first member's sequence reaches it. False when a text was not taken.
bool createMember(NumberedHost& host, const std::u16string& name, const std::u16string& content,
                  std::optional<std::int64_t>& colour, const std::u16string& colourName,
                  builder::LayerTables& tables) {
    if (!sendAll(host, createTexts(name))) {
        return false;
    }
    const auto slot = static_cast<std::size_t>(tables.growByOne());
    const std::u16string display = content + name;
    host.addToCombo1(display);
    tables.LayerDisplayNames[slot] = display;
    tables.LayerNames[slot] = name;
    tables.LayerLinetypes[slot] = std::u16string(builder::kContinuous);
    if (!sendAll(host, builder::linetypeTexts(builder::kContinuous, name))) {
        return false;
    }
    if (!colour) {
        colour = colourNumber(host, colourName);
    }
    if (!sendAll(host, builder::colourTexts(*colour, name))) {
        return false;
    }
    tables.LayerColors[slot] = *colour;
    return true;
}

}  // namespace

std::vector<std::u16string> numberedLayerTexts(std::u16string_view name, std::int64_t colour) {
    std::vector<std::u16string> texts = createTexts(name);
    for (auto& text : builder::linetypeTexts(builder::kContinuous, name)) {
        texts.push_back(std::move(text));
    }
    for (auto& text : builder::colourTexts(colour, name)) {
        texts.push_back(std::move(text));
    }
    return texts;
}

NumberedOutcome createNumberedLayer(NumberedHost& host, const NumberedInput& input,
                                    builder::LayerTables& tables) {
    NumberedOutcome outcome;
    const std::u16string letter = builder::lifeCycleLetter(input.stageIndex);
    const std::u16string name = letter + input.label8;
    std::optional<std::int64_t> colour;
    if (!createMember(host, name, input.textBox1, colour, input.colourName, tables)) {
        outcome.notTaken = true;
        return outcome;
    }
    outcome.createdNames.push_back(name);

    // Family 4's check boxes add the dimension and text members with the same suffix at the same time.
    const std::u16string suffix =
        input.label8.empty() ? std::u16string() : input.label8.substr(input.label8.size() - 1);
    const auto companion = [&](bool checked, std::u16string_view element) {
        if (outcome.notTaken || !input.checkBoxesEnabled || !checked) {
            return;
        }
        const std::u16string member = letter + input.objectCode + std::u16string(element) + suffix;
        if (!createMember(host, member, input.textBox1, colour, input.colourName, tables)) {
            outcome.notTaken = true;
            return;
        }
        outcome.createdNames.push_back(member);
    };
    companion(input.checkBox1, kDimensionElement);
    companion(input.checkBox2, kTextElement);
    if (outcome.notTaken) {
        return outcome;
    }

    outcome.unloadForm = input.membersListed && suffix == u"Z";
    return outcome;
}

}  // namespace numbered

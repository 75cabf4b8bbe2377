#include "numbered/creation.h"

#include "builder/cascade.h"
#include "builder/colours.h"
#include "builder/value_text.h"
#include "cadlink/command_texts.h"
#include "cadlink/sendable_text.h"
#include "numbered/family_table.h"

namespace numbered {

namespace {

std::int64_t colourNumber(NumberedHost& host, const std::u16string& chosen) {
    const std::u16string name = chosen.empty() ? std::u16string(kDefaultColourName) : chosen;
    // A colour name without a row counts as 7.
    const std::optional<stddb::Value> constant = host.colourConstant(name);
    const std::optional<std::int64_t> number = constant ? builder::valueInteger(*constant) : std::nullopt;
    return builder::layerColour(number.value_or(builder::kColourWithoutRow));
}

// Sends the 17 texts of one member and records it once it is created; the colour is looked up once, where
// the first member's sequence reaches it. What became of the last text sent.
cadlink::Delivery createMember(NumberedHost& host, const std::u16string& name, const std::u16string& content,
                               std::optional<std::int64_t>& colour, const std::u16string& colourName,
                               builder::LayerTables& tables) {
    using cadlink::Delivery;
    // Texts 1–5 create the layer; the form ends its name in CR LF.
    if (const Delivery delivery =
            cadlink::sendAll(host, cadlink::createLayerTexts(name, cadlink::NameEnd::CrLf));
        delivery != Delivery::Taken) {
        return delivery;
    }
    const auto slot = static_cast<std::size_t>(tables.growByOne());
    const std::u16string display = content + name;
    host.addToCombo1(display);
    tables.LayerDisplayNames[slot] = display;
    tables.LayerNames[slot] = name;
    tables.LayerLinetypes[slot] = std::u16string(cadlink::kContinuous);
    if (const Delivery delivery = cadlink::sendAll(host, cadlink::linetypeTexts(cadlink::kContinuous, name));
        delivery != Delivery::Taken) {
        return delivery;
    }
    if (!colour) {
        colour = colourNumber(host, colourName);
    }
    if (const Delivery delivery = cadlink::sendAll(host, cadlink::colourTexts(*colour, name));
        delivery != Delivery::Taken) {
        return delivery;
    }
    tables.LayerColors[slot] = *colour;
    return Delivery::Taken;
}

// Whether every text of a member can be typed into AutoCAD LT: its name, and its display name (the
// content text followed by the name), which goes to Combo1 and from there into the main window's texts.
bool sendable(const std::u16string& name, const std::u16string& content) {
    return cadlink::createLayerTexts(name, cadlink::NameEnd::CrLf).ok() &&
           cadlink::linetypeTexts(cadlink::kContinuous, name).ok() && !cadlink::answerProblem(content + name);
}

}  // namespace

NumberedOutcome createNumberedLayer(NumberedHost& host, const NumberedInput& input,
                                    builder::LayerTables& tables) {
    NumberedOutcome outcome;
    const std::u16string letter = builder::lifeCycleLetter(input.stageIndex);
    const std::u16string name = letter + input.label8;

    // The main member and, with family 4's check boxes, the dimension and text members with the same
    // suffix, created together.
    const std::u16string suffix =
        input.label8.empty() ? std::u16string() : input.label8.substr(input.label8.size() - 1);
    std::vector<std::u16string> members{name};
    const auto companion = [&](bool checked, std::u16string_view element) {
        if (input.checkBoxesEnabled && checked) {
            members.push_back(letter + input.objectCode + std::u16string(element) + suffix);
        }
    };
    companion(input.checkBox1, kDimensionElement);
    companion(input.checkBox2, kTextElement);

    // A member whose texts cannot be typed into AutoCAD LT stops the whole addition before anything is
    // sent; the form names it and keeps the input for the user to mend.
    for (const std::u16string& member : members) {
        if (!sendable(member, input.textBox1)) {
            outcome.leftOut = cadlink::visibleText(input.textBox1 + member);
            return outcome;
        }
    }
    // The first text AutoCAD LT does not take ends the addition; a member is offered only once the texts
    // that create it were taken.
    std::optional<std::int64_t> colour;
    for (const std::u16string& member : members) {
        outcome.delivery = createMember(host, member, input.textBox1, colour, input.colourName, tables);
        if (outcome.delivery != cadlink::Delivery::Taken) {
            return outcome;
        }
        outcome.createdNames.push_back(member);
    }
    outcome.unloadForm = input.membersListed && suffix == u"Z";
    return outcome;
}

}  // namespace numbered

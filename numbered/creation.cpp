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

// Sends the 17 texts of one member and records it once it is created. What became of the last text sent.
cadlink::Delivery createMember(NumberedHost& host, const cadlink::LayerRecord& member,
                               builder::CreatedLayers& created) {
    using cadlink::Delivery;
    const cadlink::LayerDefinition definition =
        cadlink::layerDefinitionTexts(member, cadlink::LayerUse::Member);
    if (const Delivery delivery = cadlink::sendAll(host, definition.create); delivery != Delivery::Taken) {
        return delivery;
    }
    created.add(member);
    for (const std::vector<std::u16string>& property : definition.properties) {
        if (const Delivery delivery = cadlink::sendAll(host, property); delivery != Delivery::Taken) {
            return delivery;
        }
    }
    return Delivery::Taken;
}

// The records of the members one press of "▽追加" creates: the main member and, with family 4's
// companions, the dimension and text members with the same suffix.
std::vector<cadlink::LayerRecord> membersToCreate(NumberedHost& host, const NumberedInput& input) {
    const std::u16string letter = builder::lifeCycleLetter(input.stageIndex);
    const std::u16string suffix =
        input.nameTail.empty() ? std::u16string() : input.nameTail.substr(input.nameTail.size() - 1);
    std::vector<std::u16string> names{letter + input.nameTail};
    const auto companion = [&](bool asked, std::u16string_view element) {
        if (input.companionsOffered && asked) {
            names.push_back(letter + input.objectCode + std::u16string(element) + suffix);
        }
    };
    companion(input.withDimension, kDimensionElement);
    companion(input.withText, kTextElement);

    const std::int64_t colour = colourNumber(host, input.colourName);
    const int number = suffix.empty() ? 0 : memberNumber(suffix.front());
    std::vector<cadlink::LayerRecord> members;
    for (std::u16string& name : names) {
        std::u16string display = input.content + name;
        members.push_back(cadlink::LayerRecord{std::move(name), std::move(display),
                                               std::u16string(cadlink::kContinuous), colour, input.family,
                                               number});
    }
    return members;
}

}  // namespace

int memberNumber(char16_t suffix) {
    if (suffix >= u'1' && suffix <= u'9') {
        return suffix - u'0';
    }
    if (suffix >= u'A' && suffix <= u'Z') {
        return suffix - u'A' + 10;
    }
    return 0;
}

NumberedOutcome createNumberedLayer(NumberedHost& host, const NumberedInput& input,
                                    builder::CreatedLayers& created) {
    NumberedOutcome outcome;
    const std::vector<cadlink::LayerRecord> members = membersToCreate(host, input);
    // A member whose texts cannot be typed into AutoCAD LT stops the whole addition before anything is
    // sent; the form names it and keeps the input for the user to mend.
    for (const cadlink::LayerRecord& member : members) {
        if (!cadlink::layerDefinitionTexts(member, cadlink::LayerUse::Member).ok()) {
            outcome.leftOut = cadlink::visibleText(member.display);
            return outcome;
        }
    }
    // The first text AutoCAD LT does not take ends the addition; a member is offered only once the texts
    // that create it were taken.
    for (const cadlink::LayerRecord& member : members) {
        outcome.delivery = createMember(host, member, created);
        if (outcome.delivery != cadlink::Delivery::Taken) {
            return outcome;
        }
        outcome.createdNames.push_back(member.name);
    }
    outcome.unloadForm = input.membersListed && !input.nameTail.empty() && input.nameTail.back() == u'Z';
    return outcome;
}

}  // namespace numbered

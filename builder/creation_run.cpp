#include "builder/creation_run.h"

#include <cstdint>
#include <set>

#include "builder/cascade.h"
#include "builder/colours.h"
#include "builder/layer_names.h"
#include "builder/redraw_origin.h"
#include "builder/value_text.h"
#include "cadlink/command_texts.h"
#include "cadlink/sendable_text.h"

namespace builder {

namespace {

cadlink::LayerUse rowUse(const LayerRow& row) {
    return isTemplateElement(row.element) ? cadlink::LayerUse::Template : cadlink::LayerUse::Created;
}

// How a row that cannot be typed into AutoCAD LT is named to the user: its layer name as it would have
// been, and the field that holds the text when it is not the name.
std::optional<std::u16string> refusal(const LayerRow& row, const cadlink::LayerRecord& record) {
    if (record.name.empty()) {
        return std::u16string(kNoName);
    }
    const cadlink::LayerDefinition definition = cadlink::layerDefinitionTexts(record, rowUse(row));
    if (!definition.refused) {
        return std::nullopt;
    }
    const std::u16string name = cadlink::visibleText(record.name);
    switch (*definition.refused) {
        case cadlink::LayerField::Name:
            return name;
        case cadlink::LayerField::Linetype:
            return name + u"（線種：" + cadlink::visibleText(stddb::asText(row.linetype)) + u"）";
        case cadlink::LayerField::Display:
            // The display name goes to the main window's list, and from there into its CHANGE texts.
            return name + u"（内容：" + cadlink::visibleText(stddb::asText(row.content)) + u"）";
    }
    return name;
}

// Whether a layer offered under this display name is offered already: two entries offer the same layer
// when offeredLayer gives the same text for both, as the main window's change recovers the layer.
class OfferedLayers {
public:
    explicit OfferedLayers(const CreatedLayers& created) {
        for (const cadlink::LayerRecord& record : created.records()) {
            m_offered.insert(offeredLayer(record.display));
        }
    }
    // True the first time a layer is asked about.
    bool insert(const cadlink::LayerRecord& record) {
        return m_offered.insert(offeredLayer(record.display)).second;
    }

private:
    std::set<std::u16string> m_offered;
};

// Offers the layers offered before the run that the list does not offer now, in their order, without
// creating them again: what a run that cannot reach AutoCAD LT leaves, so that nothing the user has made
// disappears from the list.
void offerSetAsideLayers(CreatedLayers& created) {
    OfferedLayers offered(created);
    for (cadlink::LayerRecord& record : created.takeSetAside()) {
        if (offered.insert(record)) {
            created.add(std::move(record));
        }
    }
}

// One line of the origin message: which box, and what it holds.
std::u16string originLine(std::u16string_view box, std::u16string_view text) {
    if (text.empty()) {
        return std::u16string(box) + u"に数値が入力されていません。";
    }
    return std::u16string(box) + u"の「" + std::u16string(text) + u"」は数値ではありません。";
}

}  // namespace

std::u16string originNotANumberMessage(std::optional<std::u16string_view> originX,
                                       std::optional<std::u16string_view> originY) {
    std::u16string message;
    if (originX) {
        message += originLine(u"再線画時の左下隅の座標X", *originX) + u"\r";
    }
    if (originY) {
        message += originLine(u"再線画時の左下隅の座標Y", *originY) + u"\r";
    }
    return message +
           u"数値を入力してから、もう一度「レイヤー作成」を押してください。\r"
           u"レイヤーは作成していません。移動量は前回の値のままです。";
}

namespace {

// The rows a run sends: rows with text that cannot be typed into AutoCAD LT are left out whole before
// anything is sent, as if the database did not hold them, and named in leftOut for the form to show once
// the run is over. Family rows are the numbered-layer form's, which checks what it sends itself.
std::vector<LayerRow> sendableRows(const CreationInput& input, const ColourLookup& lookup,
                                   std::vector<std::u16string>& leftOut) {
    std::vector<LayerRow> rows;
    const std::u16string letter = lifeCycleLetter(input.stageIndex);
    for (const LayerRow& row : input.rows) {
        if (!numberedFamily(row.remarks)) {
            const cadlink::LayerRecord record = rowRecord(row, letter, input.standardNamesOnly, lookup);
            if (std::optional<std::u16string> named = refusal(row, record)) {
                leftOut.push_back(std::move(*named));
                continue;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

// One run of "レイヤー作成" over its sendable rows, adding to the program's list of created layers.
class CreationRun {
public:
    CreationRun(CreationHost& host, const CreationInput& input, ProgramLayerState& state,
                CreationOutcome& outcome)
        : m_host(host),
          m_input(input),
          m_state(state),
          m_outcome(outcome),
          m_letter(lifeCycleLetter(input.stageIndex)),
          m_lookup([&host](std::u16string_view name) { return host.colourConstant(name); }) {}

    // The layers offered so far are set aside: every one of them is offered again after the run, whatever
    // the run creates (offerSetAsideAgain), and the list starts empty.
    void begin() { m_state.created.setAsideAll(); }

    // Creates the layer of one row and gives it its line type and colour, or opens the numbered-layer form
    // for a family row (which creates nothing itself); the delivery of the first text AutoCAD LT did not
    // take, or Taken.
    cadlink::Delivery createRow(const LayerRow& row) {
        using cadlink::Delivery;
        if (const std::optional<std::int16_t> family = numberedFamily(row.remarks)) {
            m_state.layerAddMode = *family;
            m_host.showNumberedForm();
            return Delivery::Taken;
        }
        cadlink::LayerRecord record = rowRecord(row, m_letter, m_input.standardNamesOnly, m_lookup);
        const cadlink::LayerDefinition definition = cadlink::layerDefinitionTexts(record, rowUse(row));
        if (const Delivery delivery = cadlink::sendAll(m_host, definition.create);
            delivery != Delivery::Taken) {
            return delivery;
        }
        const SentLinetype sent{record.linetype, record.name};
        m_state.created.add(std::move(record));
        // A family template is created but gets neither line type nor colour: it has no properties.
        for (const std::vector<std::u16string>& property : definition.properties) {
            if (const Delivery delivery = cadlink::sendAll(m_host, property); delivery != Delivery::Taken) {
                return delivery;
            }
        }
        // The notice of line types to load is given only after a run whose every text was taken.
        if (!definition.properties.empty() && !sent.linetype.empty() && !isContinuous(sent.linetype)) {
            m_outcome.linetypes.push_back(sent);
        }
        return Delivery::Taken;
    }

    // Layers offered before whose layer the run has not offered again (another drawing kind's layers,
    // numbered members made in an earlier run): offered after the new layers, once each, in their earlier
    // order, and created again in case the drawing lost them. The name created is the one the main
    // window's change recovers from the display name (standardPart), so that the layer it puts objects on
    // exists; a display name without "-" keeps the record's name.
    cadlink::Delivery offerSetAsideAgain() {
        using cadlink::Delivery;
        OfferedLayers offered(m_state.created);
        std::vector<cadlink::LayerRecord> setAside = m_state.created.setAside();
        for (cadlink::LayerRecord& record : setAside) {
            if (!offered.insert(record)) {
                continue;
            }
            record.name = standardPart(record.display).value_or(record.name);
            // A layer whose name cannot be typed stays offered as it was, but is not created.
            const cadlink::LayerDefinition definition =
                cadlink::layerDefinitionTexts(record, cadlink::LayerUse::Recreated);
            if (!definition.ok()) {
                m_outcome.leftOut.push_back(record.name.empty() ? std::u16string(kNoName)
                                                                : cadlink::visibleText(record.name));
            } else if (const Delivery delivery = cadlink::sendAll(m_host, definition.create);
                       delivery != Delivery::Taken) {
                return delivery;
            }
            m_state.created.add(std::move(record));
        }
        m_state.created.takeSetAside();
        return Delivery::Taken;
    }

    // A text AutoCAD LT did not take ends the run: nothing more is sent, the rest of a sequence least of
    // all, the list keeps what was offered, and the builder stays for another try.
    CreationOutcome notTaken(cadlink::Delivery delivery) {
        offerSetAsideLayers(m_state.created);
        m_host.enableCreation();
        m_outcome.delivery = delivery;
        return m_outcome;
    }

private:
    CreationHost& m_host;
    const CreationInput& m_input;
    ProgramLayerState& m_state;
    CreationOutcome& m_outcome;
    const std::u16string m_letter;
    const ColourLookup m_lookup;
};

// Why the redraw origin cannot be stored, or nothing when both boxes hold numbers.
std::optional<std::u16string> originProblem(const CreationInput& input, std::optional<double> x,
                                            std::optional<double> y) {
    if (x && y) {
        return std::nullopt;
    }
    return originNotANumberMessage(x ? std::nullopt : std::optional(std::u16string_view(input.originX)),
                                   y ? std::nullopt : std::optional(std::u16string_view(input.originY)));
}

}  // namespace

CreationOutcome runLayerCreation(CreationHost& host, const CreationInput& input, ProgramLayerState& state) {
    CreationOutcome outcome;
    // A drawing kind without layer rows changes nothing; the form says so.
    if (input.rows.empty()) {
        outcome.noLayerRows = true;
        return outcome;
    }
    // The origin is checked before anything is sent: a run that cannot store it does not start.
    const std::optional<double> originX = redrawOriginValue(input.originX);
    const std::optional<double> originY = redrawOriginValue(input.originY);
    if (std::optional<std::u16string> problem = originProblem(input, originX, originY)) {
        outcome.originMessage = std::move(*problem);
        return outcome;
    }
    // The rows were read into a vector before the run, so neither the numbered-layer form nor a new
    // start-up run of the builder while that form is open can disturb the walk.
    const ColourLookup lookup = [&host](std::u16string_view name) { return host.colourConstant(name); };
    const std::vector<LayerRow> rows = sendableRows(input, lookup, outcome.leftOut);
    if (rows.empty()) {
        return outcome;
    }
    host.offerChangeAndMove(std::u16string(kCreatedGuidance));
    CreationRun run(host, input, state, outcome);
    run.begin();
    for (const LayerRow& row : rows) {
        if (const cadlink::Delivery delivery = run.createRow(row); delivery != cadlink::Delivery::Taken) {
            return run.notTaken(delivery);
        }
    }
    host.enableCreation();
    if (const cadlink::Delivery delivery = run.offerSetAsideAgain(); delivery != cadlink::Delivery::Taken) {
        return run.notTaken(delivery);
    }
    state.redrawOriginX = *originX;
    state.redrawOriginY = *originY;
    // An empty list (every row was a family whose form added nothing) has nothing to choose.
    if (!state.created.empty()) {
        host.chooseFirstLayer();
    }
    host.hideBuilder();
    return outcome;
}

std::u16string leftOutMessage(const std::vector<std::u16string>& leftOut) {
    std::u16string message(kLeftOutMessage);
    for (const std::u16string& named : leftOut) {
        message += u"\r" + named;
    }
    return message;
}

}  // namespace builder

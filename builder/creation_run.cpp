#include "builder/creation_run.h"

#include <algorithm>
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

// How a row that cannot be typed into AutoCAD LT is named to the user: its layer name as it would have
// been, and the field that holds the text when it is not the name.
std::optional<std::u16string> refusal(const LayerRow& row, std::u16string_view letter, bool optionButton1) {
    const std::u16string name = standardLayerName(letter, row.object, row.element);
    if (name.empty()) {
        return std::u16string(kNoName);
    }
    if (!cadlink::createLayerTexts(name)) {
        return cadlink::visibleText(name);
    }
    if (!isTemplateElement(row.element) && !cadlink::linetypeTexts(rowLinetype(row.linetype), name)) {
        return cadlink::visibleText(name) + u"（線種：" + cadlink::visibleText(stddb::asText(row.linetype)) +
               u"）";
    }
    // The display name goes to Combo1, and from there into the main window's CHANGE texts.
    if (cadlink::answerProblem(displayName(optionButton1, row.content, name))) {
        return cadlink::visibleText(name) + u"（内容：" + cadlink::visibleText(stddb::asText(row.content)) +
               u"）";
    }
    return std::nullopt;
}

// Offers the entries that Combo1 offered before the run and that it does not offer now, in their order,
// without creating them again: what a run that cannot reach AutoCAD LT leaves, so that nothing the user
// has made disappears from the list.
void offerEarlierEntries(CreationHost& host, const std::vector<std::u16string>& earlierEntries) {
    std::set<std::u16string> offered;
    for (int i = 0; i < host.combo1Count(); ++i) {
        offered.insert(offeredLayer(host.combo1Item(i)));
    }
    for (const std::u16string& entry : earlierEntries) {
        if (offered.insert(offeredLayer(entry)).second) {
            host.addToCombo1(entry);
        }
    }
}

// Entries of ListBox6 that stand for a layer of their own (templates of numbered families end in "n").
int countCreatedEntries(const std::vector<std::u16string>& entries) {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const std::u16string& e) {
        return e.empty() || e.back() != u'n';
    }));
}

// One line of the origin message: which box, and what it holds.
std::u16string originLine(std::u16string_view box, std::u16string_view text) {
    if (text.empty()) {
        return std::u16string(box) + u"に数値が入力されていません。";
    }
    return std::u16string(box) + u"の「" + std::u16string(text) + u"」は数値ではありません。";
}

}  // namespace

std::u16string originNotANumberMessage(std::optional<std::u16string_view> textBox5,
                                       std::optional<std::u16string_view> textBox4) {
    std::u16string message;
    if (textBox5) {
        message += originLine(u"再線画時の左下隅の座標X", *textBox5) + u"\r";
    }
    if (textBox4) {
        message += originLine(u"再線画時の左下隅の座標Y", *textBox4) + u"\r";
    }
    return message +
           u"数値を入力してから、もう一度「レイヤー作成」を押してください。\r"
           u"レイヤーは作成していません。移動量は前回の値のままです。";
}

namespace {

// The rows a run sends: rows with text that cannot be typed into AutoCAD LT are left out whole before
// anything is sent, as if the database did not hold them, and named in leftOut for the form to show once
// the run is over. Family rows are the numbered-layer form's, which checks what it sends itself.
// refusedEntries counts the left-out rows that ListBox6 counts as layers of their own.
std::vector<LayerRow> sendableRows(const CreationInput& input, std::vector<std::u16string>& leftOut,
                                   int& refusedEntries) {
    std::vector<LayerRow> rows;
    const std::u16string rowLetter = lifeCycleLetter(input.stageIndex);
    for (const LayerRow& row : input.rows) {
        if (!numberedFamily(row.remarks)) {
            if (std::optional<std::u16string> named = refusal(row, rowLetter, input.optionButton1)) {
                leftOut.push_back(std::move(*named));
                refusedEntries += isTemplateElement(row.element) ? 0 : 1;
                continue;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

// One run of "レイヤー作成" over its sendable rows: the tables it fills, the slot the next layer takes and
// what the tables held before.
class CreationRun {
public:
    CreationRun(CreationHost& host, const CreationInput& input, ProgramLayerState& state,
                CreationOutcome& outcome)
        : m_host(host), m_input(input), m_state(state), m_outcome(outcome), m_tables(state.tables) {}

    // Sizes the tables: keeps the main window's earlier entries behind the new layers when it holds more.
    // The earlier entries and the tables as they were are kept aside: every layer offered before is
    // offered again after the run, whatever the run creates (offerEarlierEntriesAgain).
    void sizeTables(int refusedEntries) {
        const int n = std::max(0, countCreatedEntries(m_input.listBox6) - refusedEntries);
        const int earlier = m_host.combo1Count();
        m_before = m_tables;
        m_state.earlierEntries.clear();
        for (int i = 0; i < earlier; ++i) {
            m_state.earlierEntries.push_back(m_host.combo1Item(i));
        }
        if (earlier > n) {
            m_tables.redimPreserve(earlier);
            for (int i = 0; i < earlier; ++i) {
                m_tables.LayerDisplayNames[static_cast<std::size_t>(i) + 1] =
                    m_state.earlierEntries[static_cast<std::size_t>(i)];
            }
        } else {
            m_tables.redimPreserve(n);
        }
        // The earlier entries end here; whatever the numbered-layer form appends during the run lies beyond.
        m_carriedBound = m_tables.upperBound();
        m_host.clearCombo1();
    }

    // Creates the layer of one row (or opens the numbered-layer form for a family row) and gives it its
    // line type and colour; the delivery of the first text AutoCAD LT did not take, or Taken.
    cadlink::Delivery createRow(const LayerRow& row) {
        using cadlink::Delivery;
        const std::u16string letter = lifeCycleLetter(m_input.stageIndex);
        if (const std::optional<std::int16_t> family = numberedFamily(row.remarks)) {
            m_state.layerAddMode = *family;
            m_host.showNumberedForm();
        } else {
            // The tables never index past their end: they grow when s passes the upper bound (the
            // numbered-layer form may also have grown them meanwhile).
            m_tables.ensureIndex(m_s);
            const auto slot = static_cast<std::size_t>(m_s);
            const std::u16string name = standardLayerName(letter, row.object, row.element);
            const std::u16string display = displayName(m_input.optionButton1, row.content, name);
            if (const Delivery delivery = cadlink::sendAll(m_host, cadlink::createLayerTexts(name));
                delivery != Delivery::Taken) {
                return delivery;
            }
            m_host.addToCombo1(display);
            m_tables.LayerDisplayNames[slot] = display;
            m_tables.LayerNames[slot] = name;
        }

        // A family template is created but gets neither line type nor colour, and the next row takes
        // its slot. Family rows come here too: theirs end in "n" as templates do; one that does not would
        // give slot s the line type and colour of its row and advance s, as ListBox6's count expects.
        if (isTemplateElement(row.element)) {
            return Delivery::Taken;
        }
        return giveLinetypeAndColour(row);
    }

    // Entries the main window offered before whose layer the run has not offered again (another drawing
    // kind's layers, numbered members made in an earlier run): offered after the new layers, once each, in
    // their earlier order, and created again in case the drawing lost them. The standard name is recovered
    // from the display name (an entry without "-" keeps the name its table entry had). They take the slots
    // after the new layers up to the earlier bound, then new slots past whatever the numbered-layer form
    // added; their line type and colour entries come along from the slot they had.
    cadlink::Delivery offerEarlierEntriesAgain() {
        using cadlink::Delivery;
        std::set<std::u16string> offered;
        for (int i = 0; i < m_host.combo1Count(); ++i) {
            offered.insert(offeredLayer(m_host.combo1Item(i)));
        }
        for (std::size_t i = 0; i < m_state.earlierEntries.size(); ++i) {
            const std::u16string& display = m_state.earlierEntries[i];
            const std::size_t earlierSlot = i + 1;
            const bool hadSlot = earlierSlot <= static_cast<std::size_t>(m_before.upperBound());
            std::u16string name =
                standardPart(display).value_or(hadSlot ? m_before.LayerNames[earlierSlot] : display);
            if (!offered.insert(offeredLayer(display)).second) {
                continue;
            }
            // An entry whose name cannot be typed stays offered as it was, but is not created.
            if (const cadlink::Sequence create = cadlink::createLayerTexts(name); !create) {
                m_outcome.leftOut.push_back(name.empty() ? std::u16string(kNoName)
                                                         : cadlink::visibleText(name));
            } else if (const Delivery delivery = cadlink::sendAll(m_host, *create);
                       delivery != Delivery::Taken) {
                return delivery;
            }
            const auto slot = static_cast<std::size_t>(m_s <= m_carriedBound ? m_s++ : m_tables.growByOne());
            m_host.addToCombo1(display);
            m_tables.LayerDisplayNames[slot] = display;
            m_tables.LayerNames[slot] = std::move(name);
            m_tables.LayerLinetypes[slot] = hadSlot ? m_before.LayerLinetypes[earlierSlot] : std::u16string();
            m_tables.LayerColors[slot] = hadSlot ? m_before.LayerColors[earlierSlot] : 0;
        }
        return Delivery::Taken;
    }

    // A text AutoCAD LT did not take ends the run: nothing more is sent, the rest of a sequence least of
    // all, the list keeps what was offered, and the builder stays for another try.
    CreationOutcome notTaken(cadlink::Delivery delivery) {
        offerEarlierEntries(m_host, m_state.earlierEntries);
        m_state.earlierEntries.clear();
        m_host.enableCommandButton1();
        m_outcome.delivery = delivery;
        return m_outcome;
    }

private:
    cadlink::Delivery giveLinetypeAndColour(const LayerRow& row) {
        using cadlink::Delivery;
        m_tables.ensureIndex(m_s);
        const auto slot = static_cast<std::size_t>(m_s);
        const std::u16string linetype = rowLinetype(row.linetype);
        m_tables.LayerLinetypes[slot] = linetype;
        if (const Delivery delivery =
                cadlink::sendAll(m_host, cadlink::linetypeTexts(linetype, m_tables.LayerNames[slot]));
            delivery != Delivery::Taken) {
            return delivery;
        }
        if (!linetype.empty() && !isContinuous(linetype)) {
            m_outcome.linetypes.push_back(SentLinetype{linetype, m_tables.LayerNames[slot]});
        }
        const ColourLookup colourLookup = [this](std::u16string_view name) {
            return m_host.colourConstant(name);
        };
        const std::int64_t colour = rowColour(row.colour, colourLookup);
        if (const Delivery delivery =
                cadlink::sendAll(m_host, cadlink::colourTexts(colour, m_tables.LayerNames[slot]));
            delivery != Delivery::Taken) {
            return delivery;
        }
        m_tables.LayerColors[slot] = colour;
        ++m_s;
        return Delivery::Taken;
    }

    CreationHost& m_host;
    const CreationInput& m_input;
    ProgramLayerState& m_state;
    CreationOutcome& m_outcome;
    LayerTables& m_tables;
    LayerTables m_before;
    int m_carriedBound = 0;
    int m_s = 1;  // the slot of the next layer
};

}  // namespace

CreationOutcome runLayerCreation(CreationHost& host, const CreationInput& input, ProgramLayerState& state) {
    // A drawing kind without layer rows changes nothing; the form says so.
    if (input.rows.empty()) {
        CreationOutcome none;
        none.noLayerRows = true;
        return none;
    }
    // The origin is checked before anything is sent: a run that cannot store it does not start.
    const std::optional<double> originX = redrawOriginValue(input.textBox5);
    const std::optional<double> originY = redrawOriginValue(input.textBox4);
    if (!originX || !originY) {
        CreationOutcome noOrigin;
        noOrigin.originMessage = originNotANumberMessage(
            originX ? std::nullopt : std::optional(std::u16string_view(input.textBox5)),
            originY ? std::nullopt : std::optional(std::u16string_view(input.textBox4)));
        return noOrigin;
    }
    CreationOutcome outcome;
    int refusedEntries = 0;
    // The rows were read into a vector before the run, so neither the numbered-layer form nor a new
    // start-up run of the builder while that form is open can disturb the walk.
    const std::vector<LayerRow> rows = sendableRows(input, outcome.leftOut, refusedEntries);
    if (rows.empty()) {
        return outcome;
    }
    host.enableMainWindowActions(std::u16string(kCreatedGuidance));
    CreationRun run(host, input, state, outcome);
    run.sizeTables(refusedEntries);
    for (const LayerRow& row : rows) {
        if (const cadlink::Delivery delivery = run.createRow(row); delivery != cadlink::Delivery::Taken) {
            return run.notTaken(delivery);
        }
    }
    host.enableCommandButton1();
    if (const cadlink::Delivery delivery = run.offerEarlierEntriesAgain();
        delivery != cadlink::Delivery::Taken) {
        return run.notTaken(delivery);
    }
    state.earlierEntries.clear();

    state.redrawOriginX = *originX;
    state.redrawOriginY = *originY;

    // An empty Combo1 (every row was a family whose form added nothing) has nothing to select.
    if (host.combo1Count() > 0) {
        host.selectCombo1First();
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

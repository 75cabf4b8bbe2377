#include "builder/creation_run.h"

#include <algorithm>
#include <cstdint>

#include "builder/cascade.h"
#include "builder/colours.h"
#include "builder/layer_names.h"
#include "builder/redraw_origin.h"
#include "builder/value_text.h"
#include "cadlink/command_texts.h"

namespace builder {

namespace {

// Entries of ListBox6 that stand for a layer of their own (templates of numbered families end in "n").
int countCreatedEntries(const std::vector<std::u16string>& entries) {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const std::u16string& e) {
        return e.empty() || e.back() != u'n';
    }));
}

}  // namespace

CreationOutcome runLayerCreation(CreationHost& host, const CreationInput& input, ProgramLayerState& state) {
    // A drawing kind without layer rows changes nothing; the form says so.
    if (input.rows.empty()) {
        return CreationOutcome{true};
    }
    LayerTables& tables = state.tables;
    const ColourLookup colourLookup = [&host](std::u16string_view name) { return host.colourConstant(name); };

    host.enableMainWindowActions(std::u16string(kCreatedGuidance));

    // Size the tables: keep the main window's earlier entries behind the new layers when it holds more.
    const int n = countCreatedEntries(input.listBox6);
    const int earlier = host.combo1Count();
    if (earlier > n) {
        tables.redimPreserve(earlier);
        for (int i = 0; i < earlier; ++i) {
            tables.LayerDisplayNames[static_cast<std::size_t>(i) + 1] = host.combo1Item(i);
        }
    } else {
        tables.redimPreserve(n);
    }
    // The earlier entries end here; whatever the numbered-layer form appends during the run lies beyond.
    const int carriedBound = tables.upperBound();
    host.clearCombo1();

    // The rows were read into a vector before the loop, so neither the numbered-layer form nor a new
    // start-up run of the builder while that form is open can disturb the walk.
    int s = 1;
    for (const LayerRow& row : input.rows) {
        const std::u16string letter = lifeCycleLetter(input.stageIndex);
        if (const std::optional<std::int16_t> family = numberedFamily(row.remarks)) {
            state.layerAddMode = *family;
            host.showNumberedForm();
        } else {
            // The tables never index past their end: they grow when s passes the upper bound (the
            // numbered-layer form may also have grown them meanwhile).
            tables.ensureIndex(s);
            const auto slot = static_cast<std::size_t>(s);
            const std::u16string name = standardLayerName(letter, row.object, row.element);
            const std::u16string display = displayName(input.optionButton1, row.content, name);
            cadlink::sendAll(host, cadlink::createLayerTexts(name));
            host.addToCombo1(display);
            tables.LayerDisplayNames[slot] = display;
            tables.LayerNames[slot] = name;
        }

        // A family template is created but gets neither line type nor colour, and the next row takes
        // its slot. Family rows come here too: theirs end in "n" as templates do; one that does not would
        // give slot s the line type and colour of its row and advance s, as ListBox6's count expects.
        if (isTemplateElement(row.element)) {
            continue;
        }
        tables.ensureIndex(s);
        const auto slot = static_cast<std::size_t>(s);
        const std::u16string linetype = rowLinetype(row.linetype);
        tables.LayerLinetypes[slot] = linetype;
        cadlink::sendAll(host, cadlink::linetypeTexts(linetype, tables.LayerNames[slot]));

        const std::int64_t colour = rowColour(row.colour, colourLookup);
        cadlink::sendAll(host, cadlink::colourTexts(colour, tables.LayerNames[slot]));
        tables.LayerColors[slot] = colour;
        ++s;
    }
    host.enableCommandButton1();

    // Entries the main window offered before, past the new layers: offered again after them, with the
    // standard name recovered from the display name (kept as it was when the text holds no "-"). Members
    // that the numbered-layer form appended during this run are in Combo1 and the drawing already: they
    // are not created and offered a second time.
    while (s <= carriedBound) {
        const auto slot = static_cast<std::size_t>(s);
        if (auto derived = standardNameFromDisplayName(tables.LayerDisplayNames[slot])) {
            tables.LayerNames[slot] = std::move(*derived);
        }
        cadlink::sendAll(host, cadlink::createLayerTexts(tables.LayerNames[slot]));
        host.addToCombo1(tables.LayerDisplayNames[slot]);
        ++s;
    }

    // Text that is no number counts as 0 for its axis.
    state.redrawOriginX = redrawOriginValue(input.textBox5);
    state.redrawOriginY = redrawOriginValue(input.textBox4);

    // An empty Combo1 (every row was a family whose form added nothing) has nothing to select.
    if (host.combo1Count() > 0) {
        host.selectCombo1First();
    }
    host.hideBuilder();
    return CreationOutcome{};
}

}  // namespace builder

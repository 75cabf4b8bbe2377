#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "builder/layer_set.h"
#include "cadlink/drawing_access.h"

// The layer check of a drawing: every layer of the drawing judged against the standard layers of one
// drawing kind, and the standard layers the drawing lacks.
namespace layercheck {

enum class Verdict {
    Standard,            // a standard name with the standard's colour and line type
    OtherProperties,     // a standard name with another colour or line type (or spelt in other case)
    NumberedAllowed,     // a numbered member of a family that the drawing kind lets grow
    NumberedNotAllowed,  // looks like a numbered member, but the family or its number is not allowed
    NotStandard,         // none of the above
    Forbidden,           // a character AutoCAD LT refuses in names, or one its code page cannot hold
    Fixed,               // "0" and "DEFPOINTS", which every drawing holds
    XrefDependent,       // a layer of an external reference, named by AutoCAD LT ("現況図|D-BGD")
    Missing,             // a standard layer the drawing lacks
};
inline constexpr std::size_t kVerdictCount = 9;
inline constexpr std::array<Verdict, kVerdictCount> kVerdicts = {
    Verdict::Standard,    Verdict::OtherProperties, Verdict::NumberedAllowed, Verdict::NumberedNotAllowed,
    Verdict::NotStandard, Verdict::Forbidden,       Verdict::Fixed,           Verdict::XrefDependent,
    Verdict::Missing};

// The counts and the window's filter index by a verdict's value: kVerdicts lists every verdict in the order
// of its value.
constexpr bool verdictsInOrder() {
    for (std::size_t i = 0; i < kVerdicts.size(); ++i) {
        if (static_cast<std::size_t>(kVerdicts[i]) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(Verdict::Missing) + 1 == kVerdictCount;
}
static_assert(verdictsInOrder(), "kVerdicts lists the verdicts in the order of their values");

// A name as the check's notes and tiermark-check's messages quote it: 「name」.
std::u16string quoted(std::u16string_view text);

// How the check window, its CSV and tiermark-check name a verdict.
std::u16string_view verdictText(Verdict verdict);

// Whether a verdict asks the user to do something to the drawing. The standard, allowed numbered members,
// the fixed layers and the layers of external references (which the user cannot rename) do not.
bool isFinding(Verdict verdict);

// The standard of one drawing kind at one stage: its layers as "レイヤー作成" creates them and its families
// of numbered layers.
struct Standard {
    std::vector<cadlink::LayerRecord> layers;
    std::vector<builder::PlannedFamily> families;
    std::u16string letter;  // the life-cycle letter of the names
};
Standard standardOf(const std::vector<builder::LayerRow>& rows, int stageIndex,
                    const builder::ColourLookup& colours);

// One row of the check.
struct Row {
    Verdict verdict = Verdict::NotStandard;
    std::u16string name;                      // the drawing's layer (the standard name for Missing)
    std::optional<int> colour;                // the drawing's (none for Missing)
    std::optional<std::uint32_t> trueColour;  // the drawing's true colour (0xRRGGBB), where it has one
    std::u16string linetype;                  // the drawing's
    std::u16string standardName;        // the standard layer or the family template it was judged against
    std::optional<int> standardColour;  // the standard's, where one applies
    std::u16string standardLinetype;
    std::u16string note;  // why, in Japanese
    // For a layer of an external reference: the verdict on its own name (the part after the last "|"),
    // given for information.
    std::optional<Verdict> referenced;
};

// The colour of a row as the window and the CSV show it: the true colour as "255,128,0" where the layer
// has one, else the colour number; empty for none.
std::u16string colourText(const std::optional<int>& colour, const std::optional<std::uint32_t>& trueColour);

struct Result {
    std::vector<Row> rows;  // the drawing's layers in its order, then the missing standard layers
    std::array<int, kVerdictCount> counts{};
    int count(Verdict verdict) const { return counts[static_cast<std::size_t>(verdict)]; }
    int findings() const;
};

// The counts of every verdict in one line, as the window shows them under the table and tiermark-check
// prints them for each file: "標準：12　標準名（色・線種が異なる）：1　…".
std::u16string countsText(const Result& result);

// Judges each layer of the drawing. Names are compared as AutoCAD LT compares them: without regard to the
// case of ASCII letters (a standard name spelt in other case is noted). Line types compare the same way;
// a numbered member's colour is the user's choice and not judged. A layer with a true colour has the
// standard's colour only where that colour is the standard colour number's own (1 is 255,0,0). A layer
// of an external reference gets a verdict of its own; its own name is judged too, for information, and
// counts for nothing else (a standard layer that only an external reference holds is still missing).
Result checkLayers(const std::vector<cadlink::DrawingLayer>& drawing, const Standard& standard);

// The rows as a CSV file that Excel opens with Japanese intact: UTF-8 with a byte order mark, CR LF line
// ends, a heading line, every field in double quotes. Layer names come from drawings other people send: a
// field that begins with "=", "+", "-", "@", a tab or a CR, which a spreadsheet would take as the start of
// a formula, is written with an apostrophe before it ("'=1+1"), so that it stays text.
std::string csvOf(const std::vector<Row>& rows);
// One field of such a CSV file: in double quotes, a formula start defused.
std::u16string csvField(std::u16string_view text);

}  // namespace layercheck

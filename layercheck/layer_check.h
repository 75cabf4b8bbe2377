#pragma once

#include <array>
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
    Missing,             // a standard layer the drawing lacks
};
inline constexpr std::size_t kVerdictCount = 8;
inline constexpr std::array<Verdict, kVerdictCount> kVerdicts = {
    Verdict::Standard,    Verdict::OtherProperties, Verdict::NumberedAllowed, Verdict::NumberedNotAllowed,
    Verdict::NotStandard, Verdict::Forbidden,       Verdict::Fixed,           Verdict::Missing};

// How the check window and its CSV name a verdict.
std::u16string_view verdictText(Verdict verdict);

// The standard of one drawing kind at one stage: its layers as "レイヤー作成" creates them and its families
// of numbered layers.
struct Standard {
    std::vector<builder::PlannedLayer> layers;
    std::vector<builder::PlannedFamily> families;
    std::u16string letter;  // the life-cycle letter of the names
};
Standard standardOf(const std::vector<builder::LayerRow>& rows, int stageIndex,
                    const builder::ColourLookup& colours);

// One row of the check.
struct Row {
    Verdict verdict = Verdict::NotStandard;
    std::u16string name;                // the drawing's layer (the standard name for Missing)
    std::optional<int> colour;          // the drawing's (none for Missing)
    std::u16string linetype;            // the drawing's
    std::u16string standardName;        // the standard layer or the family template it was judged against
    std::optional<int> standardColour;  // the standard's, where one applies
    std::u16string standardLinetype;
    std::u16string note;  // why, in Japanese
};

struct Result {
    std::vector<Row> rows;  // the drawing's layers in its order, then the missing standard layers
    std::array<int, kVerdictCount> counts{};
    int count(Verdict verdict) const { return counts[static_cast<std::size_t>(verdict)]; }
};

// Judges each layer of the drawing. Names are compared as AutoCAD LT compares them: without regard to the
// case of ASCII letters (a standard name spelt in other case is noted). Line types compare the same way;
// a numbered member's colour is the user's choice and not judged.
Result checkLayers(const std::vector<cadlink::DrawingLayer>& drawing, const Standard& standard);

// The rows as a CSV file that Excel opens with Japanese intact: UTF-8 with a byte order mark, CR LF line
// ends, a heading line, every field in double quotes.
std::string csvOf(const std::vector<Row>& rows);

}  // namespace layercheck

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/window_system.h"
#include "common/result.h"

namespace cadlink {

// One layer of a drawing's layer table, as a check of the drawing compares it with the standard.
struct DrawingLayer {
    std::u16string name;
    int colour = 7;           // the AutoCAD colour number, 1 to 255 (a layer that is off keeps its number)
    std::u16string linetype;  // the line type's name as the drawing spells it
    // The layer's true colour (0xRRGGBB), where it has one beside its colour number.
    std::optional<std::uint32_t> trueColour = std::nullopt;
    // A layer of an external reference ("現況図|D-BGD"): AutoCAD LT makes and names it from the referenced
    // drawing, and the user cannot rename it.
    bool xrefDependent = false;
    bool operator==(const DrawingLayer&) const = default;
};

// Read-back of the target drawing's layer table, beside the command channel, for the layer changer.
// Backends that cannot read the drawing (AutoCAD LT itself) say so through available().
class DrawingAccess {
public:
    virtual ~DrawingAccess() = default;

    // Whether this backend can read the drawing's layers at all.
    virtual bool available() const = 0;

    // The drawing's layers, in the drawing's order ("0" and "DEFPOINTS" included).
    virtual tiermark::Result<std::vector<std::u16string>> layerNames(WindowHandle window) = 0;

    // Gives a layer a new name. The error is the drawing's own description of the refusal (the layer does not
    // exist, the new name exists already or holds a character a layer name may not hold, the layer is "0" or
    // "DEFPOINTS").
    virtual tiermark::Result<void> renameLayer(WindowHandle window, std::u16string_view oldName,
                                               std::u16string_view newName) = 0;

    // The drawing's layers with colour and line type, in the drawing's order. Backends that list only names
    // say so with an error.
    virtual tiermark::Result<std::vector<DrawingLayer>> layerTable(WindowHandle window);

    // The drawing's current layer (CLAYER), which a merge never takes away. Empty when the backend cannot
    // tell (AutoCAD LT itself: nothing comes back from its command line).
    virtual tiermark::Result<std::u16string> currentLayer(WindowHandle window);

    // Whether the drawing holds a layer of that name (compared as the drawing compares layer names,
    // without regard to the case of ASCII letters). Built on layerNames.
    tiermark::Result<bool> hasLayer(WindowHandle window, std::u16string_view name);
};

// The backend for AutoCAD LT itself: it offers no read-back, so the listing is an error that says so.
class NullDrawingAccess final : public DrawingAccess {
public:
    bool available() const override { return false; }
    tiermark::Result<std::vector<std::u16string>> layerNames(WindowHandle window) override;
    tiermark::Result<void> renameLayer(WindowHandle window, std::u16string_view oldName,
                                       std::u16string_view newName) override;
};

inline constexpr const char* kNoLayerTableMessage = "この図面からは画層の色と線種を読み取れません。";

inline constexpr const char* kNoReadBackMessage =
    "AutoCAD LT では図面の画層を読み取れないため、一覧は空です。";

}  // namespace cadlink

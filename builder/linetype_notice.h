#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cadlink/drawing_access.h"

// Line types that AutoCAD LT has not loaded: "-Layer"'s Ltype takes only a line type the drawing has
// loaded; with any other it says so and the layer keeps Continuous, and nothing of that comes back to the
// program. So after "レイヤー作成" the user is told which line types the layers just made need loaded.
namespace builder {

// A line type that a run gave a layer (anything but Continuous, which every drawing has).
struct SentLinetype {
    std::u16string linetype;
    std::u16string layer;
    bool operator==(const SentLinetype&) const = default;
};

// Whether the name is Continuous, which needs no loading (compared as AutoCAD LT compares names).
bool isContinuous(std::u16string_view linetype);

// The line types to tell of, once each, in the order the run sent them.
//   - Where the drawing's layer table can be read (the stand-in), exactly those that some layer did not
//     get: the drawing has not loaded them. Told after every run that meets them.
//   - Where it cannot (AutoCAD LT), every line type sent, as those the drawing must have loaded, less the
//     ones told before for this drawing (toldBefore, which takes the ones told now).
std::vector<std::u16string> linetypesToTell(const std::vector<SentLinetype>& sent,
                                            const std::optional<std::vector<cadlink::DrawingLayer>>& table,
                                            std::set<std::u16string>& toldBefore);

// The message: certain when the drawing's table showed the line types missing, else as the line types the
// drawing must have loaded.
std::u16string linetypeNoticeMessage(const std::vector<std::u16string>& linetypes, bool certain);

}  // namespace builder

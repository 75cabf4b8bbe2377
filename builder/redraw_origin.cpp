#include "builder/redraw_origin.h"

#include <cmath>

#include "common/numtext.h"

namespace builder {

namespace {

constexpr double kMargin = 100.0;  // millimetres added to the paper side before scaling

}  // namespace

RedrawOriginTexts computeRedrawOrigin(std::u16string_view ratio, std::u16string_view x, std::u16string_view y,
                                      std::u16string_view shortSide, std::u16string_view longSide) {
    const auto r = tiermark::parseTypedNumber(ratio);
    const auto sx = tiermark::parseTypedNumber(x);
    const auto sy = tiermark::parseTypedNumber(y);
    const auto shortMm = tiermark::parseTypedNumber(shortSide);
    const auto longMm = tiermark::parseTypedNumber(longSide);
    const RedrawOriginTexts mirror{std::u16string(x), std::u16string(y)};
    if (!r || !sx || !sy || !shortMm || !longMm) {
        return mirror;
    }
    const double originX = *sx + *r * (*shortMm + kMargin);
    const double originY = *sy + *r * (*longMm + kMargin);
    if (!std::isfinite(originX) || !std::isfinite(originY)) {
        return mirror;
    }
    return {tiermark::shortestDecimalU16(originX), tiermark::shortestDecimalU16(originY)};
}

std::optional<double> redrawOriginValue(std::u16string_view text) {
    return tiermark::parseTypedNumber(text);
}

}  // namespace builder

#include "cadsim/core/view.h"

#include <algorithm>
#include <cmath>

#include "common/ascii.h"

namespace cadsim {

std::uint32_t colorRgb(int n) {
    static constexpr std::uint32_t kFirst[] = {0xFFFFFF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF,
                                               0x0000FF, 0xFF00FF, 0xFFFFFF, 0x808080, 0xC0C0C0};
    if (n >= 1 && n <= 9) {
        return kFirst[n];
    }
    if (n >= 250 && n <= 255) {
        const auto grey = static_cast<std::uint32_t>(51 + (n - 250) * 40);
        return (grey << 16) | (grey << 8) | grey;
    }
    if (n < 10 || n > 249) {
        return 0xFFFFFF;
    }
    // 10..249: 24 hues of 15 degrees, ten shades each (odd shades paler).
    const double hue = (n / 10 - 1) * 15.0;
    const int shade = n % 10;
    static constexpr double kValue[] = {1.0, 1.0, 0.8, 0.8, 0.6, 0.6, 0.5, 0.5, 0.3, 0.3};
    const double value = kValue[shade];
    const double saturation = shade % 2 == 0 ? 1.0 : 0.5;
    const double c = value * saturation;
    const double h = hue / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double r = 0;
    double g = 0;
    double b = 0;
    switch (static_cast<int>(h)) {
        case 0:
            r = c;
            g = x;
            break;
        case 1:
            r = x;
            g = c;
            break;
        case 2:
            g = c;
            b = x;
            break;
        case 3:
            g = x;
            b = c;
            break;
        case 4:
            r = x;
            b = c;
            break;
        default:
            r = c;
            b = x;
            break;
    }
    const double m = value - c;
    auto channel = [m](double v) { return static_cast<std::uint32_t>(std::lround((v + m) * 255.0)); };
    return (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

Dash dashOf(std::u16string_view lineType) {
    const std::u16string upper = tiermark::asciiUppercased(lineType);
    auto starts = [&](std::u16string_view prefix) { return upper.compare(0, prefix.size(), prefix) == 0; };
    if (starts(u"DASHDOT") || starts(u"CENTER") || upper == u"一点鎖線" || starts(u"ACAD_ISO04") ||
        starts(u"ACAD_ISO10")) {
        return Dash::DashDot;
    }
    if (starts(u"PHANTOM") || starts(u"DIVIDE") || upper == u"二点鎖線" || starts(u"ACAD_ISO05") ||
        starts(u"ACAD_ISO12")) {
        return Dash::DashDotDot;
    }
    if (starts(u"DOT") || upper == u"点線" || starts(u"ACAD_ISO07")) {
        return Dash::Dotted;
    }
    if (starts(u"DASHED") || starts(u"HIDDEN") || upper == u"破線" || starts(u"ACAD_ISO") ||
        starts(u"BORDER")) {
        return Dash::Dashed;
    }
    return Dash::Solid;
}

namespace {

double textWidth(const DrawingObject& o) {
    return 0.8 * o.height * static_cast<double>(std::max<std::size_t>(1, o.text.size()));
}

void grow(Extents& e, Point p) {
    e.min.x = std::min(e.min.x, p.x);
    e.min.y = std::min(e.min.y, p.y);
    e.max.x = std::max(e.max.x, p.x);
    e.max.y = std::max(e.max.y, p.y);
}

// The extents of one object: a line by its ends, a circle by its square, a text by its box.
Extents objectExtents(const DrawingObject& o) {
    Extents e{o.position, o.position};
    switch (o.kind) {
        case ObjectKind::Line:
            grow(e, o.end);
            break;
        case ObjectKind::Circle:
            grow(e, {o.position.x - o.radius, o.position.y - o.radius});
            grow(e, {o.position.x + o.radius, o.position.y + o.radius});
            break;
        case ObjectKind::Text:
            grow(e, {o.position.x + textWidth(o), o.position.y + o.height});
            break;
    }
    return e;
}

}  // namespace

std::optional<Extents> drawingExtents(const Drawing& drawing) {
    if (drawing.objects().empty()) {
        return std::nullopt;
    }
    Extents e = objectExtents(drawing.objects().front());
    for (const DrawingObject& o : drawing.objects()) {
        const Extents own = objectExtents(o);
        grow(e, own.min);
        grow(e, own.max);
    }
    return e;
}

double distanceTo(const DrawingObject& o, Point p) {
    switch (o.kind) {
        case ObjectKind::Line: {
            const double dx = o.end.x - o.position.x;
            const double dy = o.end.y - o.position.y;
            const double length2 = dx * dx + dy * dy;
            double t = length2 > 0 ? ((p.x - o.position.x) * dx + (p.y - o.position.y) * dy) / length2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            return std::hypot(p.x - (o.position.x + t * dx), p.y - (o.position.y + t * dy));
        }
        case ObjectKind::Circle:
            return std::fabs(std::hypot(p.x - o.position.x, p.y - o.position.y) - o.radius);
        case ObjectKind::Text: {
            const double outX = std::max({o.position.x - p.x, 0.0, p.x - (o.position.x + textWidth(o))});
            const double outY = std::max({o.position.y - p.y, 0.0, p.y - (o.position.y + o.height)});
            return std::hypot(outX, outY);
        }
    }
    return INFINITY;
}

std::vector<int> objectsInBox(const Drawing& drawing, Point from, Point to, BoxKind kind) {
    const bool crossing = kind == BoxKind::ByDirection ? to.x < from.x : kind == BoxKind::Crossing;
    const Point low{std::min(from.x, to.x), std::min(from.y, to.y)};
    const Point high{std::max(from.x, to.x), std::max(from.y, to.y)};
    std::vector<int> ids;
    for (const DrawingObject& o : drawing.objects()) {
        const Extents e = objectExtents(o);
        const bool inside = e.min.x >= low.x && e.max.x <= high.x && e.min.y >= low.y && e.max.y <= high.y;
        const bool touching = e.max.x >= low.x && e.min.x <= high.x && e.max.y >= low.y && e.min.y <= high.y;
        if (crossing ? touching : inside) {
            ids.push_back(o.id);
        }
    }
    return ids;
}

int objectAt(const Drawing& drawing, Point p, double tolerance) {
    int best = 0;
    double bestDistance = tolerance;
    for (const DrawingObject& o : drawing.objects()) {
        const double d = distanceTo(o, p);
        if (d <= bestDistance) {
            best = o.id;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace cadsim

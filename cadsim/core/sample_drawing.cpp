#include "cadsim/core/sample_drawing.h"

namespace cadsim {

namespace {

DrawingObject line(std::u16string layer, Point a, Point b) {
    DrawingObject o;
    o.kind = ObjectKind::Line;
    o.layer = std::move(layer);
    o.position = a;
    o.end = b;
    return o;
}

DrawingObject circle(std::u16string layer, Point centre, double radius) {
    DrawingObject o;
    o.kind = ObjectKind::Circle;
    o.layer = std::move(layer);
    o.position = centre;
    o.radius = radius;
    return o;
}

DrawingObject text(std::u16string layer, Point at, std::u16string value) {
    DrawingObject o;
    o.kind = ObjectKind::Text;
    o.layer = std::move(layer);
    o.position = at;
    o.text = std::move(value);
    o.height = 5;
    return o;
}

}  // namespace

Drawing sampleDrawing() {
    Drawing d;
    d.addLayer(u"外形線");
    d.setColor(u"外形線", 3);
    d.addLayer(u"寸法");
    d.setColor(u"寸法", 1);
    d.loadLineType(u"DASHED");
    d.setLineType(u"寸法", u"DASHED");
    d.addObject(line(u"外形線", {10, 10}, {110, 10}));
    d.addObject(line(u"外形線", {110, 10}, {110, 80}));
    d.addObject(line(u"外形線", {110, 80}, {10, 80}));
    d.addObject(line(u"外形線", {10, 80}, {10, 10}));
    d.addObject(circle(u"0", {60, 45}, 20));
    d.addObject(circle(u"外形線", {140, 45}, 10));
    d.addObject(line(u"寸法", {10, 0}, {110, 0}));
    d.addObject(text(u"寸法", {50, -8}, u"100"));
    d.addObject(text(u"0", {20, 90}, u"平面図"));
    return d;
}

}  // namespace cadsim

#include "cadsim/app/drawing_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "cadsim/core/view.h"

namespace cadsim {

namespace {
constexpr double kMargin = 20;
constexpr double kPickPixels = 6;

QColor qcolor(std::uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}
}  // namespace

DrawingCanvas::DrawingCanvas(StandIn& standIn, QWidget* parent) : QWidget(parent), m_standIn(standIn) {
    setMinimumSize(360, 260);
    setMouseTracking(false);
}

DrawingCanvas::Transform DrawingCanvas::transform() const {
    Transform t;
    const auto extents = drawingExtents(m_standIn.drawing());
    if (!extents) {
        return t;
    }
    const double w = std::max(1.0, extents->max.x - extents->min.x);
    const double h = std::max(1.0, extents->max.y - extents->min.y);
    t.scale = std::min((width() - 2 * kMargin) / w, (height() - 2 * kMargin) / h);
    if (t.scale <= 0) {
        t.scale = 1;
    }
    t.offsetX = kMargin - extents->min.x * t.scale + ((width() - 2 * kMargin) - w * t.scale) / 2;
    t.offsetY = height() - kMargin + extents->min.y * t.scale - ((height() - 2 * kMargin) - h * t.scale) / 2;
    return t;
}

QPointF DrawingCanvas::toScreen(const Transform& t, Point p) const {
    return QPointF(t.offsetX + p.x * t.scale, t.offsetY - p.y * t.scale);
}

Point DrawingCanvas::toWorld(const Transform& t, QPointF p) const {
    return Point{(p.x() - t.offsetX) / t.scale, (t.offsetY - p.y()) / t.scale};
}

void DrawingCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(33, 40, 48));
    painter.setRenderHint(QPainter::Antialiasing);
    const Transform t = transform();
    const Drawing& drawing = m_standIn.drawing();
    const std::vector<int>& selection = m_standIn.interpreter().selection();
    for (const DrawingObject& o : drawing.objects()) {
        const Layer* layer = drawing.findLayer(o.layer);
        const bool picked = std::find(selection.begin(), selection.end(), o.id) != selection.end();
        QPen pen(qcolor(colorRgb(layer != nullptr ? layer->color : kDefaultColor)));
        pen.setWidthF(picked ? 3.0 : 1.2);
        if (picked) {
            pen.setStyle(Qt::DashLine);
        }
        painter.setPen(pen);
        switch (o.kind) {
            case ObjectKind::Line:
                painter.drawLine(toScreen(t, o.position), toScreen(t, o.end));
                break;
            case ObjectKind::Circle:
                painter.drawEllipse(toScreen(t, o.position), o.radius * t.scale, o.radius * t.scale);
                break;
            case ObjectKind::Text: {
                QFont font = painter.font();
                font.setPixelSize(std::max(8, static_cast<int>(o.height * t.scale)));
                painter.setFont(font);
                painter.drawText(toScreen(t, o.position), QString::fromStdU16String(o.text));
                break;
            }
        }
    }
    if (m_standIn.interpreter().waitingForObjects()) {
        painter.setPen(QColor(255, 220, 120));
        painter.drawText(QPointF(8, 16), QStringLiteral("Select objects: left click picks, right click confirms"));
    }
}

void DrawingCanvas::mousePressEvent(QMouseEvent* event) {
    Interpreter& interpreter = m_standIn.interpreter();
    if (!interpreter.waitingForObjects()) {
        return;
    }
    if (event->button() == Qt::RightButton) {
        (void)interpreter.confirmSelection();
    } else if (event->button() == Qt::LeftButton) {
        const Transform t = transform();
        const int id = objectAt(m_standIn.drawing(), toWorld(t, event->position()), kPickPixels / t.scale);
        if (id != 0) {
            (void)interpreter.pick(id);
        }
    }
    m_standIn.changed();
}

}  // namespace cadsim

#include "cadsim/app/drawing_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "cadsim/core/view.h"

namespace cadsim {

namespace {
constexpr double kMargin = 20;
constexpr double kPickPixels = 6;
constexpr double kDragPixels = 5;

Qt::PenStyle penStyle(Dash dash) {
    switch (dash) {
        case Dash::Dashed:
            return Qt::DashLine;
        case Dash::DashDot:
            return Qt::DashDotLine;
        case Dash::DashDotDot:
            return Qt::DashDotDotLine;
        case Dash::Dotted:
            return Qt::DotLine;
        case Dash::Solid:
            break;
    }
    return Qt::SolidLine;
}

QColor qcolor(std::uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
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
        pen.setWidthF(picked ? 2.0 : 1.2);
        pen.setStyle(penStyle(dashOf(layer != nullptr ? layer->lineType : std::u16string(kContinuous))));
        if (picked) {
            // A picked object glows under its own pen.
            QPen glow(QColor(255, 230, 90, 140));
            glow.setWidthF(7.0);
            painter.setPen(glow);
            drawObject(painter, t, o);
        }
        painter.setPen(pen);
        drawObject(painter, t, o);
    }
    if (m_dragFrom) {
        // Window selection (to the right) in a solid blue box, crossing (to the left) in a dashed green one.
        const bool crossing = m_dragTo.x() < m_dragFrom->x();
        QPen box(crossing ? QColor(90, 200, 120) : QColor(90, 140, 255));
        box.setStyle(crossing ? Qt::DashLine : Qt::SolidLine);
        painter.setPen(box);
        painter.setBrush(crossing ? QColor(90, 200, 120, 40) : QColor(90, 140, 255, 40));
        painter.drawRect(QRectF(*m_dragFrom, m_dragTo).normalized());
        painter.setBrush(Qt::NoBrush);
    }
    if (m_standIn.interpreter().waitingForObjects()) {
        painter.setPen(QColor(255, 220, 120));
        painter.drawText(QPointF(8, height() - 8),
                         QStringLiteral("Select objects: click or drag to pick, right click confirms"));
    }
}

void DrawingCanvas::drawObject(QPainter& painter, const Transform& t, const DrawingObject& o) const {
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

void DrawingCanvas::mousePressEvent(QMouseEvent* event) {
    Interpreter& interpreter = m_standIn.interpreter();
    if (!interpreter.waitingForObjects()) {
        return;
    }
    if (event->button() == Qt::RightButton) {
        m_dragFrom.reset();
        (void)interpreter.confirmSelection();
        m_standIn.changed();
    } else if (event->button() == Qt::LeftButton) {
        m_dragFrom = event->position();
        m_dragTo = event->position();
    }
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragFrom) {
        m_dragTo = event->position();
        update();
    }
}

// A click picks the object under the pointer; a drag picks the objects of the box.
void DrawingCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragFrom || event->button() != Qt::LeftButton) {
        return;
    }
    const QPointF from = *m_dragFrom;
    m_dragFrom.reset();
    Interpreter& interpreter = m_standIn.interpreter();
    if (!interpreter.waitingForObjects()) {
        update();
        return;
    }
    const Transform t = transform();
    const QPointF to = event->position();
    if (std::abs(to.x() - from.x()) + std::abs(to.y() - from.y()) < kDragPixels) {
        const int id = objectAt(m_standIn.drawing(), toWorld(t, to), kPickPixels / t.scale);
        if (id != 0) {
            (void)interpreter.pick(id);
        }
    } else {
        for (int id : objectsInBox(m_standIn.drawing(), toWorld(t, from), toWorld(t, to))) {
            (void)interpreter.pick(id);
        }
    }
    update();
    m_standIn.changed();
}

}  // namespace cadsim

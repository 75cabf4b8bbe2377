#pragma once

#include <QPainter>
#include <QWidget>
#include <optional>

#include "cadsim/endpoint/stand_in.h"

namespace cadsim {

// The drawing on a small canvas: objects in their layer's colour on a dark ground, picked ones highlighted.
// While the command line waits for objects, a left click picks the object under the pointer and a right
// click confirms the selection.
class DrawingCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DrawingCanvas(StandIn& standIn, QWidget* parent = nullptr);

    // Where a drawing point shows on the canvas at its current size, and back.
    QPointF screenPoint(Point p) const { return toScreen(transform(), p); }
    Point drawingPoint(QPointF p) const { return toWorld(transform(), p); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Transform {
        double scale = 1;
        double offsetX = 0;
        double offsetY = 0;
    };
    Transform transform() const;
    QPointF toScreen(const Transform& t, Point p) const;
    Point toWorld(const Transform& t, QPointF p) const;
    void drawObject(QPainter& painter, const Transform& t, const DrawingObject& o) const;

    StandIn& m_standIn;
    std::optional<QPointF> m_dragFrom;  // where the left button went down while objects are awaited
    QPointF m_dragTo;
};

}  // namespace cadsim

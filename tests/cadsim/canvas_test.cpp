#include "cadsim/app/drawing_canvas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "cadsim/app/main_window.h"
#include "cadsim/core/sample_drawing.h"

namespace cadsim {
namespace {

// A mouse button pressed or released over the widget, as the platform would deliver it (no Qt Test: the
// Windows build of Qt leaves its test library out).
void mouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

class Canvas : public ::testing::Test {
protected:
    Canvas() : m_standIn(4242, u"図面1.dwg", sampleDrawing()), m_canvas(m_standIn) {
        m_canvas.resize(400, 300);
    }
    void click(Point at, Qt::MouseButton button) {
        const QPoint point = m_canvas.screenPoint(at).toPoint();
        mouse(m_canvas, QEvent::MouseButtonPress, button, point);
        mouse(m_canvas, QEvent::MouseButtonRelease, button, point);
    }
    StandIn m_standIn;
    DrawingCanvas m_canvas;
};

TEST_F(Canvas, MapsDrawingPointsToTheScreenAndBack) {
    for (Point p : {Point{10, 10}, Point{150, 90}, Point{60, -8}}) {
        const QPointF screen = m_canvas.screenPoint(p);
        EXPECT_TRUE(m_canvas.rect().contains(screen.toPoint())) << p.x << "," << p.y;
        const Point back = m_canvas.drawingPoint(screen);
        EXPECT_NEAR(back.x, p.x, 1e-9);
        EXPECT_NEAR(back.y, p.y, 1e-9);
    }
    EXPECT_LT(m_canvas.screenPoint({10, 80}).y(), m_canvas.screenPoint({10, 10}).y());  // y grows upwards
}

TEST_F(Canvas, LeftClicksPickWhileObjectsAreAwaitedAndARightClickConfirms) {
    click({60, 25}, Qt::LeftButton);  // not waiting yet: nothing happens
    EXPECT_TRUE(m_standIn.interpreter().selection().empty());

    m_standIn.interpreter().type(u"\x1b\x1b-group\rC\rKESTRA\rC\r");
    click({60, 25}, Qt::LeftButton);   // the rim of the big circle
    click({110, 45}, Qt::LeftButton);  // the right edge of the outline
    click({60, 45}, Qt::LeftButton);   // empty space in the middle
    EXPECT_EQ(m_standIn.interpreter().selection(), (std::vector<int>{5, 2}));
    click({0, 0}, Qt::RightButton);
    ASSERT_EQ(m_standIn.drawing().groups().size(), 1u);
    EXPECT_EQ(m_standIn.drawing().groups()[0].members, (std::vector<int>{5, 2}));
    EXPECT_FALSE(m_standIn.interpreter().waitingForObjects());
}

TEST_F(Canvas, ADragPicksTheObjectsOfItsBox) {
    m_standIn.interpreter().type(u"-group\rC\rBOX\r\r");
    const QPoint from = m_canvas.screenPoint({35, 70}).toPoint();
    const QPoint to = m_canvas.screenPoint({85, 20}).toPoint();
    mouse(m_canvas, QEvent::MouseButtonPress, Qt::LeftButton, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), m_canvas.mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m_canvas, &move);
    mouse(m_canvas, QEvent::MouseButtonRelease, Qt::LeftButton, to);
    EXPECT_EQ(m_standIn.interpreter().selection(), (std::vector<int>{5}));
}

TEST(StandInWindows, CarryTheTitlesDiscoveryLooksFor) {
    StandIn standIn(4242, u"図面1.dwg", sampleDrawing());
    MainWindow main(standIn);
    TextWindow text(standIn);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("AutoCAD LT - [図面1.dwg]"));
    EXPECT_EQ(text.windowTitle(), QStringLiteral("AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - 図面1.dwg"));
}

}  // namespace
}  // namespace cadsim

// A list's chosen item while another control has the focus: drawn in the highlight as when the list has it,
// as a Windows list box shows it, and not in the pale inactive highlight of Windows' palette.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <memory>

#include "ui/controls.h"

namespace {

class ChosenItems : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        m_saved = QApplication::palette();
        QPalette windowsLike = m_saved;
        windowsLike.setColor(QPalette::Active, QPalette::Highlight, QColor(0, 120, 215));
        windowsLike.setColor(QPalette::Active, QPalette::HighlightedText, Qt::white);
        windowsLike.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0xF0, 0xF0, 0xF0));
        windowsLike.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            windowsLike.setColor(group, QPalette::Base, Qt::white);
        }
        QApplication::setPalette(windowsLike);
    }
    void TearDown() override { QApplication::setPalette(m_saved); }
    QPalette m_saved;
};

TEST_P(ChosenItems, StayInTheHighlightWhenTheListIsNotActive) {
    std::unique_ptr<QStyle> style(QStyleFactory::create(QString::fromLatin1(GetParam())));
    if (style == nullptr) {
        GTEST_SKIP() << GetParam() << " is a style of the Windows build only";
    }
    QWidget window;
    ui::ListBox list(&window, QStringLiteral("ListBox4"), QStringLiteral("施工種別"));
    list.setStyle(style.get());
    list.setGeometry(0, 0, 200, 120);
    for (const char16_t* kind : {u"道路", u"河川", u"砂防"}) {
        list.addItem(kind);
    }
    ASSERT_TRUE(list.setListIndex(1));
    window.resize(220, 140);
    window.show();
    // Another window takes the focus, as another program or form does.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QApplication::setActiveWindow(&elsewhere);
    QApplication::processEvents();
    ASSERT_FALSE(list.isActiveWindow());

    const QImage picture = list.viewport()->grab().toImage();
    const QRect chosen = list.visualItemRect(list.item(1));
    const QRect other = list.visualItemRect(list.item(2));
    // Left of the text, where only the item's background is drawn.
    EXPECT_EQ(picture.pixelColor(chosen.left() + 1, chosen.center().y()).name().toStdString(), "#0078d7")
        << chosen.x() << "," << chosen.y() << " " << chosen.width() << "x" << chosen.height();
    EXPECT_EQ(picture.pixelColor(other.left() + 1, other.center().y()).name().toStdString(), "#ffffff");
}

// windowsvista, the Windows build's own style, draws list items through the system's theme.
INSTANTIATE_TEST_SUITE_P(Styles, ChosenItems, ::testing::Values("Windows", "Fusion", "windowsvista"));

}  // namespace

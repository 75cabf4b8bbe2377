#include "ui/caption_fit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace ui {
namespace {

constexpr double kStep = 0.25;
constexpr double kSmallest = 0.75;

// Whether the text fits the room in the font, laid out as the control lays it out.
bool fits(const QWidget& control, const QFont& font, const QString& text, const QRect& room, bool wrapped) {
    const QFontMetrics metrics(font, &control);
    if (wrapped) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, text);
        return needed.width() <= room.width() && needed.height() <= room.height();
    }
    const QSize needed = metrics.size(Qt::TextShowMnemonic, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

QRect buttonRoom(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        contents = QStyle::SE_RadioButtonContents;
    }
    return button.style()->subElementRect(contents, &option, &button);
}

}  // namespace

bool fitCaption(QWidget& control) {
    control.ensurePolished();
    QString text;
    QRect room;
    bool wrapped = false;
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->textFormat() == Qt::RichText || !label->toolTip().isEmpty()) {
            return true;  // shortened on purpose, with the whole text as tooltip
        }
        text = label->text();
        const int margin = label->margin();
        room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        wrapped = label->wordWrap();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        text = button->text();
        room = buttonRoom(*button);
    }
    if (text.isEmpty()) {
        return true;
    }
    QFont font = control.font();
    const double designed = font.pointSizeF();
    if (designed <= 0) {
        return fits(control, font, text, room, wrapped);
    }
    for (double points = designed; points >= designed * kSmallest; points -= kStep) {
        font.setPointSizeF(points);
        if (fits(control, font, text, room, wrapped)) {
            if (points != designed) {
                control.setFont(font);
            }
            return true;
        }
    }
    return false;
}

void fitCaptions(QWidget& form) {
    for (QLabel* label : form.findChildren<QLabel*>()) {
        fitCaption(*label);
    }
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        fitCaption(*button);
    }
}

}  // namespace ui

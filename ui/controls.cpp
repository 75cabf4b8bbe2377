#include "ui/controls.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace ui {

void nameControl(QWidget& control, const QString& programName, const QString& caption) {
    control.setObjectName(programName);
    control.setAccessibleDescription(programName);
    control.setAccessibleName(caption.isEmpty() ? programName
                                                : QString(caption).replace(QChar('\r'), QChar(' ')));
}

QString displayText(const std::u16string& caption) {
    QString text = QString::fromStdU16String(caption);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

Label::Label(QWidget* parent, const QString& programName, const std::u16string& caption,
             const QString& heading)
    : QLabel(parent), m_heading(heading) {
    nameControl(*this, programName, heading);
    setWordWrap(true);
    setCaption(caption);
}

void Label::setCaption(const std::u16string& caption) {
    m_caption = caption;
    showCaption();
    nameAfterText();
}

void Label::setHeading(const QString& heading) {
    m_heading = heading;
    nameAfterText();
}

void Label::nameAfterText() {
    // Assistive technology is told of the new name (Qt sends the name-changed event). An elided label
    // still tells the whole caption.
    if (!m_caption.empty()) {
        setAccessibleName(QString::fromStdU16String(m_caption).replace(QChar('\r'), QChar(' ')));
    } else {
        setAccessibleName(m_heading.isEmpty() ? objectName() : m_heading);
    }
}

void Label::setElidedInMiddle(bool elided) {
    m_elided = elided;
    setWordWrap(!elided);
    // The width comes from the layout, never from the caption's length.
    setSizePolicy(elided ? QSizePolicy::Ignored : QSizePolicy::Preferred, sizePolicy().verticalPolicy());
    showCaption();
}

void Label::showCaption() {
    if (!m_elided) {
        setText(displayText(m_caption));
        return;
    }
    QString oneLine = QString::fromStdU16String(m_caption);
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    setToolTip(oneLine);
    setText(fontMetrics().elidedText(oneLine, Qt::ElideMiddle, std::max(contentsRect().width(), 1)));
}

void Label::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (m_elided) {
        showCaption();
    }
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

Button::Button(QWidget* parent, const QString& programName, const QString& caption)
    : QPushButton(caption, parent) {
    nameControl(*this, programName, caption);
}

namespace {

// Draws a list's chosen item in the system's highlight whether or not the list has the focus, as a Windows
// list box does. Windows' own style draws a list without focus with a pale grey that can hardly be told from
// white (and its themed drawing does not follow the palette), while the builder's cascade shows four chosen
// items at once, in four lists of which one at most has the focus.
class ChosenItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& given,
               const QModelIndex& index) const override {
        QStyleOptionViewItem option(given);
        if ((option.state & QStyle::State_Selected) && (option.state & QStyle::State_Enabled)) {
            painter->fillRect(option.rect, option.palette.brush(QPalette::Active, QPalette::Highlight));
            const QBrush text = option.palette.brush(QPalette::Active, QPalette::HighlightedText);
            for (const auto group : {QPalette::Active, QPalette::Inactive}) {
                option.palette.setBrush(group, QPalette::Text, text);
            }
            option.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
        }
        QStyledItemDelegate::paint(painter, option, index);
    }
};

// The program's texts as one list of Qt strings, for a control's one-call insertion.
QStringList qStrings(const std::vector<std::u16string>& texts) {
    QStringList strings;
    strings.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::u16string& text : texts) {
        strings.push_back(QString::fromStdU16String(text));
    }
    return strings;
}

}  // namespace

ListBox::ListBox(QWidget* parent, const QString& programName, const QString& caption) : QListWidget(parent) {
    nameControl(*this, programName, caption);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new ChosenItemDelegate(this));
    connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::onSelectionChanged);
}

ListBox::~ListBox() {
    // Slots connected with the list as their context would otherwise run on a list that is half destroyed.
    model()->disconnect(this);
    selectionModel()->disconnect(this);
}

int ListBox::listIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBox::onSelectionChanged() {
    if (!m_silent && listIndex() >= 0) {
        emit clicked();
    }
}

bool ListBox::setListIndex(int index) {
    if (index < -1 || index >= count()) {
        return false;
    }
    if (index == -1) {
        QSignalBlocker blocker(this);
        setCurrentRow(-1);
        clearSelection();
        return true;
    }
    if (index == listIndex()) {
        return true;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    return true;
}

std::u16string ListBox::itemText(int index) const {
    const QListWidgetItem* it = item(index);
    return it != nullptr ? it->text().toStdU16String() : std::u16string();
}

std::u16string ListBox::text() const {
    return itemText(listIndex());
}

void ListBox::addItem(const std::u16string& text) {
    m_silent = true;
    QListWidget::addItem(QString::fromStdU16String(text));
    m_silent = false;
}

void ListBox::addItems(const std::vector<std::u16string>& texts) {
    if (texts.empty()) {
        return;
    }
    m_silent = true;
    QListWidget::addItems(qStrings(texts));
    m_silent = false;
}

void ListBox::clearItems() {
    m_silent = true;
    clear();
    m_silent = false;
}

std::vector<std::u16string> ListBox::items() const {
    std::vector<std::u16string> all;
    all.reserve(static_cast<std::size_t>(count()));
    for (int i = 0; i < count(); ++i) {
        all.push_back(itemText(i));
    }
    return all;
}

ComboBox::ComboBox(QWidget* parent, const QString& programName, const QString& caption) : QComboBox(parent) {
    nameControl(*this, programName, caption);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this](int) { emit clicked(); });
}

std::u16string ComboBox::itemText(int index) const {
    return QComboBox::itemText(index).toStdU16String();
}

std::vector<std::u16string> ComboBox::items() const {
    std::vector<std::u16string> all;
    for (int i = 0; i < count(); ++i) {
        all.push_back(itemText(i));
    }
    return all;
}

std::u16string ComboBox::text() const {
    return currentText().toStdU16String();
}

void ComboBox::setText(const std::u16string& text) {
    setEditText(QString::fromStdU16String(text));
}

void ComboBox::addItem(const std::u16string& text) {
    const QSignalBlocker blocker(this);
    const QString keep = currentText();
    QComboBox::addItem(QString::fromStdU16String(text));
    setEditText(keep);
}

void ComboBox::addItems(const std::vector<std::u16string>& texts) {
    if (texts.empty()) {
        return;
    }
    const QSignalBlocker blocker(this);
    const QString keep = currentText();
    QComboBox::addItems(qStrings(texts));
    setEditText(keep);
}

void ComboBox::clearItems() {
    const QSignalBlocker blocker(this);
    clear();
    clearEditText();
}

bool ComboBox::setListIndex(int index) {
    if (index < 0 || index >= count()) {
        return false;
    }
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
        setEditText(QComboBox::itemText(index));
    }
    emit clicked();
    return true;
}

}  // namespace ui

namespace ui {

QFont msPGothic(double points) {
    static const QString family = QStringLiteral("ＭＳ Ｐゴシック");
    static const bool substituted = [] {
        QFont::insertSubstitutions(family, {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                            QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic"),
                                            QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                                            QStringLiteral("TakaoPGothic")});
        return true;
    }();
    (void)substituted;
    QFont font(family);
    font.setPointSizeF(points);
    return font;
}

QRect fromTwips(int left, int top, int width, int height) {
    auto px = [](int twips) { return (twips + 7) / 15; };
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace ui

namespace ui {

TextBox::TextBox(QWidget* parent, const QString& programName, const QString& caption, const QString& text)
    : QLineEdit(text, parent) {
    nameControl(*this, programName, caption);
    connect(this, &QLineEdit::textChanged, this, [this] { emit changed(); });
}

OptionButton::OptionButton(QWidget* parent, const QString& programName, const QString& caption)
    : QRadioButton(caption, parent) {
    nameControl(*this, programName, caption);
}

}  // namespace ui

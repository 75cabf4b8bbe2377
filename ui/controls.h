#pragma once

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRect>
#include <QString>

#include <string>
#include <vector>

// Widgets that behave like the form controls the program's forms are written against: a label whose
// caption may hold carriage returns, a list box with a list index and a click that also follows selections
// made in code, and a combo box likewise. Each carries its program name (ListBox12) as object name and
// accessible description, so assistive technology and UI tests find it. A control the user operates carries
// the caption that heads it as accessible name; a label carries the text it shows.
namespace ui {

// Names a control: object name and accessible description = program name; accessible name = the caption
// that heads it.
void nameControl(QWidget& control, const QString& programName, const QString& caption);

// Caption text as the forms compose it (CR starts a new line) shown as Qt shows text (LF).
QString displayText(const std::u16string& caption);

// A label: what it shows is also its accessible name, so a screen reader reads the guidance, a path or a
// version, not only the heading above it. A label that shows nothing is named by its heading (the guidance
// area's "コメント"), or by its program name when it has none.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(QWidget* parent, const QString& programName, const std::u16string& caption = {},
          const QString& heading = {});

    const std::u16string& caption() const { return m_caption; }
    void setCaption(const std::u16string& caption);
    void setHeading(const QString& heading);

    // Shows the caption on one line, shortened in the middle to the label's width, with the whole caption
    // as tooltip: for paths, which have no blanks to wrap at (laying out a long one wrapped takes minutes).
    void setElidedInMiddle(bool elided);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showCaption();
    void nameAfterText();

    std::u16string m_caption;
    QString m_heading;
    bool m_elided = false;
};

class Button : public QPushButton {
    Q_OBJECT
public:
    Button(QWidget* parent, const QString& programName, const QString& caption);
};

// A single-column, single-selection list. Its list index is the selected item. Click runs when an item
// becomes selected, by the user (a mouse click, or the arrow keys moving the selection) or by code
// (setListIndex); clearing the list does not run it, nor does the list getting the keyboard focus (the
// item view then marks its first item as current without selecting it).
class ListBox : public QListWidget {
    Q_OBJECT
public:
    ListBox(QWidget* parent, const QString& programName, const QString& caption);
    // Lets go of what the program connected to the list's model and selection: Qt deletes the model with
    // the other children after this part of the list is gone, and the model signals its reset then.
    ~ListBox() override;

    int listIndex() const;
    // Selects the item (or nothing with -1). Fails (returns false, nothing changes) for an index past the
    // end, as the form library's list raises an error.
    bool setListIndex(int index);
    int listCount() const { return count(); }
    std::u16string itemText(int index) const;
    // The chosen item's text; empty when nothing is chosen.
    std::u16string text() const;
    void addItem(const std::u16string& text);
    // Appends the texts in one insertion. Each insertion into an item view costs a layout request and, while
    // the list is hidden, a restart of its fetch timer; under Wine those cost a tenth of a millisecond and
    // more each, so that a list filled a row at a time with thousands of rows takes hundreds of milliseconds.
    void addItems(const std::vector<std::u16string>& texts);
    void clearItems();
    std::vector<std::u16string> items() const;

signals:
    void clicked();

private:
    void onSelectionChanged();
    bool m_silent = false;
};

// An editable combo box: a list of entries and a text the user may also type. Click runs when an entry is
// chosen, by the user or by code.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    ComboBox(QWidget* parent, const QString& programName, const QString& caption);

    int listCount() const { return count(); }
    std::u16string itemText(int index) const;
    std::vector<std::u16string> items() const;
    std::u16string text() const;
    void setText(const std::u16string& text);
    void addItem(const std::u16string& text);
    // Appends the entries in one insertion, keeping the typed text (as addItem does, once).
    void addItems(const std::vector<std::u16string>& texts);
    void clearItems();
    bool setListIndex(int index);

signals:
    void clicked();
};

}  // namespace ui

namespace ui {

// "ＭＳ Ｐゴシック" at the given size, Shift-JIS character set; where that font is missing, an installed
// Japanese proportional gothic takes its place.
QFont msPGothic(double points);

// Form positions are given in twips, at 15 twips per pixel.
QRect fromTwips(int left, int top, int width, int height);

}  // namespace ui

#include <QLineEdit>
#include <QRadioButton>

namespace ui {

// A one-line text box. Change runs on every change of its text, typed or set by code.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    TextBox(QWidget* parent, const QString& programName, const QString& caption, const QString& text = {});

    std::u16string text16() const { return text().toStdU16String(); }
    void setText16(const std::u16string& text) { setText(QString::fromStdU16String(text)); }

signals:
    void changed();
};

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(QWidget* parent, const QString& programName, const QString& caption);
};

}  // namespace ui

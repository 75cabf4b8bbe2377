#include "ui/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/controls.h"

namespace ui {

MsgAnswer QtDialogs::MsgBox(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    box.setText(displayText(request.text));
    switch (request.icon) {
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel = nullptr;
    if (request.buttons == MsgButtons::OkCancel) {
        cancel = box.addButton(QMessageBox::Cancel);
        box.setEscapeButton(cancel);
    }
    box.setDefaultButton(request.defaultButton == MsgDefault::Second && cancel != nullptr ? cancel : ok);
    box.exec();
    return box.clickedButton() == ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

void QtDialogs::runModal(QDialog& form) {
    form.exec();
}

QString QtDialogs::openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, startPath, filter);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& startPath,
                                const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, startPath, filter);
}

QString QtDialogs::clipboardText() {
    return QApplication::clipboard()->text();
}

void QtDialogs::endProgram() {
    // Closing the main window releases the database and unloads the other forms; then the loop ends.
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

}  // namespace ui

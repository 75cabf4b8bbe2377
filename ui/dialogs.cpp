#include "ui/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "ui/controls.h"

namespace ui {
namespace {

// Ends a modal loop when its form is hidden (hide, unload) or destroyed. A window that the window system
// merely minimises stays shown and keeps the loop running.
class ModalEnd final : public QObject {
public:
    ModalEnd(QDialog& form, QEventLoop& loop) : m_loop(loop) {
        form.installEventFilter(this);
        connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && static_cast<QWidget*>(watched)->isHidden()) {
            m_loop.quit();
        }
        return false;
    }

private:
    QEventLoop& m_loop;
};

// The window that was active when a modal window opened gets the activation back when it closes, as the
// window it returns to, whatever the window system would choose.
class ActivationReturn {
public:
    ActivationReturn() : m_window(QApplication::activeWindow()) {}
    ~ActivationReturn() {
        if (m_window && m_window->isVisible() && QApplication::activeWindow() == nullptr) {
            m_window->activateWindow();
        }
    }
    ActivationReturn(const ActivationReturn&) = delete;
    ActivationReturn& operator=(const ActivationReturn&) = delete;

private:
    QPointer<QWidget> m_window;
};

}  // namespace

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
    const ActivationReturn activation;
    box.exec();
    return box.clickedButton() == ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

void QtDialogs::runModal(QDialog& form) {
    // QDialog::exec would enter its loop even when the form hid itself while it was being shown, and that
    // loop would then never end. This loop is entered only for a form that is still shown, and ends
    // whenever the form is hidden or destroyed.
    const ActivationReturn activation;
    QPointer<QDialog> guard(&form);
    const Qt::WindowModality modality = form.windowModality();
    form.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    ModalEnd end(form, loop);
    form.show();
    if (guard && !form.isHidden()) {
        loop.exec(QEventLoop::DialogExec);
    }
    if (guard) {
        form.removeEventFilter(&end);
        form.setWindowModality(modality);
    }
}

QString QtDialogs::openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                                const QString& filter) {
    // Qt names the chosen file with forward slashes everywhere; the user reads and keeps it in the form of
    // the platform (backslashes on Windows), as a path typed or pasted into the same box would be.
    return QDir::toNativeSeparators(QFileDialog::getOpenFileName(parent, caption, startPath, filter));
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& startPath,
                                const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, startPath, filter);
}

QString QtDialogs::existingFolder(QWidget* parent, const QString& caption, const QString& startPath) {
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(parent, caption, startPath));
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

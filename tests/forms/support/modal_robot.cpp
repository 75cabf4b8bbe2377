#include "tests/forms/support/modal_robot.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>

namespace testing_support {

ModalRobot::ModalRobot(std::chrono::milliseconds limit) {
    m_tick.setInterval(10);
    connect(&m_tick, &QTimer::timeout, this, &ModalRobot::tick);
    m_tick.start();
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(limit);
    connect(&m_watchdog, &QTimer::timeout, this, [this] { m_timedOut = true; });
    m_watchdog.start();
}

ModalRobot::~ModalRobot() = default;

void ModalRobot::onForm(const QString& formName, std::function<void(QDialog&)> step) {
    m_steps[formName].push_back(std::move(step));
}

void ModalRobot::tick() {
    if (m_timedOut) {
        rescue();
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (m_stepPending || modal == nullptr || !modal->isVisible()) {
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages.push_back(box->text().replace(QLatin1Char('\n'), QLatin1Char('\r')).toStdU16String());
        titles.push_back(box->windowTitle());
        ui::MsgAnswer answer = ui::MsgAnswer::Ok;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        QAbstractButton* button =
            box->button(answer == ui::MsgAnswer::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
        (button != nullptr ? button : box->defaultButton())->click();
        return;
    }
    auto* form = qobject_cast<QDialog*>(modal);
    if (form == nullptr) {
        return;
    }
    auto steps = m_steps.find(form->objectName());
    if (steps == m_steps.end() || steps->second.empty()) {
        return;
    }
    // The step runs from the event loop, not from here: a form it opens in turn runs its own modal loop,
    // in which this robot must go on ticking.
    std::function<void(QDialog&)> step = std::move(steps->second.front());
    steps->second.pop_front();
    formsOperated.push_back(form->objectName());
    m_stepPending = true;
    QTimer::singleShot(0, this, [this, step = std::move(step), target = QPointer<QDialog>(form)] {
        m_stepPending = false;
        if (target) {
            step(*target);
        }
    });
}

void ModalRobot::rescue() {
    // Ends every modal loop still running: a shown dialog is rejected; a hidden one is shown and hidden
    // again, which ends a loop that QDialog::exec entered after the dialog had already hidden itself. The
    // form's own show handling is kept out of it (eventFilter), so that its activation does not run again.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(widget);
        if (!dialog) {
            continue;
        }
        if (dialog->isVisible()) {
            dialog->reject();
        } else {
            dialog->installEventFilter(this);
            dialog->show();
            if (dialog) {
                dialog->hide();
                dialog->removeEventFilter(this);
            }
        }
    }
}

bool ModalRobot::eventFilter(QObject*, QEvent* event) {
    return event->type() == QEvent::Show;
}

ui::MsgAnswer LiveDialogs::MsgBox(QWidget* parent, const ui::MessageRequest& request) {
    return m_real.MsgBox(parent, request);
}

void LiveDialogs::runModal(QDialog& form) {
    m_real.runModal(form);
}

LiveProgram::LiveProgram()
    : program(
          std::make_unique<app::Tiermark>(core::Services{windows, workspace, settings, dialogs, nullptr})) {}

LiveProgram::~LiveProgram() {
    program.reset();
    processEventsFor(std::chrono::milliseconds(0));
}

void processEventsFor(std::chrono::milliseconds time) {
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (timer.elapsed() < time.count()) {
            QThread::msleep(5);
        }
    } while (timer.elapsed() < time.count());
}

}  // namespace testing_support

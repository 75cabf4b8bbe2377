#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/tiermark.h"
#include "cadlink/fake_window_system.h"
#include "tests/forms/support/fakes.h"
#include "ui/dialogs.h"

class QDialog;

namespace testing_support {

// Plays the user of forms shown through the real modal loops: every few milliseconds it looks at the
// program's active modal window. A message box is recorded and answered (OK, or the next scripted answer);
// a form gets the next step the test gave for it. A watchdog ends every modal loop still running after the
// time limit, so a form that never returns fails its test within seconds instead of hanging the run.
class ModalRobot final : public QObject {
public:
    explicit ModalRobot(std::chrono::milliseconds limit = std::chrono::seconds(5));
    ~ModalRobot() override;

    // What to do with the form of that program name (UserForm2, ...) the next time it waits modally. Each
    // step is used once, in the order given.
    void onForm(const QString& formName, std::function<void(QDialog&)> step);

    // Whether the watchdog had to end a modal loop: some form did not return by itself.
    bool timedOut() const { return m_timedOut; }

    // Message boxes seen, as the program composed them (CR between lines), with their titles.
    std::vector<std::u16string> messages;
    std::vector<QString> titles;
    std::deque<ui::MsgAnswer> answers;
    // The forms that got a step, in order.
    std::vector<QString> formsOperated;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();
    void rescue();

    QTimer m_tick;
    QTimer m_watchdog;
    bool m_timedOut = false;
    bool m_stepPending = false;
    std::map<QString, std::deque<std::function<void(QDialog&)>>> m_steps;
};

// The real dialogs of the program (message boxes and modal forms through Qt's own loops), with the
// clipboard, the file dialog and the end of the program scripted.
class LiveDialogs final : public ui::Dialogs {
public:
    QString clipboard;
    QString fileToOpen;
    QString fileToSave;
    int endRequests = 0;

    ui::MsgAnswer MsgBox(QWidget* parent, const ui::MessageRequest& request) override;
    void runModal(QDialog& form) override;
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return fileToOpen;
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return fileToSave;
    }
    QString existingFolder(QWidget*, const QString&, const QString&) override { return QString(); }
    QString clipboardText() override { return clipboard; }
    void endProgram() override { ++endRequests; }

private:
    ui::QtDialogs m_real;
};

// A program whose forms run through the real modal loops, with the other platform services faked.
struct LiveProgram {
    cadlink::FakeWindowSystem windows;
    ScriptedWorkspace workspace;
    stddb::MemorySettingsStore settings;
    LiveDialogs dialogs;
    std::unique_ptr<app::Tiermark> program;

    LiveProgram();
    ~LiveProgram();
};

// Lets the event loop deliver what is pending (activations, deferred deletions), for at least the given time.
void processEventsFor(std::chrono::milliseconds time);

}  // namespace testing_support

#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace ui {

// The dialogs seam without a person: records every message box and answers it from a script, and runs each
// modal form through the steps a caller registers. The widget tests, the benchmarks and the demo road all
// use it in place of QtDialogs.
class RecordingDialogs final : public Dialogs {
public:
    // Every message box asked for, in order. Each is answered with the next of answers (OK once they run
    // out) after onMessage, when set, has seen it.
    std::vector<MessageRequest> messages;
    std::deque<MsgAnswer> answers;
    std::function<void(const MessageRequest&)> onMessage;
    // The texts of the message boxes, in order.
    std::vector<std::u16string> texts() const;

    // Every form run modally, by program name (UserForm3, ...), in order. A form is shown as a modal form is
    // shown (its activation runs), then handed to the next step registered for its name, else to onModal,
    // and hidden afterwards unless it has unloaded itself. With showModalForms false a form is only
    // recorded (the benchmarks time the code around it).
    std::vector<QString> modalForms;
    std::function<void(QDialog&)> onModal;
    void onForm(const QString& formName, std::function<void(QDialog&)> step);
    bool showModalForms = true;
    // Lets the event loop run once after a form is shown and once after it is hidden, so that what it
    // shows is laid out and painted (the demo road photographs it).
    bool settleEvents = false;

    // What the clipboard holds and the files the file dialogs pick (empty: the user cancels).
    QString clipboard;
    QString fileToOpen;
    QString fileToSave;
    // The folders the folder dialog picks, one each time it is asked (none left: the user cancels).
    QStringList foldersToChoose;
    // How often the program asked to end.
    int endRequests = 0;

    MsgAnswer MsgBox(QWidget* parent, const MessageRequest& request) override;
    void runModal(QDialog& form) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return fileToSave;
    }
    QString existingFolder(QWidget*, const QString&, const QString&) override {
        return foldersToChoose.isEmpty() ? QString() : foldersToChoose.takeFirst();
    }
    QString clipboardText() override { return clipboard; }
    void endProgram() override { ++endRequests; }

private:
    std::map<QString, std::deque<std::function<void(QDialog&)>>> m_steps;
};

}  // namespace ui

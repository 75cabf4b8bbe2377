#include "ui/recording_dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>

namespace ui {

std::vector<std::u16string> RecordingDialogs::texts() const {
    std::vector<std::u16string> all;
    for (const auto& message : messages) {
        all.push_back(message.text);
    }
    return all;
}

MsgAnswer RecordingDialogs::MsgBox(QWidget*, const MessageRequest& request) {
    messages.push_back(request);
    if (onMessage) {
        onMessage(request);
    }
    if (answers.empty()) {
        return MsgAnswer::Ok;
    }
    const MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingDialogs::onForm(const QString& formName, std::function<void(QDialog&)> step) {
    m_steps[formName].push_back(std::move(step));
}

void RecordingDialogs::runModal(QDialog& form) {
    modalForms.push_back(form.objectName());
    if (!showModalForms) {
        return;
    }
    QPointer<QDialog> guard(&form);
    form.show();
    if (settleEvents) {
        QCoreApplication::processEvents();
    }
    std::function<void(QDialog&)> step;
    if (auto registered = m_steps.find(form.objectName());
        registered != m_steps.end() && !registered->second.empty()) {
        step = std::move(registered->second.front());
        registered->second.pop_front();
    } else {
        step = onModal;
    }
    if (step && guard) {
        step(form);
    }
    if (guard) {
        form.hide();
    }
    if (settleEvents) {
        QCoreApplication::processEvents();
    }
}

QString RecordingDialogs::openFileName(QWidget*, const QString&, const QString&, const QString&) {
    return fileToOpen;
}

}  // namespace ui

#include "tools/road/scripted_dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QPointer>

#include <cstdio>

#include "common/utf.h"

namespace road {

void ScriptedDialogs::onForm(const QString& formName, std::function<void(QDialog&)> step) {
    m_steps[formName].push_back(std::move(step));
}

void ScriptedDialogs::screenshot(QWidget& window, const QString& name) {
    if (m_folder.isEmpty()) {
        return;
    }
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
    if (window.grab().save(path)) {
        std::printf("  screenshot: %s\n", qPrintable(path));
    }
}

ui::MsgAnswer ScriptedDialogs::MsgBox(QWidget*, const ui::MessageRequest& request) {
    messages.push_back(request.text);
    std::u16string shown = request.text;
    for (char16_t& c : shown) {
        if (c == u'\r') {
            c = u' ';
        }
    }
    std::printf("  message [%s]: %s\n", qPrintable(request.title), tiermark::toUtf8(shown).c_str());
    return ui::MsgAnswer::Ok;
}

void ScriptedDialogs::runModal(QDialog& form) {
    QPointer<QDialog> guard(&form);
    shownForms.append(form.objectName());
    form.show();
    QCoreApplication::processEvents();
    auto steps = m_steps.find(form.objectName());
    if (steps != m_steps.end() && !steps->second.empty()) {
        std::function<void(QDialog&)> step = std::move(steps->second.front());
        steps->second.erase(steps->second.begin());
        step(form);
    }
    if (guard) {
        form.hide();
    }
    QCoreApplication::processEvents();
}

QString ScriptedDialogs::openFileName(QWidget*, const QString&, const QString&, const QString&) {
    return fileToOpen;
}

}  // namespace road

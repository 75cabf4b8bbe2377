#pragma once

#include <QString>

#include <functional>
#include <map>
#include <vector>

#include "ui/dialogs.h"

// The platform seam of the program operated by a script instead of a person: message boxes are printed
// and answered OK, and each modal form is shown, photographed and operated by the step registered for it.
namespace road {

class ScriptedDialogs final : public ui::Dialogs {
public:
    // What to do with a form when it is shown modally, by its program name (UserForm3, ...). The step is
    // used once; a form without a step is shown and closed.
    void onForm(const QString& formName, std::function<void(QDialog&)> step);
    // Where to save a picture of every window shown; empty for none.
    void setScreenshotFolder(const QString& folder) { m_folder = folder; }
    void screenshot(QWidget& window, const QString& name);

    std::vector<std::u16string> messages;
    QString clipboard;
    QString fileToOpen;

    ui::MsgAnswer MsgBox(QWidget* parent, const ui::MessageRequest& request) override;
    void runModal(QDialog& form) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
    QString clipboardText() override { return clipboard; }
    void endProgram() override {}

private:
    std::map<QString, std::vector<std::function<void(QDialog&)>>> m_steps;
    QString m_folder;
};

}  // namespace road

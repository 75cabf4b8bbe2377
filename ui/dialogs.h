#pragma once

#include <QString>

#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace ui {

// The application's name, the title of message boxes that have none of their own.
inline const QString kApplicationTitle = QStringLiteral("Tiermark");

enum class MsgButtons { Ok, OkCancel };
enum class MsgIcon { None, Information, Exclamation, Critical };
enum class MsgDefault { First, Second };
enum class MsgAnswer { Ok, Cancel };

// One message box as a form asks for it. The text is kept as composed, carriage returns included.
struct MessageRequest {
    std::u16string text;
    QString title = kApplicationTitle;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgDefault defaultButton = MsgDefault::First;
};

// Every service of the window system that blocks on the user or reaches outside the program: message
// boxes and confirmations, modal forms, the file dialog and the clipboard. The program uses QtDialogs;
// tests put a recorder in its place that answers from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer MsgBox(QWidget* parent, const MessageRequest& request) = 0;
    // Shows the form modally and returns once it has been hidden or closed, also when the form hides or
    // unloads itself while it is being shown (its activation may find it has nothing to offer).
    virtual void runModal(QDialog& form) = 0;
    // Asks for a file to open; empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                                 const QString& filter) = 0;
    // Asks where to save a file (the dialog asks before an existing file is replaced); empty when the user
    // cancels.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& startPath,
                                 const QString& filter) = 0;
    // Asks for a folder that exists; empty when the user cancels.
    virtual QString existingFolder(QWidget* parent, const QString& caption, const QString& startPath) = 0;
    virtual QString clipboardText() = 0;
    // Ends the whole program at once.
    virtual void endProgram() = 0;
};

// Shorthand for the plain message box: OK only, no icon, the application's title.
inline void showMessage(Dialogs& dialogs, QWidget* parent, const std::u16string& text) {
    dialogs.MsgBox(parent, MessageRequest{text});
}

class QtDialogs final : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget* parent, const MessageRequest& request) override;
    void runModal(QDialog& form) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
    QString existingFolder(QWidget* parent, const QString& caption, const QString& startPath) override;
    QString clipboardText() override;
    void endProgram() override;
};

}  // namespace ui

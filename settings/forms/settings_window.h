// UserForm3, the settings window: the registered database and the default life-cycle stage.
#pragma once

#include <QDialog>

#include <optional>
#include <string>

#include "ui/controls.h"

namespace core {
class Program;
}  // namespace core

namespace settings {

// The settings window: where the registered database lies, the way to the registration form, and the
// life-cycle stage the builder preselects.
class UserForm3 : public QDialog {
    Q_OBJECT
public:
    explicit UserForm3(core::Program& program);

    void UserForm_Activate();
    void CommandButton1_Click();
    void CommandButton2_Click();

    // The stage chosen in the list; nullopt while none is chosen.
    std::optional<std::u16string> chosenStage() const;

    ui::Label* Label1;
    ui::Label* Label2;
    ui::Label* Label7;
    ui::Button* CommandButton1;
    ui::Label* Label8;
    ui::ListBox* ListBox1;
    ui::Button* CommandButton2;

protected:
    // The close box unloads the form, as it unloads every form: the next showing creates it afresh.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void storeChoice();

    core::Program& m_program;
};

}  // namespace settings

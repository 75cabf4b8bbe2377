// UserForm8, the about window: the release, where updates are obtained and where to write.
#pragma once

#include <QDialog>

#include "ui/controls.h"

namespace core {
class Program;
}  // namespace core

namespace settings {

// The about window: the installed release, where updates are obtained and where to write.
class UserForm8 : public QDialog {
    Q_OBJECT
public:
    explicit UserForm8(core::Program& program);

    void CommandButton1_Click();

    ui::Label* Label1;
    ui::Label* Label2;
    ui::Label* Label3;
    ui::Label* Label5;
    ui::Label* Label4;
    ui::Label* Label6;
    ui::Button* CommandButton1;

protected:
    // The close box unloads the form, as it unloads every form: the next showing creates it afresh.
    void closeEvent(QCloseEvent* event) override;

private:
    core::Program& m_program;
};

// Where newer releases of the program and the database are published, and the address for reports.
inline constexpr std::u16string_view kDownloadPage = u"https://tiermark.example.org/download/";
inline constexpr std::u16string_view kContactAddress = u"support@tiermark.example.org";

}  // namespace settings

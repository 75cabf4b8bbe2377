// UserForm4, the standard versions form: the editions of the standards the database carries.
#pragma once

#include <QDialog>

#include <array>
#include <vector>

#include "ui/controls.h"

namespace core {
class Program;
}  // namespace core

namespace stddb {

// The standard versions form: which edition of each of the four standards the database carries.
class UserForm4 : public QDialog {
    Q_OBJECT
public:
    explicit UserForm4(core::Program& program);

    void UserForm_Activate();
    void CommandButton1_Click();

    ui::Label* Label1;
    ui::Label* Label2;
    ui::Label* Label3;
    ui::Label* Label8;
    std::array<ui::Label*, 4> names{};     // Label4 to Label7
    std::array<ui::Label*, 4> versions{};  // Label9 to Label12
    ui::Button* CommandButton1;

    // Every label of the form, the headings and the grid's cells.
    std::vector<ui::Label*> labels() const;

    // Sizes the form to its texts: each on one line where the screen has room for the widest row.
    void fitToTexts();

protected:
    // The close box unloads the form, as it unloads every form: the next showing creates it afresh.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    core::Program& m_program;
};

}  // namespace stddb

// UserForm5, the database registration form: where Tiermark.MDB lies ("データベース更新").
#pragma once

#include <QDialog>

#include "ui/controls.h"

namespace core {
class Program;
}  // namespace core

namespace stddb {

// The database registration form: stores where Tiermark.MDB lies, or erases the registration.
class UserForm5 : public QDialog {
    Q_OBJECT
public:
    explicit UserForm5(core::Program& program);

    void UserForm_Activate();
    void CommandButton1_Click();  // Tiermark.MDBの登録
    void CommandButton2_Click();  // 登録の消去
    void CommandButton3_Click();  // キャンセル
    void CommandButton4_Click();  // 貼り付け
    void CommandButton5_Click();  // 参照...

    ui::Label* Label1;
    ui::Label* Label2;
    ui::Label* Label3;
    ui::Label* Label4;
    ui::TextBox* TextBox1;
    ui::Button* CommandButton4;
    ui::Button* CommandButton5;
    ui::Button* CommandButton3;
    ui::Button* CommandButton1;
    ui::Button* CommandButton2;

protected:
    // The close box unloads the form, as it unloads every form: the next showing creates it afresh.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void copyStageToBuilder();

    core::Program& m_program;
};

}  // namespace stddb

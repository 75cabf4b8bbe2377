// UserForm2, the numbered-layer form: adds numbered members to a layer family.
#pragma once

#include <QCheckBox>
#include <QDialog>

#include "cadlink/channel.h"
#include "numbered/next_member.h"
#include "ui/controls.h"

namespace core {
class Program;
}  // namespace core

namespace numbered {

// The numbered-layer form: adds numbered members (…-STR1, …-STR2, …) to a layer family of the standard.
class UserForm2 : public QDialog {
    Q_OBJECT
public:
    explicit UserForm2(core::Program& program);

    void UserForm_Activate();
    void TextBox1_Change();
    void ListBox1_Click();
    void CommandButton1_Click();  // ▽追加
    void CommandButton2_Click();  // O.K

    // The builder's command channel, through which this form types into AutoCAD LT (UTF-16 text).
    cadlink::Delivery SendCommand(std::u16string_view text);

    const FamilyCodes& codes() const { return m_codes; }

    ui::Label* Label1;
    ui::Label* Label2;
    ui::Label* Label3;
    ui::Label* Label4;
    ui::Label* Label5;
    ui::Label* Label6;
    ui::Label* Label8;
    ui::TextBox* TextBox1;
    ui::ListBox* ListBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QLabel* Image1;
    QLabel* Image2;
    ui::Button* CommandButton1;
    ui::Label* Label9;
    ui::ListBox* ListBox2;
    ui::Button* CommandButton2;
    ui::Label* Label10;
    ui::ListBox* ListBox3;  // hidden
    ui::Label* Label11;     // hidden

protected:
    void showEvent(QShowEvent* event) override;
    // The close box unloads the form: the next showing starts without family codes.
    void closeEvent(QCloseEvent* event) override;

private:
    void fillColours();
    void enableAddWhenReady();

    core::Program& m_program;
    cadlink::CommandChannel m_channel;
    FamilyCodes m_codes;
};

}  // namespace numbered

// Form1, the main window: the target drawing, the layer change and move, the guidance.
#pragma once

#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "cadlink/channel.h"
#include "cadlink/discovery.h"
#include "ui/controls.h"

namespace core {
class Program;
}  // namespace core

namespace app {

class Forms;

// The main window: the target drawing, the layer to change to, the layer-change and move actions and the
// guidance area. Closing it ends the program.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(core::Program& program, Forms& forms);
    ~Form1() override;

    // Handlers, named after control and event.
    void Form_Load();
    void Label1_Click();
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click(int index);
    void Command3_Click(int index);
    void Form_Unload();

    // The main window's command channel (wide text, as the builder's and the numbered-layer form's).
    cadlink::Delivery SendCommand(std::u16string_view text);

    // Finds the main window of the target drawing; false when no line is selected.
    bool targetWindow(cadlink::WindowHandle& window) const;

    // The layers are created: the layer change and the move are offered, with the guidance given.
    void offerChangeAndMove(const std::u16string& guidance);

    ui::Label* Label1;
    ui::ListBox* cmbfilename;
    ui::Label* Label5;
    ui::Label* Label2;
    ui::ComboBox* Combo1;
    ui::Button* Command1;
    std::array<ui::Button*, 3> Command2{};
    std::array<ui::Button*, 3> Command3{};
    ui::Label* Label4;
    ui::Label* Label3;
    ui::Label* Label6;
    ui::Label* Label7;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    // Sends the texts of one action, stopping at the first one AutoCAD LT does not take. Then it tells
    // the user once, in a message and in the guidance, and returns false.
    bool sendAction(const std::vector<std::u16string>& texts);

    core::Program& m_program;
    Forms& m_forms;
    std::unique_ptr<cadlink::DrawingList> m_drawingList;
    cadlink::CommandChannel m_channel;
    bool m_unloaded = false;
};

// The window's caption and the contact line of Label7.
inline constexpr std::u16string_view kForm1Caption = u"Tiermark － CAD製図基準レイヤーセット";
inline constexpr std::u16string_view kContactLine = u"Tiermark開発チーム";

}  // namespace app

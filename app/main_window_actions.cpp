// The layer change and the move of objects picked in AutoCAD LT: the six buttons of the Command2 and
// Command3 arrays, each a start, an execute and a cancel.
#include "app/main_window.h"
#include "builder/layer_names.h"
#include "cadlink/command_texts.h"
#include "cadlink/sendable_text.h"
#include "core/program.h"
#include "ui/dialogs.h"

namespace app {
namespace {

constexpr std::u16string_view kChangeStarted =
    u"レイヤー変更を実施します。実行ボタンで変更します。中止するにはキャンセルボタンを押してください。\r"
    u"対象図面上でマウスをクリック　→　対象オブジェクトをマウスの左クリック又はドラッグで選択→右クリックで決定→実行ボタンをクリック";
constexpr std::u16string_view kChangeDone =
    u"選択されたオブジェクトのレイヤー変更が完了しました。変更後オブジェクトは所定位置に移動しています。\r"
    u"続けて変更、移動の処理が可能です。";
constexpr std::u16string_view kChangeCancelled =
    u"レイヤー変更の処理を中止しました。\r"
    u"続けて変更、移動の処理が可能です。レイヤー変更→レイヤー変更ボタンをクリック後レイヤーを変更するオブジェクトを選択してください。\r"
    u"レイヤー変更を伴わない移動処理→　移動のみボタンをクリック後オブジェクトを選択してください。";
constexpr std::u16string_view kUnsendableLayer =
    u"変更後のレイヤー名に、AutoCAD LT に送れない文字かレイヤー名に使えない文字が含まれているため、実行できません。\r"
    u"レイヤーを選び直してください。";
constexpr std::u16string_view kMoveStarted =
    u"選択されたオブジェクトを移動を実施します。実行ボタンで変更します。中止するにはキャンセルボタンを押してください。\r"
    u"対象図面上でマウスをクリック　→　対象オブジェクトをマウスの左クリック又はドラッグで選択→右クリックで決定→実行ボタンをクリック";
constexpr std::u16string_view kMoveDone =
    u"選択されたオブジェクトの移動が完了しました。\r続けて変更、移動の処理が可能です。";
constexpr std::u16string_view kMoveCancelled =
    u"移動処理を中止しました。\r"
    u"続けて変更、移動の処理が可能です。レイヤー変更→レイヤー変更ボタンをクリック後レイヤーを変更するオブジェクトを選択してください。\r"
    u"レイヤー変更を伴わない移動処理→　移動のみボタンをクリック後オブジェクトを選択してください。";

}  // namespace

// Each start, execute and cancel sends its texts as one action. A start whose texts AutoCAD LT did not
// all take leaves the buttons idle; an execute or a cancel returns them to idle without claiming that
// anything was done (sendAction has told the user and set the guidance).

void Form1::Command2_Click(int index) {
    const double x = m_program.layers().redrawOriginX;
    const double y = m_program.layers().redrawOriginY;
    switch (index) {
        case 0:  // レイヤー変更
            Command3[0]->setEnabled(false);
            Command3[1]->setEnabled(false);
            Command2[0]->setVisible(false);
            if (sendAction(cadlink::startTexts())) {
                Command2[1]->setVisible(true);
                Command2[2]->setVisible(true);
                Label3->setCaption(std::u16string(kChangeStarted));
            } else {
                Command2[0]->setVisible(true);
                Command3[0]->setEnabled(true);
                Command3[1]->setEnabled(true);
            }
            break;
        case 1: {  // 実行
            // A layer whose name cannot be typed into AutoCAD LT gets no texts at all: the change stays
            // pending, for another layer or キャンセル.
            const std::u16string layer = builder::targetLayer(Combo1->text());
            const cadlink::Sequence texts = cadlink::executeChangeTexts(layer, x, y);
            if (!texts) {
                ui::showMessage(m_program.dialogs(), this,
                                std::u16string(kUnsendableLayer) + u"\r" + cadlink::visibleText(layer));
                break;
            }
            Command2[1]->setVisible(false);
            Command2[2]->setVisible(false);
            const bool done = sendAction(*texts);
            Command2[0]->setVisible(true);
            Command3[0]->setEnabled(true);
            Command3[1]->setEnabled(true);
            if (done) {
                Label3->setCaption(std::u16string(kChangeDone));
            }
            break;
        }
        case 2:  // キャンセル
            Label3->setCaption(std::u16string(kChangeCancelled));
            Command2[1]->setVisible(false);
            Command2[2]->setVisible(false);
            sendAction(cadlink::cancelTexts());
            Command2[0]->setVisible(true);
            Command3[0]->setEnabled(true);
            Command3[1]->setEnabled(true);
            break;
        default:
            break;
    }
}

void Form1::Command3_Click(int index) {
    const double x = m_program.layers().redrawOriginX;
    const double y = m_program.layers().redrawOriginY;
    switch (index) {
        case 0:  // 移動のみ
            Command2[0]->setEnabled(false);
            Command2[1]->setEnabled(false);
            Command3[0]->setVisible(false);
            if (sendAction(cadlink::startTexts())) {
                Command3[1]->setVisible(true);
                Command3[2]->setVisible(true);
                Label3->setCaption(std::u16string(kMoveStarted));
            } else {
                Command3[0]->setVisible(true);
                Command2[0]->setEnabled(true);
                Command2[1]->setEnabled(true);
            }
            break;
        case 1: {  // 実行
            Command3[1]->setVisible(false);
            Command3[2]->setVisible(false);
            const bool done = sendAction(cadlink::executeMoveTexts(x, y));
            Command3[0]->setVisible(true);
            Command2[0]->setEnabled(true);
            Command2[1]->setEnabled(true);
            if (done) {
                Label3->setCaption(std::u16string(kMoveDone));
            }
            break;
        }
        case 2:  // キャンセル
            Label3->setCaption(std::u16string(kMoveCancelled));
            Command3[1]->setVisible(false);
            Command3[2]->setVisible(false);
            sendAction(cadlink::cancelTexts());
            Command3[0]->setVisible(true);
            Command2[0]->setEnabled(true);
            Command2[1]->setEnabled(true);
            break;
        default:
            break;
    }
}

}  // namespace app

#pragma once

#include <string>
#include <string_view>

// The texts of the main window's guidance area and its notices. CR (character 13) starts a new line.
namespace app::guidance {

inline constexpr std::u16string_view kRegister = u"Tiermarkメニューボタンでレイヤー登録をしてください。";
inline constexpr std::u16string_view kChange =
    u"レイヤー変更→レイヤー変更ボタンをクリック後レイヤーを変更するオブジェクトを選択してください。";
inline constexpr std::u16string_view kMove =
    u"レイヤー変更を伴わない移動処理→　移動のみボタンをクリック後オブジェクトを選択してください。";
inline constexpr std::u16string_view kSelect =
    u"AUTOCADLT上での選択方法：対象オブジェクトをマウスの左クリック又はドラッグで選択→右クリックで決定→実行ボタンをクリック";
inline constexpr std::u16string_view kSeveral =
    u"複数のAUTOCADLTが起動中です。\r処理を行う対象の図面の選択は合っていますか？";
inline constexpr std::u16string_view kNone =
    u"注意！　AUTOCADLTが起動していません。\rAUTOCADLTを起動後、対象図面の表題をクリックしてください。";

// After an action whose texts AutoCAD LT did not all take: nothing is claimed done.
inline constexpr std::u16string_view kNotDone =
    u"AutoCAD LT がコマンドを受け付けなかったため、処理は完了していません。\r"
    u"AutoCAD LT のコマンドラインを確認し、Esc キーを押してから、もう一度操作してください。";
inline constexpr std::u16string_view kNoTargetChosen =
    u"対象図面が選択されていないため、処理は行っていません。\r"
    u"対象図面の表題をクリックして図面を選択してから、もう一度操作してください。";

// The chosen line's AutoCAD LT has no main window that discovery recognises: it is still starting, or its
// title is of a form Tiermark does not know.
inline constexpr std::u16string_view kNoMainWindow =
    u"対象図面の AutoCAD LT のウィンドウが見つかりません。AutoCAD LT が起動中か、そのウィンドウを認識できませんでした。\r"
    u"AutoCAD LT で図面を開いてから、対象図面の表題をクリックしてください。";

// guide-change CR guide-move, and the same followed by CR guide-select.
std::u16string changeAndMove();
std::u16string changeMoveAndSelect();

// Which guidance the start-up shows for L lines in the drawing list and C entries in the layer list; a
// chosen line without a recognised main window says so first of all.
std::u16string forStartUp(int drawingLines, int layerEntries, bool chosenHasWindow = true);

// The change of target drawing: the confirmation and the notice after it.
inline constexpr std::u16string_view kWarningTitle = u"注意！！";
inline constexpr std::u16string_view kConfirmTargetChange =
    u"対象図面を変更します。\r入力済みレイヤー情報は破棄されます。実行しますか？。";
inline constexpr std::u16string_view kTargetChanged =
    u"図面設定が変更されました。\rレイヤー情報は破棄されました。再度設定してください。";

}  // namespace app::guidance

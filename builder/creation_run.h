#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "builder/layer_set.h"
#include "builder/layer_tables.h"
#include "builder/linetype_notice.h"
#include "cadlink/channel.h"
#include "stddb/database.h"

namespace builder {

// What layer creation needs from the builder form and, through it, from the main window. SendCommand is the
// builder's command channel: one command text per call, telling what became of it. The layers created go
// into the program's list (ProgramLayerState::created), which the main window shows.
class CreationHost : public cadlink::CommandSender {
public:
    // Chooses the first layer of the main window's list, as a click on it would.
    virtual void chooseFirstLayer() = 0;

    // Shows the numbered-layer form modally (layerAddMode is set before) and returns when it is hidden or
    // unloaded.
    virtual void showNumberedForm() = 0;

    // "色定数" of the row of "線色マスター" whose "名称" is the colour name; nothing when there is none.
    virtual std::optional<stddb::Value> colourConstant(std::u16string_view colourName) = 0;

    // Lets the main window start the layer change and the move, and shows the guidance that says how.
    virtual void offerChangeAndMove(const std::u16string& guidance) = 0;
    // Lets the builder's "レイヤー作成" be pressed again.
    virtual void enableCreation() = 0;
    virtual void hideBuilder() = 0;
};

// The builder's page-1 state at the moment "レイヤー作成" is pressed.
struct CreationInput {
    std::vector<LayerRow> rows;      // the rows of the chosen drawing kind, in query order
    int stageIndex = -1;             // the life-cycle list's index, -1 for no selection
    bool standardNamesOnly = false;  // the main window offers standard names rather than content texts
    std::u16string originX;          // the redraw origin's X as typed ("再線画時の左下隅の座標X")
    std::u16string originY;          // the redraw origin's Y as typed ("再線画時の左下隅の座標Y")
};

struct CreationOutcome {
    // The drawing kind has no layer rows: nothing was sent or changed; the form tells the user
    // kNoLayerRowsMessage.
    bool noLayerRows = false;
    // The layers left out because text of theirs cannot be typed into AutoCAD LT (a control character, half
    // of a surrogate pair, a character names may not hold), as the message names them: nothing of them was
    // sent. When every row was left out, nothing at all was sent or changed.
    std::vector<std::u16string> leftOut;
    // A redraw-origin box holds no number: nothing was sent or changed (the stored origin stays as the last
    // run left it, so no move goes by a value the user did not type); the form shows this message, which
    // names the box and what it holds.
    std::u16string originMessage;
    // What became of the last text sent. Anything but Taken: the run stopped at that text, sent nothing
    // more, still offers every layer it has created and every layer offered before, stored no redraw
    // origin and left the builder shown; the form tells the user once (cadlink::notDeliveredMessage).
    cadlink::Delivery delivery = cadlink::Delivery::Taken;
    // The line types other than Continuous that the run gave its layers (the texts were taken), in order:
    // AutoCAD LT sets them only where the drawing has loaded them (linetype_notice.h).
    std::vector<SentLinetype> linetypes;
};

inline constexpr std::u16string_view kNoLayerRowsMessage =
    u"選択した図面名にはレイヤーが登録されていません。";
// The layers of the drawing kind could not be read at all ("レイヤーテーブル" missing, damaged, or short
// of a field): not the same as a drawing kind without layers.
inline constexpr std::u16string_view kLayerTableUnreadableMessage =
    u"データベースのレイヤーテーブルを読み込めませんでした。\r"
    u"データベースが壊れているおそれがあります。配布されたデータベースを登録し直してください。";

// Told after a run that left layers out, followed by one line per layer (leftOutMessage).
inline constexpr std::u16string_view kLeftOutMessage =
    u"次のレイヤーは、AutoCAD LT に送れない文字かレイヤー名に使えない文字を含むため、作成しませんでした。\r"
    u"データベースの内容を確認してください。";
std::u16string leftOutMessage(const std::vector<std::u16string>& leftOut);
// How leftOutMessage names a layer whose name would have been empty.
inline constexpr std::u16string_view kNoName = u"（名前なし）";

// The message for redraw-origin texts that are no number (an empty optional: that box is fine).
std::u16string originNotANumberMessage(std::optional<std::u16string_view> originX,
                                       std::optional<std::u16string_view> originY);

// The guidance the main window shows once layers exist.
inline constexpr std::u16string_view kCreatedGuidance =
    u"レイヤー変更→レイヤー変更ボタンをクリック後レイヤーを変更するオブジェクトを選択してください。\r"
    u"レイヤー変更を伴わない移動処理→　移動のみボタンをクリック後オブジェクトを選択してください。";

// The whole of "レイヤー作成" without the widgets: creates the layers of the rows in the drawing and adds
// them to the program's list of created layers, hands family rows to the numbered-layer form, offers the
// layers offered before again after the new ones, keeps the redraw origin and hides the builder. A layer is
// offered once the texts that create it have been taken; the first text not taken ends the run
// (CreationOutcome::delivery).
CreationOutcome runLayerCreation(CreationHost& host, const CreationInput& input, ProgramLayerState& state);

}  // namespace builder

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/drawing_access.h"
#include "common/result.h"

namespace builder {

// The stem of a standard part: without its last character, and without one blank that then ends it.
std::u16string stemOf(std::u16string_view standardPart);

// The name a converted layer gets: the stem followed by the drawing layer's own last character.
std::u16string convertedName(std::u16string_view stem, std::u16string_view layerName);

// Whether a drawing layer is listed among the changer's drawing layers: every layer but exactly "0" and
// "DEFPOINTS".
bool listedInChanger(std::u16string_view layerName);
// The drawing's layers, in the drawing's order, as the changer lists them.
std::vector<std::u16string> changerListing(const std::vector<std::u16string>& drawingLayers);
// The same from a layer table that says which layers belong to external references: those are left out,
// since AutoCAD LT names them after the referenced drawing and they cannot be renamed.
std::vector<std::u16string> changerListing(const std::vector<cadlink::DrawingLayer>& drawingLayers);

// The first of the changer's standard layers that a drawing layer converts to: an entry equal to the
// standard part, or one equal to the stem but for its last character (a family placeholder). Its index, or
// nothing.
std::optional<std::size_t> matchingEntry(std::u16string_view standardPart, std::u16string_view stem,
                                         const std::vector<std::u16string>& entries);

// The target drawing as the conversion pass reaches it.
class ChangerHost {
public:
    virtual ~ChangerHost() = default;
    // Whether the drawing holds the layer; an error when the drawing could not be reached.
    virtual tiermark::Result<bool> drawingHasLayer(std::u16string_view name) = 0;
    // Renames a layer; the error's message (UTF-8) says why the drawing refused.
    virtual tiermark::Result<void> renameLayer(std::u16string_view from, std::u16string_view to) = 0;
    // A message box with an OK button only and no title of its own.
    virtual void showMessage(const std::u16string& text) = 0;
};

inline constexpr std::u16string_view kLayerMissingMessage = u"この画層名は存在しません";
inline constexpr std::u16string_view kRenameRefusedMessage = u"画層名変更できません。";
inline constexpr std::u16string_view kDrawingUnreachableMessage =
    u"対象図面に接続できませんでした。画層名の変更を中止しました。\r"
    u"AutoCAD LT が起動しているか、対象図面の選択が合っているかを確認してください。";
// Followed by one line per layer left as it was because its name, or the name it would get, cannot be typed
// into AutoCAD LT; shown once at the end of the pass.
inline constexpr std::u16string_view kUnsendableRenameMessage =
    u"次の画層は、新しい名前に AutoCAD LT に送れない文字か画層名に使えない文字が含まれるため、変換しませんでした。";

// The conversion pass of "→": walks the drawing layers listed from the bottom up, renames every layer that
// matches one of the standard layers listed and removes it from the list. A missing layer shows
// kLayerMissingMessage, and a drawing that cannot be reached kDrawingUnreachableMessage (CR and the reason);
// either ends the pass at once, leaving unconvertedNotice as it was. A refused rename shows
// kRenameRefusedMessage, CR and the reason and keeps the item; a layer whose name or new name cannot be
// typed into AutoCAD LT keeps its item and is named in kUnsendableRenameMessage when the pass ends. After a
// whole pass the notice that layers are left to convert by hand is shown exactly when items remain.
void runConversionPass(ChangerHost& host, std::vector<std::u16string>& drawingLayers,
                       const std::vector<std::u16string>& standardLayers, bool& unconvertedNotice);

}  // namespace builder

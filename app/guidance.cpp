#include "app/guidance.h"

namespace app::guidance {

std::u16string changeAndMove() {
    std::u16string text(kChange);
    text += u'\r';
    text += kMove;
    return text;
}

std::u16string changeMoveAndSelect() {
    std::u16string text = changeAndMove();
    text += u'\r';
    text += kSelect;
    return text;
}

std::u16string forStartUp(int drawingLines, int layerEntries, bool chosenHasWindow) {
    if (drawingLines > 0 && !chosenHasWindow) {
        return std::u16string(kNoMainWindow);
    }
    if (layerEntries == 0 && drawingLines == 1) {
        return std::u16string(kRegister);
    }
    if (drawingLines == 1) {
        return changeMoveAndSelect();
    }
    if (drawingLines >= 2) {
        return std::u16string(kSeveral);
    }
    return std::u16string(kNone);
}

}  // namespace app::guidance

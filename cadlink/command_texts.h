#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

// The command texts of the main window's layer change and move. Every text ends in its own NUL (the
// command channel appends one more); each is one SendCommand.

// The temporary group that collects the picked objects.
inline constexpr std::u16string_view kGroupName = u"KESTRA";

// 1–5: cancel, then GROUP with option C for the group KESTRA, leaving AutoCAD LT waiting for picks.
std::vector<std::u16string> groupCreationTexts();
// M1–M5: move the group from 0,0 to x,y (shortest decimal texts with a full stop).
std::vector<std::u16string> moveTexts(double x, double y);
// C1–C9: put the group on the layer recovered from Combo1's text.
std::vector<std::u16string> changeTexts(std::u16string_view combo1Text);
// U1–U4: dissolve the group.
std::vector<std::u16string> removalTexts();

// The target layer from Combo1's text: from the character before the first "-" to the end; the whole text
// when it starts with "-"; empty when it holds no "-".
std::u16string targetLayer(std::u16string_view combo1Text);

// The texts of each button, in order.
std::vector<std::u16string> startTexts();                                                            // 1–5
std::vector<std::u16string> executeChangeTexts(std::u16string_view combo1Text, double x, double y);  // 18
std::vector<std::u16string> executeMoveTexts(double x, double y);                                    // 9
std::vector<std::u16string> cancelTexts();                                                           // 4

}  // namespace app

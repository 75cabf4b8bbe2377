#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every command text Tiermark types into AutoCAD LT's command line, in one place: the "-Layer" sequences
// that create a layer and set its line type and colour, and the group, move, change and ungroup sequences
// of the main window's layer change and move. Each text is one SendCommand; CR (character 13) ends a line
// of input, ESC (character 27) cancels. cadlink::sendAll (channel.h) sends a sequence.
namespace cadlink {

// --- Layers ---------------------------------------------------------------------------------------------

// How the name of a new layer ends: in CR, or in CR LF as the numbered-layer form types it.
enum class NameEnd { Cr, CrLf };

// Create N: ESC ESC; "-Layer" CR; "n" CR; N CR (or CR LF); ESC.
std::vector<std::u16string> createLayerTexts(std::u16string_view name, NameEnd end = NameEnd::Cr);
// Line type L of N: ESC ESC; "-Layer" CR; "L" CR; L CR; N CR; ESC ESC. An empty L sends CR alone.
std::vector<std::u16string> linetypeTexts(std::u16string_view linetype, std::u16string_view name);
// Colour C of N: ESC ESC; "-Layer" CR; "C" CR; C CR; N CR; ESC ESC.
std::vector<std::u16string> colourTexts(std::int64_t colour, std::u16string_view name);

// The line type of a layer whose row says "実線", and of every numbered member.
inline constexpr std::u16string_view kContinuous = u"Continuous";

// Rename layer O to N: ESC ESC; "-RENAME" CR; "LA" CR; O CR; N CR; ESC. "-RENAME" is the command-line form
// of RENAME that every AutoCAD LT release takes; "LA" answers its object-type prompt (画層(LA) in the
// Japanese release). The closing ESC ends a prompt that a refused name left open (an old name that does
// not exist, a new name that does), so that nothing of the sequence is left waiting.
std::vector<std::u16string> renameLayerTexts(std::u16string_view oldName, std::u16string_view newName);

// --- The main window's layer change and move ------------------------------------------------------------
// Every text of these sequences ends in its own NUL (the command channel appends one more).

// The temporary group that collects the picked objects.
inline constexpr std::u16string_view kGroupName = u"KESTRA";

// 1–5: cancel, then GROUP with option C for the group KESTRA, leaving AutoCAD LT waiting for picks.
std::vector<std::u16string> groupCreationTexts();
// M1–M5: move the group from 0,0 to x,y (shortest decimal texts with a full stop).
std::vector<std::u16string> moveTexts(double x, double y);
// C1–C9: put the group on the layer (C7 is the layer's name followed by CR; CR alone for an empty name).
std::vector<std::u16string> changeTexts(std::u16string_view layer);
// U1–U4: dissolve the group.
std::vector<std::u16string> removalTexts();

// The texts of each button, in order.
std::vector<std::u16string> startTexts();                                                       // 1–5
std::vector<std::u16string> executeChangeTexts(std::u16string_view layer, double x, double y);  // 18
std::vector<std::u16string> executeMoveTexts(double x, double y);                               // 9
std::vector<std::u16string> cancelTexts();                                                      // 4

}  // namespace cadlink

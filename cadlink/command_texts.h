#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/channel.h"
#include "cadlink/layer_record.h"
#include "common/result.h"

// Every command text Tiermark types into AutoCAD LT's command line, in one place: the "-Layer" sequences
// that create a layer and set its line type and colour, and the group, move, change and ungroup sequences
// of the main window's layer change and move. Each text is one SendCommand; CR (character 13) ends a line
// of input, ESC (character 27) cancels. cadlink::sendAll sends a sequence.
//
// The program's own CR and ESC (and the numbered-layer form's LF after a name) in their fixed places are
// the only control characters that go out. Text from outside (the database, the drawing, the user) is
// taken into a sequence only as sendable_text.h allows: a sequence that would carry a control character,
// half of a surrogate pair, or a name AutoCAD LT refuses is not composed, and nothing of it is to be sent.
namespace cadlink {

// The texts of one sequence, or why text from outside the program cannot go into it.
using Sequence = tiermark::Result<std::vector<std::u16string>>;

// Sends a composed sequence as sendAll (channel.h) does. A sequence that could not be composed sends
// nothing and is Refused, as a text that is no valid UTF-16 is.
Delivery sendAll(CommandSender& sender, const Sequence& texts);

// --- Layers ---------------------------------------------------------------------------------------------

// How the name of a new layer ends: in CR, or in CR LF as the numbered-layer form types it.
enum class NameEnd { Cr, CrLf };

// Create N: ESC ESC; "-Layer" CR; "n" CR; N CR (or CR LF); ESC. N must be a layer name (layerNameProblem).
Sequence createLayerTexts(std::u16string_view name, NameEnd end = NameEnd::Cr);
// Line type L of N: ESC ESC; "-Layer" CR; "L" CR; L CR; N CR; ESC ESC. An empty L sends CR alone; any other
// L must be a name as N must.
Sequence linetypeTexts(std::u16string_view linetype, std::u16string_view name);
// Colour C of N: ESC ESC; "-Layer" CR; "C" CR; C CR; N CR; ESC ESC.
Sequence colourTexts(std::int64_t colour, std::u16string_view name);

// Who defines a layer, which decides what its definition holds and what of the record is checked.
enum class LayerUse {
    Created,     // a row of the creation run: create, line type, colour; the display name is offered
    Template,    // a family template of the creation run: created only; the display name is offered
    Member,      // a numbered member: create (the name ends in CR LF), line type, colour; display offered
    Exported,    // the export's script: create, line type, colour; nothing is offered
    Recreated,   // a layer offered before a creation run, created again: created only, offered already
    Translated,  // a standard layer the layer translation creates: create, line type, colour; not offered
};

// The field of a record whose text cannot be typed into AutoCAD LT.
enum class LayerField { Name, Linetype, Display };

// The sequences that define one layer in the drawing, in the order they are sent. The display name is not
// typed by them but goes to the main window's list and from there into the CHANGE texts, so it is checked
// as an answer (answerProblem) wherever the layer is offered.
struct LayerDefinition {
    // Set when text of the record cannot be typed: then no sequence is composed and nothing is to be sent.
    std::optional<LayerField> refused;
    std::vector<std::u16string> create;
    // The sequences that give the created layer its properties, in the order they are sent: line type,
    // colour. None where the use creates the layer only.
    std::vector<std::vector<std::u16string>> properties;
    bool ok() const { return !refused; }
};

// The one composition of the "-Layer" sequences of a layer and the one decision whether they may be sent.
LayerDefinition layerDefinitionTexts(const LayerRecord& layer, LayerUse use);

// Rename layer O to N: ESC ESC; "-RENAME" CR; "LA" CR; O CR; N CR; ESC. "-RENAME" is the command-line form
// of RENAME that every AutoCAD LT release takes; "LA" answers its object-type prompt (画層(LA) in the
// Japanese release). The closing ESC ends a prompt that a refused name left open (an old name that does
// not exist, a new name that does), so that nothing of the sequence is left waiting. Both names must be
// layer names (layerNameProblem): a name read from a drawing's file is text from outside as well.
Sequence renameLayerTexts(std::u16string_view oldName, std::u16string_view newName);

// Merge the layers S1…Sn into the layer T, by name: ESC ESC; "-LAYMRG" CR; for each source "N" CR, Si CR;
// CR (the list is complete); "N" CR; T CR; "Y" CR; ESC. Autodesk's "-LAYMRG (Command)" page
// (https://help.autodesk.com/cloudhelp/2015/ESP/AutoCAD-LT/files/GUID-0976544F-76F9-444C-86D3-91BEAABECCD8.htm;
// the GUID is the same in every release and language) gives the prompts: "Select object on layer to merge
// or [Name]:", whose option Name takes a layer's name, and once the layers to merge are chosen (an empty
// Enter ends the list) "Select object on target layer or [Name]:", then "Do you wish to continue?", which
// Yes confirms; the layers merged are deleted. Keywords are typed by their capitals, as every release takes
// them. The closing ESC ends a prompt that a refused name left open. Every name must be a layer name
// (layerNameProblem); there must be a source, and the target may not be one of the sources.
Sequence mergeLayerTexts(const std::vector<std::u16string>& sources, std::u16string_view target);

// --- The main window's layer change and move ------------------------------------------------------------
// Every text of these sequences ends in its own NUL (the command channel appends one more).

// The temporary group that collects the picked objects.
inline constexpr std::u16string_view kGroupName = u"KESTRA";

// 1–5: cancel, then GROUP with option C for the group KESTRA, leaving AutoCAD LT waiting for picks.
std::vector<std::u16string> groupCreationTexts();
// M1–M5: move the group from 0,0 to x,y (shortest decimal texts with a full stop).
std::vector<std::u16string> moveTexts(double x, double y);
// C1–C9: put the group on the layer (C7 is the layer's name followed by CR; CR alone for an empty name).
// A layer that is not empty must be a layer name.
Sequence changeTexts(std::u16string_view layer);
// U1–U4: dissolve the group: "-group", "E" (Explode, the option that deletes a group's definition and keeps
// its objects), "KESTRA", ESC ESC. An unknown option is answered "Invalid option keyword." and asked again,
// so the "U" this sequence once typed left the group in the drawing.
std::vector<std::u16string> removalTexts();
// Before anything else of an execute: "_redraw" CR, CR, ESC ESC. When the user has confirmed the picks
// (AutoCAD LT idle), REDRAW runs and the Enter repeats it, which only redraws again; when the picks are still
// open at "Select objects:" (実行 pressed before the right click), "_redraw" is no selection option and
// changes nothing, and the Enter ends the selection as the right click would, so the group holds the picked
// objects. Either way AutoCAD LT is idle with the group complete; the ESC ESC then lets go of objects picked
// at "Command:" since, which MOVE would otherwise take instead of asking for the group (PICKFIRST).
std::vector<std::u16string> confirmSelectionTexts();

// The texts of each button, in order.
// Start (9): cancel, explode a group KESTRA left behind (Tiermark closed while a change was pending, or a
// removal AutoCAD LT refused) so that it neither blocks the new group nor lends it old objects, cancel the
// prompt that an explode of a group that is not there leaves open, then texts 2–5.
std::vector<std::u16string> startTexts();
Sequence executeChangeTexts(std::u16string_view layer, double x, double y);  // 3 + 18
std::vector<std::u16string> executeMoveTexts(double x, double y);            // 3 + 9
// Cancel (5): ESC ESC (ends a selection still open, so that no group is made of it), then U1–U4.
std::vector<std::u16string> cancelTexts();

}  // namespace cadlink

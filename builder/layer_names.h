#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "stddb/database.h"

namespace builder {

// The standard layer name: life-cycle letter, "図面オブジェクト" and, when not Null, "作図要素", joined as
// stored (the codes carry their own hyphens: D + -STR + -DIM gives D-STR-DIM).
std::u16string standardLayerName(std::u16string_view letter, const stddb::Value& object,
                                 const stddb::Value& element);

// The text under which a layer is offered in the main window's list of layers: the standard name alone when
// the builder names layers by standard names only, otherwise the "内容" text (Null as empty) directly
// followed by it.
std::u16string displayName(bool standardNamesOnly, const stddb::Value& content,
                           std::u16string_view standardName);

// The standard part of a name: the text from one character before the first "-" to the end, or the whole
// text when it starts with "-"; nothing when the text holds no "-". It recovers the standard layer name
// from a display name of the main window's list ("道路中心線D-STR-CNTR" gives "D-STR-CNTR"), and the part of
// a drawing's layer name that the layer changer and the layer check match against the standard.
std::optional<std::u16string> standardPart(std::u16string_view name);

// Which layer an entry of the main window's list offers, to tell whether two entries offer the same layer:
// its standard name, or the whole text when it holds no "-".
std::u16string offeredLayer(std::u16string_view display);

// The layer the main window's change puts the picked objects on: the standard name recovered from the text
// of the main window's list (a typed text too); empty when the text holds no "-".
std::u16string targetLayer(std::u16string_view chosenText);

// True when the "作図要素" value marks the template of a numbered family (not Null, last character "n").
bool isTemplateElement(const stddb::Value& element);

}  // namespace builder

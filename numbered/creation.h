#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "builder/layer_tables.h"
#include "cadlink/channel.h"
#include "stddb/database.h"

namespace numbered {

// What creating a numbered layer needs from the numbered-layer form. SendCommand is the form's command
// channel: one command text per call, telling what became of it. The members created go into the
// program's list of created layers, which the main window shows.
class NumberedHost : public cadlink::CommandSender {
public:
    // "色定数" of the row of "線色マスター" whose "名称" is the colour name; nothing when there is none.
    virtual std::optional<stddb::Value> colourConstant(std::u16string_view colourName) = 0;
};

// The form's state when "▽追加" is pressed.
struct NumberedInput {
    int stageIndex = -1;         // the builder's life-cycle list index, -1 for no selection
    std::int16_t family = 0;     // the family the form offers (layerAddMode)
    std::u16string nameTail;     // the proposed name tail, e.g. -BYP-STR2
    std::u16string content;      // the content text typed
    std::u16string colourName;   // the chosen colour name; empty for none (then "黒")
    bool membersListed = false;  // the family already has at least one member listed
    // The family's object code and whether its companions are offered (family 4) and asked for.
    std::u16string objectCode;
    bool companionsOffered = false;
    bool withDimension = false;  // also create the same-numbered -DIM member
    bool withText = false;       // also create the same-numbered -TXT member
};

struct NumberedOutcome {
    std::vector<std::u16string> createdNames;  // the standard names, main member first
    // The member just created carries the suffix "Z": unload the form (the family is full). Otherwise
    // reset the input and run the start-up again.
    bool unloadForm = false;
    // Set when nothing was created because the content text or a member's name cannot be typed into
    // AutoCAD LT: the display name as kLeftOutMessage names it; the input stays for the user to mend.
    std::optional<std::u16string> leftOut;
    // What became of the last text sent. Anything but Taken: nothing more was sent, a member is offered
    // only once the texts that create it were taken, and the form keeps its input and tells the user once
    // (cadlink::notDeliveredMessage).
    cadlink::Delivery delivery = cadlink::Delivery::Taken;
};

inline constexpr std::u16string_view kLeftOutMessage =
    u"内容またはレイヤー名に、AutoCAD LT に送れない文字かレイヤー名に使えない文字が含まれているため、レイヤーを追加できません。";

inline constexpr std::u16string_view kDefaultColourName = u"黒";

// A member's place in its family by its suffix: "1" to "9" are 1 to 9, "A" to "Z" 10 to 35; 0 for any
// other suffix.
int memberNumber(char16_t suffix);

// "▽追加": creates the proposed layer (and, when asked, its -DIM and -TXT companions) and adds each to the
// program's list of created layers, offered as content text + name.
NumberedOutcome createNumberedLayer(NumberedHost& host, const NumberedInput& input,
                                    builder::CreatedLayers& created);

}  // namespace numbered

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

// What creating a numbered layer needs from UserForm2 and, through it, from the main window. SendCommand is
// UserForm2's command channel: one command text per call, telling what became of it.
class NumberedHost : public cadlink::CommandSender {
public:
    // Appends to the main window's layer list Combo1.
    virtual void addToCombo1(const std::u16string& text) = 0;
    // "色定数" of the row of "線色マスター" whose "名称" is the colour name; nothing when there is none.
    virtual std::optional<stddb::Value> colourConstant(std::u16string_view colourName) = 0;
};

// The form's state when "▽追加" is pressed.
struct NumberedInput {
    int stageIndex = -1;         // the builder's life-cycle list index, -1 for no selection
    std::u16string label8;       // the name tail, e.g. -BYP-STR2
    std::u16string textBox1;     // the content text
    std::u16string colourName;   // the chosen colour name of ListBox1; empty for none (then "黒")
    bool membersListed = false;  // ListBox2 holds at least one member
    // The family's object code and whether its check boxes are offered (family 4) and checked.
    std::u16string objectCode;
    bool checkBoxesEnabled = false;
    bool checkBox1 = false;  // also create the same-numbered -DIM member
    bool checkBox2 = false;  // also create the same-numbered -TXT member
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

// "▽追加" (CommandButton1_Click): creates the proposed layer (and, when asked, its -DIM and -TXT
// companions), appends each to Combo1 as content text + name and to the layer tables (growing by one).
NumberedOutcome createNumberedLayer(NumberedHost& host, const NumberedInput& input,
                                    builder::LayerTables& tables);

}  // namespace numbered

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "numbered/member_scan.h"

namespace numbered {

// The codes UserForm2 keeps while it is only hidden; a new form instance starts with both empty.
struct FamilyCodes {
    std::u16string objectCode;
    std::u16string elementCode;
};

// What the start-up (UserForm_Activate) puts on the form.
struct StartupView {
    std::optional<std::u16string> label1;  // the explanation; nothing: Label1 keeps its text
    std::u16string label11;                // LayerAddMode in decimal
    bool checkBoxesEnabled = false;        // CheckBox1 and CheckBox2
    std::vector<std::u16string> listBox2;  // the family's existing members
    std::optional<std::u16string> label8;  // the proposed name tail; nothing: Label8 keeps its text
    // The family holds 35 members: show kFamilyFullMessage titled kFamilyFullTitle, then unload the form.
    bool familyFull = false;
};

// The layers the form looks for members among: the entries of the main window's Combo1, followed, while
// layer creation runs, by the entries Combo1 offered before the run that it has not offered again yet
// (the run offers them after its new layers; members made in an earlier run are among them).
std::vector<std::u16string> layersOffered(const std::vector<std::u16string>& combo1,
                                          const std::vector<std::u16string>& earlierEntries);

// Takes the family of layerAddMode (codes keep their values outside 1 to 99), finds its members among the
// entries of the main window's Combo1 and proposes the next name tail.
StartupView runStartup(FamilyCodes& codes, std::int16_t layerAddMode,
                       const std::vector<std::u16string>& combo1);

}  // namespace numbered

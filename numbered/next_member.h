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

// What the form's start-up puts on the form.
struct StartupView {
    std::optional<std::u16string> explanation;  // nothing: the form keeps the explanation it shows
    std::u16string familyNumber;                // layerAddMode in decimal
    bool companionsOffered = false;             // the -DIM and -TXT companions may be asked for
    std::vector<std::u16string> members;        // the family's existing members
    std::optional<std::u16string> nameTail;     // the proposed name tail; nothing: the form keeps its own
    // The family holds 35 members: show kFamilyFullMessage titled kFamilyFullTitle, then unload the form.
    bool familyFull = false;
};

// The layers the form looks for members among: the display names of the program's list of created layers,
// followed, while layer creation runs, by those of the layers set aside at its start that the list does not
// offer again yet (the run offers them after its new layers; members made in an earlier run are among them).
std::vector<std::u16string> layersOffered(const std::vector<std::u16string>& offered,
                                          const std::vector<std::u16string>& setAside);

// Takes the family of layerAddMode (codes keep their values outside 1 to 99), finds its members among the
// layers offered and proposes the next name tail.
StartupView runStartup(FamilyCodes& codes, std::int16_t layerAddMode,
                       const std::vector<std::u16string>& layers);

}  // namespace numbered

#include "numbered/next_member.h"

#include <string>

#include "numbered/family_table.h"

namespace numbered {

StartupView runStartup(FamilyCodes& codes, std::int16_t layerAddMode,
                       const std::vector<std::u16string>& combo1) {
    StartupView view;
    const std::string mode = std::to_string(layerAddMode);
    view.label11.assign(mode.begin(), mode.end());
    if (const Family* family = familyRow(layerAddMode)) {
        view.label1 = explanation(*family);
        codes.objectCode = family->objectCode;
        codes.elementCode = family->elementCode;
        view.checkBoxesEnabled = layerAddMode == kFamilyWithCompanions;
    }
    view.listBox2 = scanMembers(combo1, codes.objectCode, codes.elementCode);
    Proposal proposal = proposeNameTail(view.listBox2, codes.objectCode, codes.elementCode);
    if (proposal.kind != ProposalKind::Unchanged) {
        view.label8 = std::move(proposal.tail);
    }
    view.familyFull = proposal.kind == ProposalKind::Full;
    return view;
}

}  // namespace numbered

#include "numbered/next_member.h"

#include <set>
#include <string>

#include "builder/layer_names.h"
#include "numbered/family_table.h"

namespace numbered {

std::vector<std::u16string> layersOffered(const std::vector<std::u16string>& combo1,
                                          const std::vector<std::u16string>& earlierEntries) {
    std::vector<std::u16string> layers = combo1;
    std::set<std::u16string> offered;
    for (const std::u16string& entry : combo1) {
        offered.insert(builder::offeredLayer(entry));
    }
    for (const std::u16string& entry : earlierEntries) {
        if (offered.insert(builder::offeredLayer(entry)).second) {
            layers.push_back(entry);
        }
    }
    return layers;
}

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

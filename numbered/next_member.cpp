#include "numbered/next_member.h"

#include <set>
#include <string>

#include "builder/layer_names.h"
#include "numbered/family_table.h"

namespace numbered {

std::vector<std::u16string> layersOffered(const std::vector<std::u16string>& offered,
                                          const std::vector<std::u16string>& setAside) {
    std::vector<std::u16string> layers = offered;
    std::set<std::u16string> seen;
    for (const std::u16string& entry : offered) {
        seen.insert(builder::offeredLayer(entry));
    }
    for (const std::u16string& entry : setAside) {
        if (seen.insert(builder::offeredLayer(entry)).second) {
            layers.push_back(entry);
        }
    }
    return layers;
}

StartupView runStartup(FamilyCodes& codes, std::int16_t layerAddMode,
                       const std::vector<std::u16string>& layers) {
    StartupView view;
    const std::string mode = std::to_string(layerAddMode);
    view.familyNumber.assign(mode.begin(), mode.end());
    if (const Family* family = familyRow(layerAddMode)) {
        view.explanation = explanation(*family);
        codes.objectCode = family->objectCode;
        codes.elementCode = family->elementCode;
        view.companionsOffered = layerAddMode == kFamilyWithCompanions;
    }
    view.members = scanMembers(layers, codes.objectCode, codes.elementCode);
    Proposal proposal = proposeNameTail(view.members, codes.objectCode, codes.elementCode);
    if (proposal.kind != ProposalKind::Unchanged) {
        view.nameTail = std::move(proposal.tail);
    }
    view.familyFull = proposal.kind == ProposalKind::Full;
    return view;
}

}  // namespace numbered

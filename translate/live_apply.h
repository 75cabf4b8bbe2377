#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cadlink/channel.h"
#include "layercheck/layer_check.h"
#include "translate/plan.h"

// A plan applied to the live drawing through AutoCAD LT's command line: the standard layers it lacks
// created as レイヤー作成 creates them, the single sources renamed, the rest merged with -LAYMRG by name.
// Nothing comes back from AutoCAD LT, so the texts stop at the first one it does not take and the user is
// told what was done and what was not.
namespace translate {

// One command of the live translation with the texts that make it, and how the user is told of it.
struct LiveAction {
    std::u16string what;  // "D-STR を作成", "外形線 → D-STR（名前を変更）", "寸法, 外形線 → D-DIM（統合）"
    std::vector<std::vector<std::u16string>> sequences;  // each sent with cadlink::sendAll, in order
};

struct LiveCommands {
    std::vector<LiveAction> actions;  // in the order they are sent
    // What the plan would do but no text may carry (a standard's line type that cannot be typed), with the
    // merges into a layer that is then never created: nothing of them is sent.
    std::vector<std::u16string> unsendable;
};

// The commands of a plan, in the order they are sent: each of Plan::creates (create, line type, colour),
// each rename followed by the line type and colour of the standard layer it becomes, then one -LAYMRG per
// target with all of its sources, in the order of the drawing's layers. A rename whose standard layer is
// not among the standard's layers is sent without properties.
LiveCommands liveCommands(const Plan& plan, const layercheck::Standard& standard);

struct LiveOutcome {
    std::vector<std::u16string> done;  // the actions whose every text was taken
    std::u16string stoppedIn;          // the action whose text was not taken (perhaps partly done); or empty
    std::vector<std::u16string> notSent;  // the actions after it, of which nothing was sent
    std::vector<std::u16string> unsendable;
    cadlink::Delivery delivery = cadlink::Delivery::Taken;  // what became of the last text sent
    bool stopped() const { return delivery != cadlink::Delivery::Taken; }
    bool complete() const { return !stopped() && unsendable.empty(); }
};

// Sends the commands and stops at the first text not taken.
LiveOutcome applyLive(cadlink::CommandSender& sender, const LiveCommands& commands);

// What the window tells the user afterwards (Japanese): what was done, what was not and why; empty when no
// drawing was chosen, which the command channel has said already.
std::u16string liveOutcomeMessage(const LiveOutcome& outcome);

}  // namespace translate

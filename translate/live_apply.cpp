#include "translate/live_apply.h"

#include <optional>
#include <string_view>
#include <utility>

#include "cadlink/command_texts.h"
#include "common/ascii.h"

namespace translate {

namespace {

// A message names this many actions of a kind at most, then how many more there are.
constexpr std::size_t kListedActions = 10;

const cadlink::LayerRecord* recordOf(const layercheck::Standard& standard, std::u16string_view name) {
    for (const cadlink::LayerRecord& record : standard.layers) {
        if (tiermark::equalsIgnoringAsciiCase(record.name, name)) {
            return &record;
        }
    }
    return nullptr;
}

bool named(const std::vector<std::u16string>& names, std::u16string_view name) {
    for (const std::u16string& each : names) {
        if (tiermark::equalsIgnoringAsciiCase(each, name)) {
            return true;
        }
    }
    return false;
}

std::u16string arrow(std::u16string_view from, std::u16string_view to, Outcome outcome) {
    return std::u16string(from) + u" → " + std::u16string(to) + u"（" + std::u16string(outcomeText(outcome)) +
           u"）";
}

// Create, line type, colour; nothing when the record holds text that cannot be typed.
std::optional<std::vector<std::vector<std::u16string>>> definition(const cadlink::LayerRecord& record) {
    cadlink::LayerDefinition texts = cadlink::layerDefinitionTexts(record, cadlink::LayerUse::Translated);
    if (!texts.ok()) {
        return std::nullopt;
    }
    std::vector<std::vector<std::u16string>> sequences{std::move(texts.create)};
    for (auto& property : texts.properties) {
        sequences.push_back(std::move(property));
    }
    return sequences;
}

// The standard layers created; the names of those that cannot be, which no merge may then go into.
std::vector<std::u16string> addCreates(const Plan& plan, LiveCommands& commands) {
    std::vector<std::u16string> notCreated;
    for (const cadlink::LayerRecord& record : plan.creates) {
        const std::u16string what = record.name + u" を作成";
        if (auto sequences = definition(record)) {
            commands.actions.push_back(LiveAction{what, std::move(*sequences)});
        } else {
            commands.unsendable.push_back(what);
            notCreated.push_back(record.name);
        }
    }
    return notCreated;
}

void addRenames(const Plan& plan, const layercheck::Standard& standard, LiveCommands& commands) {
    for (const Step& step : plan.steps) {
        if (step.outcome != Outcome::Renamed) {
            continue;
        }
        const std::u16string what = arrow(step.drawing, step.standard, Outcome::Renamed);
        cadlink::Sequence rename = cadlink::renameLayerTexts(step.drawing, step.standard);
        std::vector<std::vector<std::u16string>> sequences;
        if (rename) {
            sequences.push_back(std::move(*rename));
            if (const cadlink::LayerRecord* record = recordOf(standard, step.standard)) {
                cadlink::LayerRecord renamed = *record;
                renamed.name = step.standard;
                auto properties = definition(renamed);
                if (!properties) {
                    sequences.clear();
                } else {
                    sequences.insert(sequences.end(), properties->begin() + 1, properties->end());
                }
            }
        }
        if (sequences.empty()) {
            commands.unsendable.push_back(what);
        } else {
            commands.actions.push_back(LiveAction{what, std::move(sequences)});
        }
    }
}

bool mergedAway(Outcome outcome) {
    return outcome == Outcome::Merged || outcome == Outcome::CreatedThenMerged;
}

void addMerges(const Plan& plan, const std::vector<std::u16string>& notCreated, LiveCommands& commands) {
    std::vector<std::u16string> targets;
    for (const Step& step : plan.steps) {
        if (mergedAway(step.outcome) && !named(targets, step.standard)) {
            targets.push_back(step.standard);
        }
    }
    for (const std::u16string& target : targets) {
        std::vector<std::u16string> sources;
        for (const Step& step : plan.steps) {
            if (mergedAway(step.outcome) && tiermark::equalsIgnoringAsciiCase(step.standard, target)) {
                sources.push_back(step.drawing);
            }
        }
        std::u16string joined;
        for (const std::u16string& source : sources) {
            joined += (joined.empty() ? u"" : u", ") + source;
        }
        const std::u16string what = arrow(joined, target, Outcome::Merged);
        cadlink::Sequence merge = cadlink::mergeLayerTexts(sources, target);
        if (!merge || named(notCreated, target)) {
            commands.unsendable.push_back(what);
        } else {
            commands.actions.push_back(LiveAction{what, {std::move(*merge)}});
        }
    }
}

void appendList(std::u16string& message, std::u16string_view heading,
                const std::vector<std::u16string>& items) {
    if (items.empty()) {
        return;
    }
    message += u"\r\r" + std::u16string(heading);
    for (std::size_t i = 0; i < items.size() && i < kListedActions; ++i) {
        message += u"\r  " + items[i];
    }
    if (items.size() > kListedActions) {
        const std::string more = std::to_string(items.size() - kListedActions);
        message += u"\r  ほか " + std::u16string(more.begin(), more.end()) + u" 件";
    }
}

}  // namespace

LiveCommands liveCommands(const Plan& plan, const layercheck::Standard& standard) {
    LiveCommands commands;
    const std::vector<std::u16string> notCreated = addCreates(plan, commands);
    addRenames(plan, standard, commands);
    addMerges(plan, notCreated, commands);
    return commands;
}

LiveOutcome applyLive(cadlink::CommandSender& sender, const LiveCommands& commands) {
    LiveOutcome outcome;
    outcome.unsendable = commands.unsendable;
    for (std::size_t i = 0; i < commands.actions.size(); ++i) {
        for (const std::vector<std::u16string>& texts : commands.actions[i].sequences) {
            outcome.delivery = cadlink::sendAll(sender, texts);
            if (outcome.stopped()) {
                outcome.stoppedIn = commands.actions[i].what;
                for (std::size_t j = i + 1; j < commands.actions.size(); ++j) {
                    outcome.notSent.push_back(commands.actions[j].what);
                }
                return outcome;
            }
        }
        outcome.done.push_back(commands.actions[i].what);
    }
    return outcome;
}

std::u16string liveOutcomeMessage(const LiveOutcome& outcome) {
    if (outcome.delivery == cadlink::Delivery::NoTarget) {
        return {};
    }
    std::u16string message;
    if (outcome.stopped()) {
        message = outcome.done.empty() ? u"図面の画層を変換できませんでした。"
                                       : u"図面の画層の変換は途中までです。";
    } else if (outcome.done.empty()) {
        message = outcome.unsendable.empty() ? u"図面に送る変換はありません。"
                                             : u"図面の画層を変換できませんでした。";
    } else {
        message = u"図面の画層を変換しました。";
    }
    appendList(message, u"変換したもの:", outcome.done);
    if (outcome.stopped()) {
        appendList(message, u"AutoCAD LT が受け付けなかったもの（途中まで済んでいることがあります）:",
                   {outcome.stoppedIn});
    }
    appendList(message, u"送っていないもの:", outcome.notSent);
    appendList(message, u"AutoCAD LT に送れない文字を含むため、送っていないもの:", outcome.unsendable);
    if (outcome.stopped()) {
        message += u"\r\r" + cadlink::notDeliveredMessage(outcome.delivery);
    }
    return message;
}

}  // namespace translate

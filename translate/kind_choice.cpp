#include "translate/kind_choice.h"

#include <cmath>
#include <cstdint>

#include "builder/value_text.h"

namespace translate {

namespace {

std::u16string percentText(const KindMatch& match) {
    return builder::integerText(static_cast<std::int64_t>(std::lround(match.share() * 100))) + u"%";
}

}  // namespace

std::u16string shareText(const KindMatch& match) {
    return percentText(match) + u"（" + builder::integerText(match.matched) + u" / " +
           builder::integerText(match.considered) + u" 画層）";
}

std::vector<KindMatch> bestKinds(std::vector<KindMatch> matches, std::size_t shown) {
    if (matches.size() > shown) {
        matches.resize(shown);
    }
    return matches;
}

std::u16string kindLine(const KindMatch& match, const std::vector<std::u16string>& names) {
    const std::u16string name = match.kind < names.size() ? names[match.kind] : std::u16string();
    return name + u"　" + shareText(match);
}

StandardOfFile bestKindOfFile(const std::vector<layercheck::Standard>& kinds,
                              const std::vector<std::u16string>& names) {
    return [&kinds, &names](const std::vector<cadlink::DrawingLayer>& layers) -> FileStandard {
        const std::vector<KindMatch> matches = proposeKinds(layers, kinds);
        if (matches.empty()) {
            return {};
        }
        const KindMatch& best = matches.front();
        const std::u16string name = best.kind < names.size() ? names[best.kind] : std::u16string();
        return {&kinds[best.kind], name + u"（一致 " + percentText(best) + u"）"};
    };
}

}  // namespace translate

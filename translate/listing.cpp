#include "translate/listing.h"

#include <string>

namespace translate {

std::u16string stepLine(const Step& step) {
    const std::u16string outcome(outcomeText(step.outcome));
    if (step.outcome == Outcome::LeftAlone) {
        return step.drawing + u"（" + outcome + (step.reason.empty() ? u"" : u"：" + step.reason) + u"）";
    }
    std::u16string line = step.drawing + u" → " + step.standard + u"（" + outcome;
    if (!step.reason.empty()) {
        line += u"：" + step.reason;
    }
    return line + u"）";
}

std::u16string standardLine(const cadlink::LayerRecord& layer) {
    const std::string colour = std::to_string(layer.colour);
    return layer.name + u"　" + cadlink::effectiveLinetype(layer) + u"　色 " +
           std::u16string(colour.begin(), colour.end());
}

}  // namespace translate

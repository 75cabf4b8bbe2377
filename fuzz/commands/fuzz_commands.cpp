// Database text through layer name composition and command encoding. Input: a steering byte, four length
// bytes, then UTF-16LE text cut into 図面オブジェクト, 作図要素, 内容 and 線種 of a layer row (each at most
// 63 units), the rest being the main window's Combo1 text.
//
// A creation run over that row and a plain one, the numbered-layer form with the same texts, and the main
// window's 実行 for the Combo1 text may only send control characters where the program puts its own:
// every text they send is one of the program's fixed texts, or an answer followed by CR (the numbered
// form's name by CR LF; the main window's texts end in CR and their NUL), and that answer holds no control
// character and is well-formed UTF-16. Each text, encoded as the channel encodes it, decodes to itself. A
// layer is left out only when its text indeed cannot be typed, and one that is not left out goes out as
// composed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "builder/cascade.h"
#include "builder/creation_run.h"
#include "builder/layer_names.h"
#include "builder/value_text.h"
#include "cadlink/channel.h"
#include "cadlink/command_texts.h"
#include "cadlink/sendable_text.h"
#include "common/utf.h"
#include "fuzz/support/fuzz_input.h"
#include "numbered/creation.h"

namespace {

using Texts = std::vector<std::u16string>;

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool isControl(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

// The program's own texts of the "-Layer" sequences.
bool isFixedLayerText(const std::u16string& text) {
    static const Texts fixed = {u"\x1b\x1b", u"\x1b", u"-Layer\r", u"n\r", u"L\r", u"C\r"};
    return std::find(fixed.begin(), fixed.end(), text) != fixed.end();
}

// An answer followed by the given end: the answer holds no control character and is well-formed.
bool isAnswer(std::u16string_view text, std::u16string_view end) {
    if (text.size() < end.size() || text.substr(text.size() - end.size()) != end) {
        return false;
    }
    const std::u16string_view answer = text.substr(0, text.size() - end.size());
    return std::none_of(answer.begin(), answer.end(), isControl) && tiermark::isValidUtf16(answer);
}

// The text, encoded as the channel encodes it, reads back as itself up to its first NUL,
// and a NUL comes, if at all, only as its last unit.
void requireRoundTrip(const std::u16string& text) {
    const std::size_t nul = text.find(u'\0');
    require(nul == std::u16string::npos || nul + 1 == text.size());
    auto payload = cadlink::EncodeCommand(text);
    require(payload.ok());
    auto decoded = cadlink::DecodeCommand(payload->bytes);
    require(decoded.ok() && *decoded == text.substr(0, nul));
}

void requireLayerTexts(const Texts& sent, bool crLfNames) {
    for (const std::u16string& text : sent) {
        require(isFixedLayerText(text) || isAnswer(text, u"\r") || (crLfNames && isAnswer(text, u"\r\n")));
        requireRoundTrip(text);
    }
}

class CreationRecorder final : public builder::CreationHost {
public:
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        sent.emplace_back(text);
        return cadlink::Delivery::Taken;
    }
    void chooseFirstLayer() override {}
    void showNumberedForm() override {}
    std::optional<stddb::Value> colourConstant(std::u16string_view) override {
        return stddb::Value{std::int64_t{3}};
    }
    void offerChangeAndMove(const std::u16string&) override {}
    void enableCreation() override {}
    void hideBuilder() override {}

    Texts sent;
};

class NumberedRecorder final : public numbered::NumberedHost {
public:
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        sent.emplace_back(text);
        return cadlink::Delivery::Taken;
    }
    std::optional<stddb::Value> colourConstant(std::u16string_view) override { return std::nullopt; }

    Texts sent;
};

stddb::Value valueOf(const std::u16string& text, bool null) {
    return null ? stddb::Value{} : stddb::Value{text};
}

bool contains(const Texts& texts, const std::u16string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

void layerCreation(const builder::LayerRow& row, int stageIndex, bool standardNamesOnly) {
    const builder::LayerRow plain{stddb::Value{},
                                  stddb::Value{},
                                  stddb::Value{std::u16string(u"-BGD")},
                                  stddb::Value{std::u16string(u"現況")},
                                  stddb::Value{std::u16string(u"実線")},
                                  stddb::Value{}};
    builder::CreationInput input;
    input.rows = {row, plain};
    input.stageIndex = stageIndex;
    input.standardNamesOnly = standardNamesOnly;
    input.originX = u"0";
    input.originY = u"0";
    CreationRecorder host;
    builder::ProgramLayerState state;
    const builder::CreationOutcome outcome = builder::runLayerCreation(host, input, state);
    requireLayerTexts(host.sent, false);

    // The plain row always goes out.
    const std::u16string letter = builder::lifeCycleLetter(stageIndex);
    require(contains(host.sent, letter + u"-BGD\r"));
    // The row under test is left out exactly when its text cannot be typed.
    const std::u16string name = builder::standardLayerName(letter, row.object, row.element);
    const std::u16string linetype = stddb::asText(row.linetype) == u"実線"
                                        ? std::u16string(cadlink::kContinuous)
                                        : stddb::asText(row.linetype);
    const bool sendable = !cadlink::layerNameProblem(name) &&
                          (builder::isTemplateElement(row.element) || linetype.empty() ||
                           !cadlink::layerNameProblem(linetype)) &&
                          !cadlink::answerProblem(builder::displayName(standardNamesOnly, row.content, name));
    require(outcome.leftOut.empty() == sendable);
    if (sendable) {
        require(contains(host.sent, name + u"\r"));
    }
    for (const std::u16string& offered : state.created.displayNames()) {
        require(!cadlink::answerProblem(offered));
    }
}

void numberedLayer(const std::u16string& nameTail, const std::u16string& content, const std::u16string& code,
                   int stageIndex, bool companions) {
    numbered::NumberedInput input;
    input.stageIndex = stageIndex;
    input.nameTail = nameTail;
    input.content = content;
    input.objectCode = code;
    input.companionsOffered = companions;
    input.withDimension = companions;
    NumberedRecorder host;
    builder::CreatedLayers created;
    const numbered::NumberedOutcome outcome = numbered::createNumberedLayer(host, input, created);
    requireLayerTexts(host.sent, true);
    require(outcome.leftOut.has_value() == outcome.createdNames.empty());
    require(!outcome.leftOut || host.sent.empty());
    for (const std::u16string& offered : created.displayNames()) {
        require(!cadlink::answerProblem(offered));
    }
}

void mainWindowChange(const std::u16string& combo1Text) {
    const std::u16string layer = builder::targetLayer(combo1Text);
    const cadlink::Sequence texts = cadlink::executeChangeTexts(layer, 1.5, -2);
    require(texts.ok() == (layer.empty() || !cadlink::layerNameProblem(layer)));
    if (!texts) {
        return;
    }
    // Every text but C7 is the program's own; C7 is the layer, CR and NUL.
    const Texts fixed = cadlink::executeChangeTexts(u"X", 1.5, -2).value();
    const std::size_t c7 = cadlink::confirmSelectionTexts().size() + cadlink::moveTexts(1.5, -2).size() + 6;
    require(texts->size() == fixed.size());
    for (std::size_t i = 0; i < texts->size(); ++i) {
        const std::u16string& text = (*texts)[i];
        require(i == c7 ? isAnswer(text, std::u16string(u"\r") + u'\0') : text == fixed[i]);
        requireRoundTrip(text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tiermark::fuzz::FuzzInput input(data, size);
    const std::uint8_t steer = input.byte();
    std::size_t lengths[4];
    for (std::size_t& length : lengths) {
        length = input.byte() % 64;
    }
    const std::u16string text = input.restUtf16();
    std::u16string pieces[4];
    std::size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        pieces[i] = text.substr(std::min(at, text.size()), lengths[i]);
        at += lengths[i];
    }
    const std::u16string combo1Text = at < text.size() ? text.substr(at) : std::u16string();
    const auto& [object, element, content, linetype] = pieces;

    const int stageIndex = (steer & 7) - 1;
    const builder::LayerRow row{stddb::Value{},
                                valueOf(element, (steer & 0x10) != 0),
                                valueOf(object, false),
                                valueOf(content, (steer & 0x20) != 0),
                                valueOf(linetype, (steer & 0x40) != 0),
                                stddb::Value{}};
    layerCreation(row, stageIndex, (steer & 8) != 0);
    numberedLayer(object, content, element, stageIndex, (steer & 0x80) != 0);
    mainWindowChange(combo1Text);
    return 0;
}

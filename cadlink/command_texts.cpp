#include "cadlink/command_texts.h"

#include <optional>
#include <string>

#include "cadlink/sendable_text.h"
#include "common/ascii.h"
#include "common/numtext.h"

namespace cadlink {

namespace {

// A line of the "-Layer" sequences: the text and CR.
std::u16string layerLine(std::u16string_view text) {
    return std::u16string(text) + u"\r";
}

constexpr std::u16string_view kEscEsc = u"\x1b\x1b";
constexpr std::u16string_view kEsc = u"\x1b";
constexpr std::u16string_view kLayerCommand = u"-Layer\r";
constexpr std::u16string_view kNewOption = u"n\r";
constexpr std::u16string_view kLinetypeOption = u"L\r";
constexpr std::u16string_view kColourOption = u"C\r";
constexpr std::u16string_view kRenameCommand = u"-RENAME\r";
constexpr std::u16string_view kLayerObjectType = u"LA\r";
constexpr std::u16string_view kMergeCommand = u"-LAYMRG\r";
constexpr std::u16string_view kNameOption = u"N\r";
constexpr std::u16string_view kYes = u"Y\r";

// A text of the main window's sequences: the text, CR and NUL, as AutoCAD LT takes one line of input.
std::u16string line(std::u16string_view text) {
    std::u16string result(text);
    result += u'\r';
    result += u'\0';
    return result;
}

// ESC ESC NUL: back to an idle command line.
std::u16string escape() {
    return std::u16string(u"\x1b\x1b\0", 3);
}

// Why a text from outside cannot be taken, in words for a log.
std::string describe(std::string_view what, TextProblem problem) {
    switch (problem) {
        case TextProblem::ControlCharacter:
            return std::string(what) + " holds a control character";
        case TextProblem::UnpairedSurrogate:
            return std::string(what) + " holds half of a surrogate pair";
        case TextProblem::EmptyName:
            return std::string(what) + " is empty";
        case TextProblem::NameTooLong:
            return std::string(what) + " is longer than 255 characters";
        case TextProblem::NameCharacter:
            return std::string(what) + " holds a character that names may not hold";
        case TextProblem::Blank:
            return std::string(what) + " holds a blank, which AutoCAD LT takes as Enter";
    }
    return std::string(what) + " cannot be sent";
}

// Nothing when the name may be typed; otherwise the error that refuses the whole sequence.
std::optional<tiermark::Error> refuseName(std::string_view what, std::u16string_view name) {
    if (const auto problem = layerNameProblem(name)) {
        return tiermark::makeError(describe(what, *problem));
    }
    return std::nullopt;
}

void append(std::vector<std::u16string>& to, std::vector<std::u16string> texts) {
    for (auto& text : texts) {
        to.push_back(std::move(text));
    }
}

}  // namespace

Delivery sendAll(CommandSender& sender, const Sequence& texts) {
    if (!texts) {
        return Delivery::Refused;
    }
    return sendAll(sender, *texts);
}

Sequence createLayerTexts(std::u16string_view name, NameEnd end) {
    if (auto refused = refuseName("the layer name", name)) {
        return *refused;
    }
    return std::vector<std::u16string>{
        std::u16string(kEscEsc), std::u16string(kLayerCommand), std::u16string(kNewOption),
        std::u16string(name) + (end == NameEnd::CrLf ? u"\r\n" : u"\r"), std::u16string(kEsc)};
}

Sequence linetypeTexts(std::u16string_view linetype, std::u16string_view name) {
    if (auto refused = refuseName("the layer name", name)) {
        return *refused;
    }
    if (!linetype.empty()) {
        if (auto refused = refuseName("the line type", linetype)) {
            return *refused;
        }
    }
    return std::vector<std::u16string>{std::u16string(kEscEsc),
                                       std::u16string(kLayerCommand),
                                       std::u16string(kLinetypeOption),
                                       layerLine(linetype),
                                       layerLine(name),
                                       std::u16string(kEscEsc)};
}

Sequence colourTexts(std::int64_t colour, std::u16string_view name) {
    if (auto refused = refuseName("the layer name", name)) {
        return *refused;
    }
    const std::string number = std::to_string(colour);
    return std::vector<std::u16string>{std::u16string(kEscEsc),
                                       std::u16string(kLayerCommand),
                                       std::u16string(kColourOption),
                                       layerLine(std::u16string(number.begin(), number.end())),
                                       layerLine(name),
                                       std::u16string(kEscEsc)};
}

namespace {

bool offered(LayerUse use) {
    return use == LayerUse::Created || use == LayerUse::Template || use == LayerUse::Member;
}

bool withProperties(LayerUse use) {
    return use == LayerUse::Created || use == LayerUse::Member || use == LayerUse::Exported ||
           use == LayerUse::Translated;
}

LayerDefinition refusedAt(LayerField field) {
    LayerDefinition definition;
    definition.refused = field;
    return definition;
}

}  // namespace

LayerDefinition layerDefinitionTexts(const LayerRecord& layer, LayerUse use) {
    Sequence create = createLayerTexts(layer.name, use == LayerUse::Member ? NameEnd::CrLf : NameEnd::Cr);
    if (!create) {
        return refusedAt(LayerField::Name);
    }
    LayerDefinition definition;
    definition.create = std::move(*create);
    if (withProperties(use)) {
        Sequence linetype = linetypeTexts(layer.linetype, layer.name);
        if (!linetype) {
            return refusedAt(LayerField::Linetype);
        }
        definition.properties.push_back(std::move(*linetype));
        definition.properties.push_back(colourTexts(layer.colour, layer.name).value());
    }
    if (offered(use) && answerProblem(layer.display)) {
        return refusedAt(LayerField::Display);
    }
    return definition;
}

Sequence renameLayerTexts(std::u16string_view oldName, std::u16string_view newName) {
    if (auto refused = refuseName("the old layer name", oldName)) {
        return *refused;
    }
    if (auto refused = refuseName("the new layer name", newName)) {
        return *refused;
    }
    return std::vector<std::u16string>{std::u16string(kEscEsc),
                                       std::u16string(kRenameCommand),
                                       std::u16string(kLayerObjectType),
                                       layerLine(oldName),
                                       layerLine(newName),
                                       std::u16string(kEsc)};
}

Sequence mergeLayerTexts(const std::vector<std::u16string>& sources, std::u16string_view target) {
    if (sources.empty()) {
        return tiermark::makeError("there is no layer to merge");
    }
    if (auto refused = refuseName("the target layer name", target)) {
        return *refused;
    }
    std::vector<std::u16string> texts{std::u16string(kEscEsc), std::u16string(kMergeCommand)};
    for (const std::u16string& source : sources) {
        if (auto refused = refuseName("the name of a layer to merge", source)) {
            return *refused;
        }
        if (tiermark::equalsIgnoringAsciiCase(source, target)) {
            return tiermark::makeError("the target layer is one of the layers to merge");
        }
        texts.push_back(std::u16string(kNameOption));
        texts.push_back(layerLine(source));
    }
    texts.push_back(layerLine(u""));
    texts.push_back(std::u16string(kNameOption));
    texts.push_back(layerLine(target));
    texts.push_back(std::u16string(kYes));
    texts.push_back(std::u16string(kEsc));
    return texts;
}

std::vector<std::u16string> groupCreationTexts() {
    return {escape(), line(u"-group"), line(u"C"), line(kGroupName), line(u"C")};
}

std::vector<std::u16string> moveTexts(double x, double y) {
    const std::u16string displacement =
        u"0,0\r" + tiermark::shortestDecimalU16(x) + u"," + tiermark::shortestDecimalU16(y);
    return {line(u"_move"), line(u"G"), line(std::u16string(kGroupName) + u"\r"), line(displacement),
            escape()};
}

Sequence changeTexts(std::u16string_view layer) {
    if (!layer.empty()) {
        if (auto refused = refuseName("the layer name", layer)) {
            return *refused;
        }
    }
    return std::vector<std::u16string>{line(u"change"), line(u"G"),  line(kGroupName), line(u""), line(u"P"),
                                       line(u"LA"),     line(layer), line(u""),        escape()};
}

std::vector<std::u16string> removalTexts() {
    return {line(u"-group"), line(u"E"), line(kGroupName), escape()};
}

std::vector<std::u16string> confirmSelectionTexts() {
    return {line(u"_redraw"), line(u""), escape()};
}

std::vector<std::u16string> startTexts() {
    std::vector<std::u16string> texts{escape()};
    append(texts, removalTexts());
    std::vector<std::u16string> creation = groupCreationTexts();
    append(texts, std::vector<std::u16string>(creation.begin() + 1, creation.end()));
    return texts;
}

Sequence executeChangeTexts(std::u16string_view layer, double x, double y) {
    Sequence change = changeTexts(layer);
    if (!change) {
        return change;
    }
    std::vector<std::u16string> texts = confirmSelectionTexts();
    append(texts, moveTexts(x, y));
    append(texts, std::move(change.value()));
    append(texts, removalTexts());
    return texts;
}

std::vector<std::u16string> executeMoveTexts(double x, double y) {
    std::vector<std::u16string> texts = confirmSelectionTexts();
    append(texts, moveTexts(x, y));
    append(texts, removalTexts());
    return texts;
}

std::vector<std::u16string> cancelTexts() {
    std::vector<std::u16string> texts{escape()};
    append(texts, removalTexts());
    return texts;
}

}  // namespace cadlink

#include "builder/layer_changer.h"

#include "builder/layer_names.h"
#include "cadlink/sendable_text.h"
#include "common/utf.h"

namespace builder {

std::u16string stemOf(std::u16string_view standardPart) {
    std::u16string stem(standardPart.substr(0, standardPart.empty() ? 0 : standardPart.size() - 1));
    if (!stem.empty() && stem.back() == u' ') {
        stem.pop_back();
    }
    return stem;
}

std::u16string convertedName(std::u16string_view stem, std::u16string_view layerName) {
    std::u16string name(stem);
    if (!layerName.empty()) {
        name += layerName.back();
    }
    return name;
}

bool listedInChanger(std::u16string_view layerName) {
    return layerName != u"0" && layerName != u"DEFPOINTS";
}

std::vector<std::u16string> changerListing(const std::vector<std::u16string>& drawingLayers) {
    std::vector<std::u16string> listed;
    for (const auto& name : drawingLayers) {
        if (listedInChanger(name)) {
            listed.push_back(name);
        }
    }
    return listed;
}

std::vector<std::u16string> changerListing(const std::vector<cadlink::DrawingLayer>& drawingLayers) {
    std::vector<std::u16string> listed;
    for (const cadlink::DrawingLayer& layer : drawingLayers) {
        if (!layer.xrefDependent && listedInChanger(layer.name)) {
            listed.push_back(layer.name);
        }
    }
    return listed;
}

std::optional<std::size_t> matchingEntry(std::u16string_view standardPart, std::u16string_view stem,
                                         const std::vector<std::u16string>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::u16string_view entry = entries[i];
        if (entry == standardPart || (!entry.empty() && entry.substr(0, entry.size() - 1) == stem)) {
            return i;
        }
    }
    return std::nullopt;
}

void runConversionPass(ChangerHost& host, std::vector<std::u16string>& drawingLayers,
                       const std::vector<std::u16string>& standardLayers, bool& unconvertedNotice) {
    // Layers whose new name (or own name, from the drawing) cannot be typed into AutoCAD LT stay as they are
    // and are named once the pass is over.
    std::u16string leftOut;
    const auto tellLeftOut = [&host, &leftOut] {
        if (!leftOut.empty()) {
            host.showMessage(std::u16string(kUnsendableRenameMessage) + leftOut);
        }
    };
    // Bottom-up, so that removing an item does not move the ones still to be looked at.
    for (std::size_t i = drawingLayers.size(); i-- > 0;) {
        const std::u16string name = drawingLayers[i];
        const std::optional<std::u16string> part = standardPart(name);
        if (!part) {
            continue;
        }
        const std::u16string stem = stemOf(*part);
        if (!matchingEntry(*part, stem, standardLayers)) {
            continue;
        }
        const tiermark::Result<bool> exists = host.drawingHasLayer(name);
        if (!exists) {
            host.showMessage(std::u16string(kDrawingUnreachableMessage) + u"\r" +
                             tiermark::fromUtf8(exists.error().message));
            tellLeftOut();
            return;
        }
        if (!*exists) {
            host.showMessage(std::u16string(kLayerMissingMessage));
            tellLeftOut();
            return;
        }
        // A layer that carries its standard name already is converted: renaming it to itself would only
        // be refused because the name exists.
        const std::u16string newName = convertedName(stem, name);
        if (newName == name) {
            drawingLayers.erase(drawingLayers.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (cadlink::answerProblem(name) || cadlink::layerNameProblem(newName)) {
            leftOut += u"\r" + cadlink::visibleText(name);
            continue;
        }
        const tiermark::Result<void> renamed = host.renameLayer(name, newName);
        if (!renamed) {
            host.showMessage(std::u16string(kRenameRefusedMessage) + u"\r" +
                             tiermark::fromUtf8(renamed.error().message));
            continue;
        }
        drawingLayers.erase(drawingLayers.begin() + static_cast<std::ptrdiff_t>(i));
    }
    unconvertedNotice = !drawingLayers.empty();
    tellLeftOut();
}

}  // namespace builder

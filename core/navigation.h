// How a window opens, shows, hides or unloads another, and tells it what changed (core::Navigation).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layercheck {
struct Standard;
}  // namespace layercheck

namespace core {

// The windows one form may open for another (the main window opens the builder itself).
enum class Window {
    Builder,       // the layer-set builder, UserForm1
    Numbered,      // the numbered-layer form, UserForm2
    Settings,      // the settings window, UserForm3
    Versions,      // the standard versions form, UserForm4
    Registration,  // the database registration form, UserForm5
    About,         // the about window, UserForm8
    LayerCheck,    // the layer check, UserForm9
    Translation,   // the layer translation, UserForm10
};

// What a form may ask of the other windows. The forms know only this interface; app/ implements it with
// the form registry, which creates a window when it is first asked for. A form never touches another
// window's controls: it asks here, and the window it concerns answers or acts in its own terms.
class Navigation {
public:
    virtual ~Navigation() = default;

    // Shows the window, creating it on first use: the builder as a window of its own (its start-up runs
    // on every showing), the others modally, returning once they are closed or hidden.
    virtual void show(Window window) = 0;
    // Shows the layer check modally for the standard of the drawing kind and stage chosen in the builder.
    virtual void showLayerCheck(layercheck::Standard standard, const std::u16string& heading,
                                const std::u16string& drawingKind) = 0;
    // The same for one DXF file, checked at once (a file of the translation window's folder run).
    virtual void showLayerCheckOf(layercheck::Standard standard, const std::u16string& heading,
                                  const std::u16string& drawingKind, const std::u16string& dxfFile) = 0;
    // Shows the layer translation modally for the standard of the drawing kind and stage chosen in the
    // builder; the stage (its name, empty for none) is the one the window proposes other kinds at.
    virtual void showTranslation(layercheck::Standard standard, const std::u16string& heading,
                                 const std::u16string& drawingKind, const std::u16string& stage) = 0;
    // Hides the window and destroys it once control has returned to the event loop, so a form may unload
    // itself from its own handler. A window not loaded stays so.
    virtual void unload(Window window) = 0;

    // The life-cycle stage chosen in the builder, by its position in the stage list (-1 for none);
    // nullopt while the builder is not loaded.
    virtual std::optional<int> builderStage() const = 0;
    // Chooses the builder's stage by position, or the stage of that text; a builder not loaded, or one
    // without such a stage, stays as it is.
    virtual void chooseBuilderStage(int position) = 0;
    virtual void chooseBuilderStage(std::u16string_view stage) = 0;
    // The stage chosen in the settings window; nullopt while it is not loaded or has none chosen.
    virtual std::optional<std::u16string> settingsStage() const = 0;

    // The creation run made the layers of the main window's list: it offers the layer change and the move
    // and shows the guidance given.
    virtual void offerChangeAndMove(const std::u16string& guidance) = 0;

    // Chooses the first entry of the main window's list of the layers created in this run
    // ("変更後のレイヤー"), as the creation run does when it has filled the program's list.
    virtual void chooseFirstCreatedLayer() = 0;
};

}  // namespace core

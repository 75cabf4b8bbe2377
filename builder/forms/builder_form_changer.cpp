// The layer changer of page 2: the drawing's own layers beside the standard entries, and "→".
#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/program.h"
#include "builder/forms/builder_form.h"
#include "builder/layer_changer.h"
#include "cadlink/drawing_access.h"
#include "common/utf.h"
#include "ui/dialogs.h"

namespace builder {
namespace {

// The target drawing as the conversion pass reaches it through the drawing access.
class DrawingChangerHost final : public ChangerHost {
public:
    DrawingChangerHost(UserForm1& builder, app::Program& program) : m_builder(builder), m_program(program) {}

    tiermark::Result<bool> drawingHasLayer(std::u16string_view name) override {
        cadlink::WindowHandle window = 0;
        cadlink::DrawingAccess* drawing = m_program.drawing();
        if (drawing == nullptr) {
            return tiermark::makeError(cadlink::kNoReadBackMessage);
        }
        if (!m_program.forms().form1().targetWindow(window)) {
            return tiermark::makeError(tiermark::toUtf8(cadlink::kNoTargetMessage));
        }
        return drawing->hasLayer(window, name);
    }
    tiermark::Result<void> renameLayer(std::u16string_view from, std::u16string_view to) override {
        cadlink::WindowHandle window = 0;
        cadlink::DrawingAccess* drawing = m_program.drawing();
        if (drawing == nullptr || !m_program.forms().form1().targetWindow(window)) {
            return tiermark::makeError(cadlink::kNoReadBackMessage);
        }
        return drawing->renameLayer(window, from, to);
    }
    void showMessage(const std::u16string& text) override {
        ui::showMessage(m_program.dialogs(), &m_builder, text);
    }

private:
    UserForm1& m_builder;
    app::Program& m_program;
};

}  // namespace

void UserForm1::listDrawingLayers() {
    cadlink::DrawingAccess* drawing = m_program.drawing();
    if (drawing == nullptr || !drawing->available()) {
        // AutoCAD LT gives nothing back: say why the list stays empty.
        Label27->setCaption(tiermark::fromUtf8(cadlink::kNoReadBackMessage));
        Label27->show();
        return;
    }
    Label27->hide();
    cadlink::WindowHandle window = 0;
    if (!m_program.forms().form1().targetWindow(window)) {
        return;
    }
    auto layers = drawing->layerNames(window);
    if (!layers) {
        return;
    }
    for (const std::u16string& name : changerListing(*layers)) {
        ListBox12->addItem(name);
    }
}

void UserForm1::CommandButton2_Click() {
    std::vector<std::u16string> remaining = ListBox12->items();
    bool label26Visible = !Label26->isHidden();
    DrawingChangerHost host(*this, m_program);
    runConversionPass(host, remaining, ListBox13->items(), label26Visible);
    ListBox12->clearItems();
    for (const std::u16string& name : remaining) {
        ListBox12->addItem(name);
    }
    Label26->setVisible(label26Visible);
}

}  // namespace builder

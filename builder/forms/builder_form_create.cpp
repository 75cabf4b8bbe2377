// "レイヤー作成": the layers of the chosen drawing kind are created in the target drawing.
#include "builder/cascade.h"
#include "builder/creation_run.h"
#include "builder/forms/builder_form.h"
#include "builder/linetype_notice.h"
#include "builder/queries.h"
#include "cadlink/drawing_access.h"
#include "core/navigation.h"
#include "core/program.h"
#include "ui/dialogs.h"

namespace builder {
namespace {

// The builder, and the main window and the numbered-layer form through the navigation, as the creation run
// reaches them.
class FormCreationHost final : public CreationHost {
public:
    FormCreationHost(UserForm1& builder, core::Program& program)
        : m_builder(builder), m_program(program), m_navigation(program.navigation()) {}

    cadlink::Delivery SendCommand(std::u16string_view text) override { return m_builder.SendCommand(text); }
    void chooseFirstLayer() override { m_navigation.chooseFirstCreatedLayer(); }
    void showNumberedForm() override { m_navigation.show(core::Window::Numbered); }
    std::optional<stddb::Value> colourConstant(std::u16string_view colourName) override {
        return builder::colourConstant(m_program.database().get(), colourName);
    }
    void offerChangeAndMove(const std::u16string& label3) override {
        m_navigation.offerChangeAndMove(label3);
    }
    void enableCreation() override { m_builder.CommandButton1->setEnabled(true); }
    void hideBuilder() override { m_builder.hide(); }

private:
    UserForm1& m_builder;
    core::Program& m_program;
    core::Navigation& m_navigation;
};

}  // namespace

cadlink::Delivery UserForm1::SendCommand(std::u16string_view text) {
    return m_channel.SendCommand(text);
}

std::optional<std::vector<LayerRow>> UserForm1::chosenLayerRows() {
    auto rows = layerRows(m_program.database(), Label6->caption(), ListBox4->text());
    if (!rows) {
        ui::showMessage(m_program.dialogs(), this, std::u16string(kLayerTableUnreadableMessage));
        return std::nullopt;
    }
    return std::move(rows.value());
}

ColourLookup UserForm1::colourLookup() {
    return [this](std::u16string_view name) { return colourConstant(m_program.database().get(), name); };
}

void UserForm1::CommandButton1_Click() {
    std::optional<std::vector<LayerRow>> rows = chosenLayerRows();
    if (!rows) {
        return;
    }
    CreationInput input;
    input.rows = std::move(*rows);
    input.stageIndex = ListBox1->listIndex();
    input.standardNamesOnly = OptionButton1->isChecked();
    input.originX = TextBox5->text16();
    input.originY = TextBox4->text16();

    m_operationInProgress = true;
    FormCreationHost host(*this, m_program);
    const CreationOutcome outcome = runLayerCreation(host, input, m_program.layers());
    m_operationInProgress = false;
    if (outcome.noLayerRows) {
        ui::showMessage(m_program.dialogs(), this, std::u16string(kNoLayerRowsMessage));
    } else if (!outcome.originMessage.empty()) {
        ui::showMessage(m_program.dialogs(), this, outcome.originMessage);
    } else if (const std::u16string message = cadlink::notDeliveredMessage(outcome.delivery);
               !message.empty()) {
        ui::showMessage(m_program.dialogs(), this, message);
    }
    if (!outcome.leftOut.empty()) {
        ui::showMessage(m_program.dialogs(), this, leftOutMessage(outcome.leftOut));
    }
    if (outcome.delivery == cadlink::Delivery::Taken) {
        tellLinetypesToLoad(outcome.linetypes);
    }
}

void UserForm1::tellLinetypesToLoad(const std::vector<SentLinetype>& sent) {
    cadlink::WindowHandle window = 0;
    if (sent.empty() || !m_program.targetWindow(window) || window == 0) {
        return;
    }
    // The stand-in shows its layer table; AutoCAD LT does not.
    std::optional<std::vector<cadlink::DrawingLayer>> table;
    if (cadlink::DrawingAccess* drawing = m_program.drawing(); drawing != nullptr && drawing->available()) {
        if (auto layers = drawing->layerTable(window)) {
            table = std::move(*layers);
        }
    }
    const std::vector<std::u16string> tell =
        linetypesToTell(sent, table, m_program.layers().toldLinetypes[window]);
    if (!tell.empty()) {
        ui::showMessage(m_program.dialogs(), this, linetypeNoticeMessage(tell, table.has_value()));
    }
}

}  // namespace builder

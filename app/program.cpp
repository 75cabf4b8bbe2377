#include "app/program.h"

#include "app/form_registry.h"
#include "app/main_window.h"
#include "ui/dialogs.h"

namespace app {

Program::Program(Services services_) : services(services_), m_forms(std::make_unique<Forms>(*this)) {}

Program::~Program() {
    m_forms.reset();
    ReleaseDatabase();
}

cadlink::CommandChannel Program::makeChannel(cadlink::TextForm form, QWidget* messageParent) {
    return cadlink::CommandChannel(
        services.windows,
        [this](cadlink::WindowHandle& window) { return forms().form1().targetWindow(window); },
        [this, messageParent](const std::u16string& text) {
            ui::showMessage(services.dialogs, messageParent, text);
        },
        form);
}

void Program::ReleaseDatabase() {
    SharedRecordset.reset();
    SharedDatabase.reset();
    SharedWorkspace = nullptr;
}

}  // namespace app

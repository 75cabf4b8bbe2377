#include "app/program.h"

#include "app/form_registry.h"
#include "app/main_window.h"
#include "ui/dialogs.h"

namespace app {

Program::Program(Services services) : m_services(services), m_forms(std::make_unique<Forms>(*this)) {}

Program::~Program() {
    m_forms.reset();
    m_database.release();
}

void Program::findAutoCadLt(const cadlink::MatchingValues& matching, cadlink::DrawingList& list) {
    m_matching = matching;
    cadlink::FindAutoCadLt(m_services.windows, m_matching, m_instances, list);
}

bool Program::targetWindow(const cadlink::DrawingList& list, cadlink::WindowHandle& window) const {
    return cadlink::TargetWindow(m_instances, list, window);
}

cadlink::CommandChannel Program::makeChannel(QWidget* messageParent) {
    return cadlink::CommandChannel(
        m_services.windows,
        [this](cadlink::WindowHandle& window) { return forms().form1().targetWindow(window); },
        [this, messageParent](const std::u16string& text) {
            ui::showMessage(m_services.dialogs, messageParent, text);
        });
}

}  // namespace app

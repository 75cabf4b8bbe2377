#include "core/program.h"

#include "ui/dialogs.h"

namespace core {

Program::Program(Services services) : m_services(services) {}

Program::~Program() {
    m_database.release();
}

void Program::findAutoCadLt(const cadlink::MatchingValues& matching, cadlink::DrawingList& list) {
    m_matching = matching;
    cadlink::FindAutoCadLt(m_services.windows, m_matching, m_instances, list);
}

bool Program::targetWindow(cadlink::WindowHandle& window) const {
    if (!m_chosen) {
        return false;
    }
    window = cadlink::MainWindowOf(m_instances, m_chosen->record);
    return true;
}

cadlink::CommandChannel Program::makeChannel(QWidget* messageParent) {
    return cadlink::CommandChannel(
        m_services.windows, [this](cadlink::WindowHandle& window) { return targetWindow(window); },
        [this, messageParent](const std::u16string& text) {
            ui::showMessage(m_services.dialogs, messageParent, text);
        });
}

}  // namespace core

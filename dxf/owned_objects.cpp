#include "dxf/owned_objects.h"

#include "common/ascii.h"

namespace dxf::groups {

void OwnedObjects::removeOwner(std::string_view handle) {
    m_gone.insert(tiermark::asciiUppercased(trim(handle)));
}

void OwnedObjects::decide(bool gone, std::string& write) {
    if (gone) {
        m_gone.insert(m_handle);
        m_state = State::Left;
    } else {
        write += m_held;
        m_state = State::Kept;
    }
    m_held.clear();
}

void OwnedObjects::take(const Group& group, std::string_view bytes, std::string& write) {
    if (group.code == 0) {
        end(write);
        m_state = State::Held;
        m_handle.clear();
        m_inBraces = false;
        m_held.assign(bytes);
        return;
    }
    switch (m_state) {
        case State::Between:
        case State::Kept:
            write += bytes;
            return;
        case State::Left:
            return;
        case State::Held:
            break;
    }
    m_held += bytes;
    if (group.code == 5) {
        m_handle = tiermark::asciiUppercased(trim(group.text));
    } else if (group.code == 102) {
        m_inBraces = trim(group.text).substr(0, 1) == "{";
    } else if (group.code == 330 && !m_inBraces) {
        decide(m_gone.count(tiermark::asciiUppercased(trim(group.text))) > 0, write);
    } else if (group.code == 100) {
        decide(false, write);
    }
}

void OwnedObjects::end(std::string& write) {
    if (m_state == State::Held) {
        decide(false, write);
    }
    m_state = State::Between;
}

}  // namespace dxf::groups

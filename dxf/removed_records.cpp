#include "dxf/removed_records.h"

#include "common/ascii.h"

namespace dxf::groups {

void RemovedRecords::kept(const std::u16string& name, std::string_view handle) {
    if (!trim(handle).empty()) {
        m_handleOf.emplace(name, std::string(trim(handle)));
    }
}

void RemovedRecords::removed(std::string_view handle, const std::u16string& into) {
    const std::string key = tiermark::asciiUppercased(trim(handle));
    if (!key.empty()) {
        m_gone.insert(key);
        m_into.emplace(key, into);
    }
}

std::optional<std::string> RemovedRecords::pointerTo(std::string_view handle) const {
    const auto removed = m_into.find(tiermark::asciiUppercased(trim(handle)));
    if (removed == m_into.end()) {
        return std::nullopt;
    }
    const auto target = m_handleOf.find(removed->second);
    return target == m_handleOf.end() ? std::nullopt : std::optional<std::string>(target->second);
}

void RemovedRecords::decide(bool gone, std::string& write) {
    if (gone) {
        m_gone.insert(m_handle);
        m_state = State::Left;
    } else {
        write += m_held;
        m_state = State::Kept;
    }
    m_held.clear();
}

void RemovedRecords::take(const Group& group, std::string_view bytes, std::string& write) {
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

void RemovedRecords::end(std::string& write) {
    if (m_state == State::Held) {
        decide(false, write);
    }
    m_state = State::Between;
}

}  // namespace dxf::groups

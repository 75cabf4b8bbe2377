#include "bench/forms/bench_services.h"

namespace bench {

namespace {
std::u16string keyOf(std::u16string_view section, std::u16string_view key) {
    return std::u16string(section) + u'/' + std::u16string(key);
}
}  // namespace

std::u16string MemorySettings::GetSetting(std::u16string_view section, std::u16string_view key) {
    const auto found = m_values.find(keyOf(section, key));
    return found == m_values.end() ? std::u16string() : found->second;
}

tiermark::Result<void> MemorySettings::SaveSetting(std::u16string_view section, std::u16string_view key,
                                                   std::u16string_view value) {
    m_values[keyOf(section, key)] = std::u16string(value);
    return {};
}

tiermark::Result<void> MemorySettings::DeleteSetting(std::u16string_view section, std::u16string_view key) {
    m_values.erase(keyOf(section, key));
    return {};
}

ui::MsgAnswer SilentDialogs::MsgBox(QWidget*, const ui::MessageRequest& request) {
    ++messages;
    lastMessage = request.text;
    return ui::MsgAnswer::Ok;
}

void SilentDialogs::runModal(QDialog&) {
    ++modalForms;
}

QString SilentDialogs::openFileName(QWidget*, const QString&, const QString&, const QString&) {
    return {};
}

}  // namespace bench

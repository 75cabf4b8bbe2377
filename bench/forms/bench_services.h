#pragma once

#include <map>
#include <string>

#include "stddb/settings_store.h"
#include "ui/dialogs.h"

// The platform services the benchmarks give the program where a person would answer: settings kept in
// memory and dialogs that answer OK at once and count what they were asked.
namespace bench {

class MemorySettings final : public stddb::SettingsStore {
public:
    std::u16string GetSetting(std::u16string_view section, std::u16string_view key) override;
    tiermark::Result<void> SaveSetting(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view value) override;
    tiermark::Result<void> DeleteSetting(std::u16string_view section, std::u16string_view key) override;
    std::u16string location() const override { return u"memory"; }

private:
    std::map<std::u16string, std::u16string> m_values;
};

class SilentDialogs final : public ui::Dialogs {
public:
    ui::MsgAnswer MsgBox(QWidget* parent, const ui::MessageRequest& request) override;
    void runModal(QDialog& form) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
    QString clipboardText() override { return {}; }
    void endProgram() override {}

    int messages = 0;
    int modalForms = 0;
    std::u16string lastMessage;
};

}  // namespace bench

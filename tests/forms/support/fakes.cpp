#include "tests/forms/support/fakes.h"

#include <QDialog>
#include <QPointer>

#include "cadlink/channel.h"
#include "common/codepage.h"

namespace testing_support {

ui::MsgAnswer RecordingDialogs::MsgBox(QWidget*, const ui::MessageRequest& request) {
    messages.push_back(request);
    if (answers.empty()) {
        return ui::MsgAnswer::Ok;
    }
    const ui::MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingDialogs::runModal(QDialog& form) {
    // Shown as a modal form is shown (its activation runs), operated by the test, then closed.
    modalForms.push_back(form.objectName());
    QPointer<QDialog> guard(&form);
    form.show();
    if (onModal && guard) {
        onModal(form);
    }
    if (guard) {
        form.hide();
    }
}

QString RecordingDialogs::openFileName(QWidget*, const QString&, const QString&, const QString&) {
    return fileToOpen;
}

std::vector<std::u16string> RecordingDialogs::texts() const {
    std::vector<std::u16string> all;
    for (const auto& m : messages) {
        all.push_back(m.text);
    }
    return all;
}

namespace {
std::u16string settingKey(std::u16string_view section, std::u16string_view key) {
    return std::u16string(section) + u"/" + std::u16string(key);
}
}  // namespace

std::u16string MemorySettingsStore::GetSetting(std::u16string_view section, std::u16string_view key) {
    auto it = values.find(settingKey(section, key));
    return it == values.end() ? std::u16string() : it->second;
}

tiermark::Result<void> MemorySettingsStore::SaveSetting(std::u16string_view section, std::u16string_view key,
                                                        std::u16string_view value) {
    values[settingKey(section, key)] = std::u16string(value);
    if (refuseWrites) {
        return tiermark::makeError("the settings cannot be written");
    }
    return {};
}

tiermark::Result<void> MemorySettingsStore::DeleteSetting(std::u16string_view section,
                                                          std::u16string_view key) {
    values.erase(settingKey(section, key));
    if (refuseWrites) {
        return tiermark::makeError("the settings cannot be written");
    }
    return {};
}

tiermark::Result<std::unique_ptr<stddb::Database>> ScriptedWorkspace::OpenDatabase(const std::u16string& path,
                                                                                   bool, bool,
                                                                                   std::u16string_view) {
    openedPaths.push_back(path);
    if (!open) {
        return tiermark::makeError("no database");
    }
    return open(path);
}

FakeProgram::FakeProgram()
    : program(std::make_unique<app::Program>(app::Services{windows, workspace, settings, dialogs, nullptr})) {
}

FakeProgram::~FakeProgram() = default;

cadlink::WindowHandle FakeProgram::startCad(const std::string& drawing, const std::string& exe) {
    const auto pid = windows.addProcess(exe);
    const cadlink::WindowHandle main = windows.addWindow(pid, "AutoCAD LT - [" + drawing + "]");
    windows.addWindow(pid, "AutoCAD LT \xC3\xB7\xBD\xC4 \xB3\xA8\xDD\xC4\xDE\xB3 - " + drawing);
    return main;
}

std::vector<std::u16string> FakeProgram::textsSentTo(cadlink::WindowHandle window) const {
    std::vector<std::u16string> texts;
    for (const auto& sent : windows.sent) {
        if (sent.window != window) {
            continue;
        }
        // The exact text: the payload without the channel's own terminator.
        std::u16string text;
        auto decoded = cadlink::DecodeCommand(sent.bytes);
        if (decoded.ok() && decoded->form == cadlink::TextForm::Wide) {
            for (std::size_t i = 0; i + 3 < sent.bytes.size(); i += 2) {
                text.push_back(static_cast<char16_t>(sent.bytes[i] | (sent.bytes[i + 1] << 8)));
            }
        } else if (!sent.bytes.empty()) {
            text = cadlink::fromCp932Lenient(
                std::string_view(reinterpret_cast<const char*>(sent.bytes.data()), sent.bytes.size() - 1));
        }
        texts.push_back(text);
    }
    return texts;
}

}  // namespace testing_support

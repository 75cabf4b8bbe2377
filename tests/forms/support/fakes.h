#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "cadlink/fake_window_system.h"
#include "stddb/settings_store.h"
#include "ui/dialogs.h"

namespace testing_support {

// Records every message box and answers from a script (OK when the script is empty); runs modal forms
// through a handler the test installs.
class RecordingDialogs final : public ui::Dialogs {
public:
    std::vector<ui::MessageRequest> messages;
    std::deque<ui::MsgAnswer> answers;
    std::function<void(QDialog&)> onModal;
    std::vector<QString> modalForms;
    QString clipboard;
    QString fileToOpen;
    int endRequests = 0;

    ui::MsgAnswer MsgBox(QWidget* parent, const ui::MessageRequest& request) override;
    void runModal(QDialog& form) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
    QString clipboardText() override { return clipboard; }
    void endProgram() override { ++endRequests; }

    std::vector<std::u16string> texts() const;
};

// Settings in memory. With refuseWrites, saves and deletions fail as an unwritable settings file makes them
// fail: the value still reads back for the run.
class MemorySettingsStore final : public stddb::SettingsStore {
public:
    std::map<std::u16string, std::u16string> values;  // "section/key" -> value
    bool refuseWrites = false;

    std::u16string GetSetting(std::u16string_view section, std::u16string_view key) override;
    tiermark::Result<void> SaveSetting(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view value) override;
    tiermark::Result<void> DeleteSetting(std::u16string_view section, std::u16string_view key) override;
    std::u16string location() const override { return u"/home/user/.config/Tiermark.conf"; }
};

// A workspace whose databases come from a factory the test sets; without one every open fails.
class ScriptedWorkspace final : public stddb::Workspace {
public:
    std::function<tiermark::Result<std::unique_ptr<stddb::Database>>(const std::u16string& path)> open;
    std::vector<std::u16string> openedPaths;

    tiermark::Result<std::unique_ptr<stddb::Database>> OpenDatabase(const std::u16string& path,
                                                                    bool exclusive, bool readOnly,
                                                                    std::u16string_view connect) override;
};

// A program with every platform service faked.
struct FakeProgram {
    cadlink::FakeWindowSystem windows;
    ScriptedWorkspace workspace;
    MemorySettingsStore settings;
    RecordingDialogs dialogs;
    std::unique_ptr<app::Program> program;

    FakeProgram();
    ~FakeProgram();

    // A running AutoCAD LT with its main and text windows; returns the main window.
    cadlink::WindowHandle startCad(const std::string& drawing, const std::string& exe = "acadlt.exe");
    // The texts delivered to a window, decoded.
    std::vector<std::u16string> textsSentTo(cadlink::WindowHandle window) const;
};

}  // namespace testing_support

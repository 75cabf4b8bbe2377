#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "cadlink/fake_window_system.h"
#include "stddb/memory_settings_store.h"
#include "ui/recording_dialogs.h"

namespace testing_support {

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
    stddb::MemorySettingsStore settings;
    ui::RecordingDialogs dialogs;
    std::unique_ptr<app::Program> program;

    FakeProgram();
    ~FakeProgram();

    // A running AutoCAD LT with its main and text windows; returns the main window.
    cadlink::WindowHandle startCad(const std::string& drawing, const std::string& exe = "acadlt.exe");
    // The texts delivered to a window, decoded.
    std::vector<std::u16string> textsSentTo(cadlink::WindowHandle window) const;
};

}  // namespace testing_support

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "app/tiermark.h"
#include "cadlink/drawing_access.h"
#include "cadlink/fake_window_system.h"
#include "stddb/memory_settings_store.h"
#include "ui/recording_dialogs.h"

namespace testing_support {

struct SampleTables;

// A workspace whose databases come from a factory the test sets; without one every open fails.
class ScriptedWorkspace final : public stddb::Workspace {
public:
    std::function<tiermark::Result<std::unique_ptr<stddb::Database>>(const std::u16string& path)> open;
    std::vector<std::u16string> openedPaths;

    tiermark::Result<std::unique_ptr<stddb::Database>> OpenDatabase(const std::u16string& path,
                                                                    bool exclusive, bool readOnly,
                                                                    std::u16string_view connect) override;
};

// A drawing's layer table in memory for the layer changer: renames as the drawing does (a layer that does
// not exist, or a new name that exists already, is refused) and records every name it gave.
class MemoryDrawing final : public cadlink::DrawingAccess {
public:
    std::vector<std::u16string> layers{u"0", u"DEFPOINTS"};
    std::vector<std::u16string> renamedTo;

    bool available() const override { return true; }
    tiermark::Result<std::vector<std::u16string>> layerNames(cadlink::WindowHandle) override;
    tiermark::Result<void> renameLayer(cadlink::WindowHandle, std::u16string_view from,
                                       std::u16string_view to) override;
};

// Registers the database at `path` and lets the workspace open the sample tables for it. The caller keeps
// `sample` alive; a test may change its tables between opens.
void registerSample(stddb::MemorySettingsStore& settings, ScriptedWorkspace& workspace,
                    const SampleTables& sample, std::u16string_view path = u"C:\\CAD\\Tiermark.MDB");

// A program with every platform service faked.
struct FakeProgram {
    cadlink::FakeWindowSystem windows;
    ScriptedWorkspace workspace;
    stddb::MemorySettingsStore settings;
    ui::RecordingDialogs dialogs;
    std::unique_ptr<app::Tiermark> program;

    FakeProgram();
    ~FakeProgram();

    // A running AutoCAD LT with its main and text windows; returns the main window.
    cadlink::WindowHandle startCad(const std::string& drawing, const std::string& exe = "acadlt.exe");
    // The texts delivered to a window, decoded.
    std::vector<std::u16string> textsSentTo(cadlink::WindowHandle window) const;
};

// A layer as layer creation leaves it in the program's list, offered under the display name; its name is the
// standard part of the display name (the whole text where it holds no "-").
void offerCreatedLayer(core::Program& program, const std::u16string& display);

// Makes the "cad" folder under the test's own directory the one where stand-ins put their sockets (owner
// only, as the link requires), so that the test's stand-ins are the only ones its program finds.
void usePrivateCadDirectory(const QString& workDirectory);

}  // namespace testing_support

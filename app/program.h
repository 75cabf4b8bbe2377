#pragma once

#include <QPointer>

class QWidget;

#include <cstdint>
#include <memory>
#include <string>

#include "builder/layer_tables.h"
#include "cadlink/channel.h"
#include "cadlink/discovery.h"
#include "stddb/database.h"
#include "stddb/shared_database.h"

namespace cadlink {
class WindowSystem;
class DrawingAccess;
}  // namespace cadlink
namespace stddb {
class SettingsStore;
}  // namespace stddb
namespace ui {
class Dialogs;
}  // namespace ui

namespace app {

class Form1;
class Forms;

// The services of the platform the program runs on. The real program passes the window-system backend of
// its platform, the Jet workspace, the settings store and Qt's dialogs; tests pass fakes.
struct Services {
    cadlink::WindowSystem& windows;
    stddb::Workspace& workspace;
    stddb::SettingsStore& settings;
    ui::Dialogs& dialogs;
    cadlink::DrawingAccess* drawing =
        nullptr;  // read-back of the drawing's layers, where the target offers it
};

// The program-wide state that every form reaches the same way, through the one Program it is given: the
// platform services, the AutoCAD LT instance table, the shared database, and the created layers with the
// redraw origin and the family number of the numbered-layer form. Each part has one accessor; the forms
// themselves are reached through the form registry.
class Program {
public:
    explicit Program(Services services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The platform services.
    cadlink::WindowSystem& windows() const { return m_services.windows; }
    stddb::Workspace& workspace() const { return m_services.workspace; }
    stddb::SettingsStore& settings() const { return m_services.settings; }
    ui::Dialogs& dialogs() const { return m_services.dialogs; }
    // The read-back of the drawing's layers; nullptr where the target offers none.
    cadlink::DrawingAccess* drawing() const { return m_services.drawing; }
    void setDrawingAccess(cadlink::DrawingAccess* drawing) { m_services.drawing = drawing; }

    // The AutoCAD LT link: discovery rebuilds the instance table and the drawing list with the matching
    // values given; the target window is that of the drawing list's selected line.
    void findAutoCadLt(const cadlink::MatchingValues& matching, cadlink::DrawingList& list);
    bool targetWindow(const cadlink::DrawingList& list, cadlink::WindowHandle& window) const;

    // The layer-standard database that the builder's start-up opens and the main window's unload releases,
    // with the current result set of the builder's queries.
    stddb::SharedDatabase& database() { return m_database; }
    const stddb::SharedDatabase& database() const { return m_database; }

    // The layers created in this run of the program, the family number of the numbered-layer form and the
    // displacement of the move: written by the layer creation and the numbered-layer form, shown and read
    // by the main window.
    builder::ProgramLayerState& layers() { return m_layers; }
    const builder::ProgramLayerState& layers() const { return m_layers; }

    // A command channel for a sending form: its target is the drawing selected in the main window, read
    // afresh for every text; its messages appear over the given form.
    cadlink::CommandChannel makeChannel(QWidget* messageParent);

    // The forms. Each exists once: created when first asked for, unloaded at the latest with the main window.
    Forms& forms() { return *m_forms; }

private:
    Services m_services;
    cadlink::Instances m_instances;
    cadlink::MatchingValues m_matching;
    stddb::SharedDatabase m_database;
    builder::ProgramLayerState m_layers;
    std::unique_ptr<Forms> m_forms;
};

}  // namespace app

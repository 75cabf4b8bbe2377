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

// The program-wide state that every form reaches the same way, through the one Program it is given:
// the AutoCAD LT instance table, the shared database handles, and the layer tables with the redraw origin
// and the family number of the numbered-layer form.
class Program {
public:
    explicit Program(Services services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Services services;

    // The AutoCAD LT link.
    cadlink::Instances Instances;
    cadlink::MatchingValues Matching;

    // The layer-standard database: the registered path as the builder's last start-up read it, the open
    // database and the current result set that the builder's queries share.
    std::u16string RegisteredDatabasePath;
    stddb::Workspace* SharedWorkspace = nullptr;
    std::unique_ptr<stddb::Database> SharedDatabase;
    std::unique_ptr<stddb::Recordset> SharedRecordset;
    // Sets the database and the workspace to nothing, in that order.
    void ReleaseDatabase();

    // The layer tables, the family number of the numbered-layer form and the displacement of the move:
    // written by the layer creation and the numbered-layer form, read by the main window's execute.
    builder::ProgramLayerState Layers;

    // A command channel for a sending form: its target is the drawing selected in the main window, read
    // afresh for every text; its messages appear over the given form.
    cadlink::CommandChannel makeChannel(QWidget* messageParent);

    // The forms. Each exists once: created when first asked for, unloaded at the latest with the main window.
    Forms& forms() { return *m_forms; }

private:
    std::unique_ptr<Forms> m_forms;
};

}  // namespace app

#pragma once

#include <QPointer>

class QWidget;

#include <cstdint>
#include <memory>
#include <optional>
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

namespace core {

class Navigation;

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

// The drawing chosen in the main window's drawing list: its record in the instance table and its line.
struct ChosenDrawing {
    std::int32_t record = -1;
    std::u16string name;
};

// The program-wide state that every form reaches the same way, through the one Program it is given: the
// platform services, the AutoCAD LT instance table with the chosen drawing, the shared database, and the
// created layers with the redraw origin and the family number of the numbered-layer form. Each part has one
// accessor. It knows no window: the main window keeps the chosen drawing here as its list changes.
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
    // values given.
    void findAutoCadLt(const cadlink::MatchingValues& matching, cadlink::DrawingList& list);
    // The drawing chosen in the drawing list, nullopt while no line is chosen.
    void chooseDrawing(std::optional<ChosenDrawing> chosen) { m_chosen = std::move(chosen); }
    const std::optional<ChosenDrawing>& chosenDrawing() const { return m_chosen; }
    // The main window of the chosen drawing's AutoCAD LT (0 when it has none recognised); false when no
    // drawing is chosen.
    bool targetWindow(cadlink::WindowHandle& window) const;

    // The layer-standard database that the builder's start-up opens and the main window's unload releases,
    // with the current result set of the builder's queries.
    stddb::SharedDatabase& database() { return m_database; }
    const stddb::SharedDatabase& database() const { return m_database; }

    // The layers created in this run of the program, the family number of the numbered-layer form and the
    // displacement of the move: written by the layer creation and the numbered-layer form, shown and read
    // by the main window.
    builder::ProgramLayerState& layers() { return m_layers; }
    const builder::ProgramLayerState& layers() const { return m_layers; }

    // A command channel for a sending form: its target is the chosen drawing, read afresh for every text;
    // its messages appear over the given form.
    cadlink::CommandChannel makeChannel(QWidget* messageParent);

    // How a form opens, shows or unloads another window and tells it what changed; app/ sets it once its
    // form registry exists, before the first form is created.
    Navigation& navigation() const { return *m_navigation; }
    void setNavigation(Navigation* navigation) { m_navigation = navigation; }

private:
    Services m_services;
    cadlink::Instances m_instances;
    cadlink::MatchingValues m_matching;
    std::optional<ChosenDrawing> m_chosen;
    stddb::SharedDatabase m_database;
    builder::ProgramLayerState m_layers;
    Navigation* m_navigation = nullptr;
};

}  // namespace core

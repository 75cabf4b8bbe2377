#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "cadsim/core/drawing.h"
#include "cadsim/core/interpreter.h"
#include "cadsim/endpoint/endpoint_server.h"

namespace cadsim {

// One running stand-in: its drawing, its command line and how it answers the endpoint's requests. It has
// two windows, the main window "AutoCAD LT - [<name>]" (or the title a release shows, setMainTitle) and the
// text window "AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - <name>"; only the main window takes command text (copy-data with
// dwData 1). Every received payload is written to the log as one JSON line. Plain C++: the Qt program and the
// tests drive it alike.
class StandIn final : public RequestHandler {
public:
    StandIn(std::uint32_t processId, std::u16string drawingName, Drawing drawing);

    // Appends the payload log to this file; false when it cannot be opened.
    bool openLog(const std::string& path);
    // Writes the JSON state to this file after each change.
    void setStateFile(std::string path) { m_stateFile = std::move(path); }
    // Called after every request that changed the drawing or the command line (the windows redraw).
    std::function<void()> onChanged;
    // Saves a picture of the main window as PNG; set by front-ends that have windows.
    std::function<tiermark::Result<void>(const std::string& path)> onScreenshot;
    // Where the DXF drawing came from; "save" without a path writes there.
    void setDrawingFile(std::string path) { m_drawingFile = std::move(path); }
    // A CAD program that hangs: each copy-data waits this long before it is taken.
    void setHang(std::chrono::milliseconds hang) { m_hang = hang; }
    // A third window titled like a main window (empty: none); it takes no command text.
    void setSecondMain(std::u16string name) { m_secondMain = std::move(name); }
    // The main window's whole title, as a given release of AutoCAD LT shows it (empty: "AutoCAD LT -
    // [<name>]").
    void setMainTitle(std::u16string title) { m_mainTitle = std::move(title); }
    // The windows' handles where the operating system gives them (Windows); by default they are made from
    // the process id, as the POSIX link expects.
    void setWindowHandles(cadlink::WindowHandle main, cadlink::WindowHandle text,
                          cadlink::WindowHandle secondMain = 0);

    std::optional<cadlink::posix::Frame> handle(const cadlink::posix::Frame& request) override;

    Drawing& drawing() { return m_drawing; }
    Interpreter& interpreter() { return m_interpreter; }
    const std::u16string& drawingName() const { return m_name; }
    std::uint32_t processId() const { return m_processId; }
    std::u16string mainTitle() const;
    std::u16string textWindowTitle() const;
    cadlink::WindowHandle mainWindow() const;
    cadlink::WindowHandle textWindow() const;
    cadlink::WindowHandle secondMainWindow() const;
    const std::u16string& secondMainName() const { return m_secondMain; }
    std::u16string secondMainTitle() const;
    std::string stateJson() const;

    // For the program's own log lines (problems of the endpoint).
    void logNote(const std::string& what);
    // To be called after changes made outside handle() (mouse picks in the window).
    void changed();

private:
    cadlink::posix::Frame copyData(cadlink::posix::ByteReader& reader);
    cadlink::posix::Frame listWindows() const;
    cadlink::posix::Frame pick(cadlink::posix::ByteReader& reader);
    cadlink::posix::Frame listLayers() const;
    cadlink::posix::Frame layerTable() const;
    cadlink::posix::Frame rename(cadlink::posix::ByteReader& reader);
    cadlink::posix::Frame save(cadlink::posix::ByteReader& reader);
    void writeLog(const std::string& line);

    std::uint32_t m_processId;
    std::u16string m_name;
    Drawing m_drawing;
    Interpreter m_interpreter;
    std::ofstream m_log;
    std::string m_stateFile;
    std::string m_drawingFile;
    std::uint64_t m_seenDrawing = 0;
    std::uint64_t m_seenCommandLine = 0;
    std::chrono::milliseconds m_hang{0};
    std::u16string m_secondMain;
    std::u16string m_mainTitle;
    cadlink::WindowHandle m_mainHandle = 0;
    cadlink::WindowHandle m_textHandle = 0;
    cadlink::WindowHandle m_secondMainHandle = 0;
};

}  // namespace cadsim

#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "cadlink/window_system.h"
#include "common/result.h"

namespace win32test {

// Where the driver finds acadlt.exe and puts the stand-ins' files.
struct Fixture {
    std::u16string standInExe;  // full path of acadlt.exe
    std::string workFolder;     // logs and state files go here (ends in "\")
};

// One acadlt.exe started by the driver. The process is ended when the object goes.
class StandInProcess {
public:
    StandInProcess() = default;
    ~StandInProcess();
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    // Starts the stand-in with --title, --log, --state and the extra arguments, and waits until both of its
    // windows are up.
    tiermark::Result<void> start(const Fixture& fixture, const std::u16string& title, const std::string& name,
                                 const std::vector<std::u16string>& extra = {});

    std::uint32_t processId() const { return m_processId; }
    const std::string& logPath() const { return m_log; }
    const std::string& statePath() const { return m_state; }
    // The main window, found by its class (never by title or position).
    cadlink::WindowHandle mainWindow() const;

    // Closes the main window and waits for the process to end; false when it did not end in time.
    bool close(std::chrono::milliseconds wait = std::chrono::milliseconds(10000));
    void terminate();

    // The user's mouse: picks the object with this id, and ends the selection.
    bool pick(int id) const;
    bool confirmSelection() const;

private:
    void* m_process = nullptr;
    std::uint32_t m_processId = 0;
    std::string m_log;
    std::string m_state;
};

}  // namespace win32test

#pragma once

#include <chrono>
#include <map>
#include <string>

#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"
#include "common/result.h"

#include "cadlink/window_system.h"

namespace cadlink {

// The window system on POSIX machines, where AutoCAD LT is played by the stand-in "acadlt": processes come
// from /proc in ascending process id, each with the base name of its executable (its short name when the
// executable cannot be read). Only the processes this program can reach are listed: those of the current
// user that listen on an endpoint in the endpoint directory in use; another user's stand-in, or one
// listening in another folder, would take none of the commands. A process's windows are asked from its
// stand-in endpoint, and messages are
// delivered there. A copy-data message waits for the stand-in to take the text, at most the reply timeout,
// so a hung or vanished stand-in never holds the caller for long. A stand-in that let a request run out of
// time counts as not responding for a few seconds: requests to it fail at once meanwhile, so a sequence of
// texts to a hung stand-in costs one timeout, not one per text. Posts wait briefly at most. The connection
// to a stand-in is kept while requests follow each other closely (a creation run sends thousands of
// messages; connecting anew for each cost more than the messages themselves).
class PosixWindowSystem final : public WindowSystem {
public:
    explicit PosixWindowSystem(std::chrono::milliseconds replyTimeout = std::chrono::milliseconds(3000));

    std::vector<ProcessEntry> processes() override;
    std::vector<WindowHandle> topLevelWindows(std::uint32_t processId) override;
    int windowTextLength(WindowHandle window) override;
    std::string windowText(WindowHandle window, int bufferSize) override;
    bool sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                      const std::vector<std::uint8_t>& bytes) override;
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;

    // Why the last failed call failed (empty after a success).
    const std::string& lastError() const { return m_lastError; }

    static constexpr std::chrono::milliseconds kPostTimeout{250};
    static constexpr std::chrono::seconds kNotRespondingPause{5};
    // How long an unused connection is kept for the next request; well below the stand-in's idle limit.
    static constexpr std::chrono::seconds kKeepConnection{2};

private:
    struct Window {
        WindowHandle handle = 0;
        std::string title;
    };
    tiermark::Result<posix::Frame> ask(std::uint32_t processId, const posix::Frame& request,
                                       std::chrono::milliseconds timeout, bool awaitsAnswer = true);
    tiermark::Result<posix::Frame> exchange(std::uint32_t processId, const posix::Frame& request,
                                            std::chrono::milliseconds timeout);
    tiermark::Result<posix::Frame> finish(std::uint32_t processId, const posix::Frame& request,
                                          posix::Clock::time_point deadline);
    tiermark::Result<std::vector<Window>> listWindows(std::uint32_t processId);
    bool windowTitle(WindowHandle window, std::string& title);

    std::chrono::milliseconds m_timeout;
    std::string m_lastError;
    std::map<std::uint32_t, std::chrono::steady_clock::time_point> m_notRespondingUntil;
    struct Connection {
        posix::UniqueFd fd;
        posix::Clock::time_point lastUse;
    };
    std::map<std::uint32_t, Connection> m_connections;
};

// The executable base name of a process from /proc: the last part of its exe link (without a " (deleted)"
// mark), else its comm; empty when the process is gone.
std::string processExeBaseName(std::uint32_t processId);

}  // namespace cadlink

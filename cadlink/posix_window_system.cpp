#include "cadlink/posix_window_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"

namespace cadlink {

namespace {

using posix::ByteReader;
using posix::ByteWriter;
using posix::Frame;
using posix::Request;

// Whether the process belongs to the user and listens on its socket in the endpoint directory.
bool reachableProcess(std::uint32_t processId, uid_t user, const std::string& directory) {
    struct stat process {};
    if (::stat(("/proc/" + std::to_string(processId)).c_str(), &process) != 0 || process.st_uid != user) {
        return false;
    }
    struct stat socket {};
    return ::lstat(posix::socketPath(directory, processId).c_str(), &socket) == 0 &&
           S_ISSOCK(socket.st_mode) && socket.st_uid == user;
}

}  // namespace

std::string processExeBaseName(std::uint32_t processId) {
    const std::string base = "/proc/" + std::to_string(processId);
    char target[4096];
    const ssize_t n = ::readlink((base + "/exe").c_str(), target, sizeof target - 1);
    if (n > 0) {
        std::string path(target, static_cast<std::size_t>(n));
        constexpr std::string_view kDeleted = " (deleted)";
        if (path.size() > kDeleted.size() &&
            path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0) {
            path.resize(path.size() - kDeleted.size());
        }
        const std::size_t slash = path.find_last_of('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }
    std::ifstream comm(base + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

PosixWindowSystem::PosixWindowSystem(std::chrono::milliseconds replyTimeout) : m_timeout(replyTimeout) {}

tiermark::Result<Frame> PosixWindowSystem::ask(std::uint32_t processId, const Frame& request,
                                               std::chrono::milliseconds timeout, bool awaitsAnswer) {
    const auto now = std::chrono::steady_clock::now();
    const auto hung = m_notRespondingUntil.find(processId);
    if (hung != m_notRespondingUntil.end()) {
        if (now < hung->second) {
            return tiermark::makeError("the stand-in " + std::to_string(processId) + " is not responding");
        }
        m_notRespondingUntil.erase(hung);
    }
    auto reply = exchange(processId, request, timeout);
    if (!reply && awaitsAnswer && posix::isTimeout(reply.error())) {
        m_notRespondingUntil[processId] = std::chrono::steady_clock::now() + kNotRespondingPause;
    }
    return reply;
}

tiermark::Result<Frame> PosixWindowSystem::exchange(std::uint32_t processId, const Frame& request,
                                                    std::chrono::milliseconds timeout) {
    const posix::Clock::time_point now = posix::Clock::now();
    const posix::Clock::time_point deadline = now + timeout;
    const auto kept = m_connections.find(processId);
    if (kept != m_connections.end()) {
        // A stand-in that has closed the kept connection refuses the frame at once (EPIPE); a fresh
        // connection then takes it. Once a frame is out, a failure is final: the stand-in may have taken it.
        if (now - kept->second.lastUse < kKeepConnection &&
            posix::writeFrame(kept->second.fd.get(), request, deadline)) {
            return finish(processId, request, deadline);
        }
        m_connections.erase(kept);
    }
    const std::string directory = posix::endpointDirectory();
    if (auto checked = posix::checkEndpointDirectory(directory); !checked) {
        return checked.error();
    }
    auto fd = posix::connectEndpoint(posix::socketPath(directory, processId), deadline);
    if (!fd) {
        return fd.error();
    }
    if (auto written = posix::writeFrame(fd->get(), request, deadline); !written) {
        return written.error();
    }
    m_connections[processId].fd = std::move(fd.value());
    return finish(processId, request, deadline);
}

tiermark::Result<Frame> PosixWindowSystem::finish(std::uint32_t processId, const Frame& request,
                                                  posix::Clock::time_point deadline) {
    Connection& connection = m_connections[processId];
    if (request.type == static_cast<std::uint8_t>(Request::Post)) {
        connection.lastUse = posix::Clock::now();
        return Frame{};  // posts get no answer
    }
    auto reply = posix::readFrame(connection.fd.get(), deadline);
    if (!reply || reply->type != static_cast<std::uint8_t>(Request::Reply)) {
        // A late answer would be taken for the next request's: the connection goes.
        m_connections.erase(processId);
        if (reply) {
            return tiermark::makeError("the stand-in answered with an unknown frame");
        }
        return reply;
    }
    connection.lastUse = posix::Clock::now();
    return reply;
}

tiermark::Result<std::vector<PosixWindowSystem::Window>> PosixWindowSystem::listWindows(
    std::uint32_t processId) {
    auto body = posix::replyBody(
        ask(processId, Frame{static_cast<std::uint8_t>(Request::ListWindows), {}}, m_timeout));
    if (!body) {
        return body.error();
    }
    ByteReader reader(*body);
    const auto count = reader.u32();
    std::vector<Window> windows;
    for (std::uint32_t i = 0; count && i < *count && i < 64; ++i) {
        const auto handle = reader.u64();
        const auto title = reader.text();
        if (!handle || !title) {
            return tiermark::makeError("the stand-in's window list is malformed");
        }
        windows.push_back(Window{*handle, *title});
    }
    return windows;
}

std::vector<ProcessEntry> PosixWindowSystem::processes() {
    std::vector<std::uint32_t> ids;
    if (DIR* proc = ::opendir("/proc")) {
        while (const dirent* entry = ::readdir(proc)) {
            const std::string name = entry->d_name;
            if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos &&
                name.size() < 10) {
                ids.push_back(static_cast<std::uint32_t>(std::stoul(name)));
            }
        }
        ::closedir(proc);
    }
    std::sort(ids.begin(), ids.end());
    std::vector<ProcessEntry> entries;
    const std::string directory = posix::endpointDirectory();
    if (!posix::checkEndpointDirectory(directory)) {
        return entries;  // no usable endpoint directory: no stand-in can be reached
    }
    const uid_t user = ::geteuid();
    for (std::uint32_t id : ids) {
        if (!reachableProcess(id, user, directory)) {
            continue;
        }
        std::string exe = processExeBaseName(id);
        if (!exe.empty()) {
            entries.push_back(ProcessEntry{id, std::move(exe)});
        }
    }
    return entries;
}

std::vector<WindowHandle> PosixWindowSystem::topLevelWindows(std::uint32_t processId) {
    auto windows = listWindows(processId);
    std::vector<WindowHandle> handles;
    if (!windows) {
        m_lastError = windows.error().message;
        return handles;
    }
    m_lastError.clear();
    for (const Window& window : *windows) {
        handles.push_back(window.handle);
    }
    return handles;
}

bool PosixWindowSystem::windowTitle(WindowHandle window, std::string& title) {
    auto windows = listWindows(posix::processOfWindow(window));
    if (!windows) {
        m_lastError = windows.error().message;
        return false;
    }
    for (const Window& w : *windows) {
        if (w.handle == window) {
            title = w.title;
            m_lastError.clear();
            return true;
        }
    }
    m_lastError = "no such window";
    return false;
}

int PosixWindowSystem::windowTextLength(WindowHandle window) {
    std::string title;
    return windowTitle(window, title) ? static_cast<int>(title.size()) : 0;
}

std::string PosixWindowSystem::windowText(WindowHandle window, int bufferSize) {
    std::string title;
    if (bufferSize <= 0 || !windowTitle(window, title)) {
        return {};
    }
    if (title.size() > static_cast<std::size_t>(bufferSize - 1)) {
        title.resize(static_cast<std::size_t>(bufferSize - 1));
    }
    return title;
}

bool PosixWindowSystem::sendCopyData(WindowHandle window, std::uintptr_t wParam, std::uint32_t dwData,
                                     const std::vector<std::uint8_t>& bytes) {
    if (window == 0) {
        m_lastError = "no window";
        return false;
    }
    ByteWriter writer;
    writer.u64(window).u64(wParam).u32(dwData).bytes(bytes.data(), bytes.size());
    auto body =
        posix::replyBody(ask(posix::processOfWindow(window),
                             Frame{static_cast<std::uint8_t>(Request::CopyData), writer.take()}, m_timeout));
    if (!body) {
        m_lastError = body.error().message;
        return false;
    }
    m_lastError.clear();
    return true;
}

bool PosixWindowSystem::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    if (window == 0) {
        return false;
    }
    ByteWriter writer;
    writer.u64(window).u32(message).u64(wParam).i64(lParam);
    auto sent =
        ask(posix::processOfWindow(window), Frame{static_cast<std::uint8_t>(Request::Post), writer.take()},
            std::min<std::chrono::milliseconds>(m_timeout, kPostTimeout), false);
    if (!sent) {
        m_lastError = sent.error().message;
        return false;
    }
    return true;
}

}  // namespace cadlink

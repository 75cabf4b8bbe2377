#include "cadsim/endpoint/endpoint_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <signal.h>

#include <cerrno>
#include <filesystem>

namespace cadsim {

using cadlink::posix::Clock;
using cadlink::posix::Frame;
using cadlink::posix::kMaxFrame;
using cadlink::posix::UniqueFd;

namespace {

constexpr std::chrono::seconds kReplyWriteLimit{3};

// Socket files left by stand-ins that ended without cleaning up (killed): "<pid>.sock" of a process that no
// longer exists.
void removeStaleSockets(const std::string& directory) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        const std::size_t dot = name.find(".sock");
        if (dot == std::string::npos || dot == 0 || dot + 5 != name.size() ||
            name.find_first_not_of("0123456789") != dot || dot > 9) {
            continue;
        }
        const auto pid = static_cast<pid_t>(std::stol(name.substr(0, dot)));
        if (::kill(pid, 0) != 0 && errno == ESRCH) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

}  // namespace

tiermark::Result<std::unique_ptr<EndpointServer>> EndpointServer::open(const std::string& directory,
                                                                       std::uint32_t processId,
                                                                       RequestHandler& handler) {
    if (auto prepared = cadlink::posix::prepareEndpointDirectory(directory); !prepared) {
        return prepared.error();
    }
    removeStaleSockets(directory);
    const std::string file = cadlink::posix::socketPath(directory, processId);
    auto fd = cadlink::posix::listenEndpoint(file);
    if (!fd) {
        return fd.error();
    }
    return std::unique_ptr<EndpointServer>(new EndpointServer(std::move(fd.value()), file, handler));
}

EndpointServer::EndpointServer(UniqueFd listen, std::string socketFile, RequestHandler& handler)
    : m_listen(std::move(listen)), m_socketFile(std::move(socketFile)), m_handler(handler) {}

EndpointServer::~EndpointServer() {
    ::unlink(m_socketFile.c_str());
}

void EndpointServer::problem(const std::string& line) {
    if (onProblem) {
        onProblem(line);
    }
}

void EndpointServer::acceptPending() {
    for (;;) {
        const int fd = ::accept4(m_listen.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        if (m_connections.size() >= kMaxConnections) {
            dropIdle();
        }
        if (m_connections.size() >= kMaxConnections) {
            ::close(fd);
            problem("too many connections; one refused");
            continue;
        }
        m_connections.emplace(fd, Connection{UniqueFd(fd), {}, Clock::now()});
        if (onOpened) {
            onOpened(fd);
        }
    }
}

void EndpointServer::close(int fd) {
    if (m_connections.erase(fd) > 0 && onClosed) {
        onClosed(fd);
    }
}

void EndpointServer::readFrom(int fd) {
    auto it = m_connections.find(fd);
    if (it == m_connections.end()) {
        return;
    }
    Connection& connection = it->second;
    std::uint8_t chunk[65536];
    bool closed = false;
    for (;;) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            connection.buffer.insert(connection.buffer.end(), chunk, chunk + n);
            connection.lastActivity = Clock::now();
            if (!serve(connection)) {
                close(fd);
                return;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        closed = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    if (closed) {
        if (!connection.buffer.empty()) {
            problem("a client left in the middle of a frame (" + std::to_string(connection.buffer.size()) +
                    " bytes unread)");
        }
        close(fd);
    }
}

bool EndpointServer::serve(Connection& connection) {
    std::vector<std::uint8_t>& buffer = connection.buffer;
    std::size_t at = 0;
    bool keep = true;
    while (keep && buffer.size() - at >= 4) {
        const std::uint32_t length = static_cast<std::uint32_t>(buffer[at]) |
                                     (static_cast<std::uint32_t>(buffer[at + 1]) << 8) |
                                     (static_cast<std::uint32_t>(buffer[at + 2]) << 16) |
                                     (static_cast<std::uint32_t>(buffer[at + 3]) << 24);
        if (length == 0 || length > kMaxFrame) {
            problem("frame of " + std::to_string(length) + " bytes refused (limit " +
                    std::to_string(kMaxFrame) + ")");
            (void)cadlink::posix::writeFrame(
                connection.fd.get(),
                cadlink::posix::replyFrame(cadlink::posix::Status::Failed, "frame too large"),
                Clock::now() + kReplyWriteLimit);
            return false;
        }
        if (buffer.size() - at - 4 < length) {
            break;
        }
        Frame request;
        request.type = buffer[at + 4];
        request.body.assign(buffer.begin() + static_cast<std::ptrdiff_t>(at + 5),
                            buffer.begin() + static_cast<std::ptrdiff_t>(at + 4 + length));
        at += 4 + length;
        connection.served = true;
        if (auto reply = m_handler.handle(request)) {
            auto written =
                cadlink::posix::writeFrame(connection.fd.get(), *reply, Clock::now() + kReplyWriteLimit);
            if (!written) {
                problem("a reply could not be delivered: " + written.error().message);
                keep = false;
            }
        }
    }
    buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(at));
    return keep;
}

void EndpointServer::dropIdle() {
    const Clock::time_point now = Clock::now();
    std::vector<int> idle;
    for (const auto& [fd, connection] : m_connections) {
        if (now - connection.lastActivity > kIdleLimit) {
            idle.push_back(fd);
        }
    }
    for (int fd : idle) {
        // A client that was served and simply keeps its connection between requests is no problem; one
        // that never sent a whole request, or stopped in the middle of one, is.
        const auto it = m_connections.find(fd);
        if (it != m_connections.end() && (!it->second.served || !it->second.buffer.empty())) {
            problem("a client stayed silent for " + std::to_string(kIdleLimit.count()) +
                    " s; its connection was closed");
        }
        close(fd);
    }
}

void EndpointServer::runFor(std::chrono::milliseconds time) {
    const Clock::time_point end = Clock::now() + time;
    while (Clock::now() < end) {
        std::vector<pollfd> fds{{m_listen.get(), POLLIN, 0}};
        for (const auto& entry : m_connections) {
            fds.push_back({entry.first, POLLIN, 0});
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        const int rc = ::poll(fds.data(), fds.size(),
                              static_cast<int>(std::max<long long>(0, std::min<long long>(left, 100))));
        if (rc > 0) {
            if (fds[0].revents != 0) {
                acceptPending();
            }
            for (std::size_t i = 1; i < fds.size(); ++i) {
                if (fds[i].revents != 0) {
                    readFrom(fds[i].fd);
                }
            }
        }
        dropIdle();
    }
}

}  // namespace cadsim

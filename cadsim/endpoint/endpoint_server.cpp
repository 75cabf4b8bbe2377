#include "cadsim/endpoint/endpoint_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace cadsim {

using cadlink::posix::Clock;
using cadlink::posix::Frame;
using cadlink::posix::kMaxFrame;
using cadlink::posix::UniqueFd;

namespace {

std::string seconds(std::chrono::milliseconds time) {
    const auto tenths = time.count() / 100;
    return std::to_string(tenths / 10) + (tenths % 10 != 0 ? "." + std::to_string(tenths % 10) : "") + " s";
}

std::uint32_t frameLength(const std::vector<std::uint8_t>& buffer) {
    return static_cast<std::uint32_t>(buffer[0]) | (static_cast<std::uint32_t>(buffer[1]) << 8) |
           (static_cast<std::uint32_t>(buffer[2]) << 16) | (static_cast<std::uint32_t>(buffer[3]) << 24);
}

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
                                                                       RequestHandler& handler,
                                                                       EndpointLimits limits) {
    if (auto prepared = cadlink::posix::prepareEndpointDirectory(directory); !prepared) {
        return prepared.error();
    }
    removeStaleSockets(directory);
    const std::string file = cadlink::posix::socketPath(directory, processId);
    auto fd = cadlink::posix::listenEndpoint(file);
    if (!fd) {
        return fd.error();
    }
    return std::unique_ptr<EndpointServer>(new EndpointServer(std::move(fd.value()), file, handler, limits));
}

EndpointServer::EndpointServer(UniqueFd listen, std::string socketFile, RequestHandler& handler,
                               EndpointLimits limits)
    : m_listen(std::move(listen)),
      m_socketFile(std::move(socketFile)),
      m_handler(handler),
      m_limits(limits) {}

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
        if (m_connections.size() >= m_limits.maxConnections) {
            dropIdle();
        }
        if (m_connections.size() >= m_limits.maxConnections && !evictOne()) {
            ::close(fd);
            problem("too many connections; one refused");
            continue;
        }
        Connection connection;
        connection.fd = UniqueFd(fd);
        connection.progress = Clock::now();
        m_connections.emplace(fd, std::move(connection));
        if (onOpened) {
            onOpened(fd);
        }
    }
}

bool EndpointServer::evictOne() {
    // Stalled connections go first, the one stalled longest; a client that was served and only keeps its
    // connection goes only when every connection is such a client, the one unused longest.
    auto rank = [](const Connection& c) {
        const bool stalled = c.frameSince || c.unreadSince || !c.served;
        Clock::time_point since = c.progress;
        if (c.frameSince) {
            since = std::min(since, *c.frameSince);
        }
        if (c.unreadSince) {
            since = std::min(since, *c.unreadSince);
        }
        return std::make_pair(stalled ? 0 : 1, since);
    };
    auto victim = m_connections.end();
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (victim == m_connections.end() || rank(it->second) < rank(victim->second)) {
            victim = it;
        }
    }
    if (victim == m_connections.end()) {
        return false;
    }
    problem("all connections were taken; the one stalled longest was closed for a new client");
    close(victim->first);
    return true;
}

void EndpointServer::releaseFrame(Connection& connection) {
    m_unfinished -= connection.counted;
    connection.counted = 0;
    connection.headerIn = false;
}

void EndpointServer::close(int fd) {
    const auto it = m_connections.find(fd);
    if (it == m_connections.end()) {
        return;
    }
    releaseFrame(it->second);
    m_connections.erase(it);
    if (onClosed) {
        onClosed(fd);
    }
}

void EndpointServer::tell(Connection& connection, const std::string& text) {
    const std::vector<std::uint8_t> bytes =
        cadlink::posix::serialize(cadlink::posix::replyFrame(cadlink::posix::Status::Failed, text));
    if (connection.out.size() == connection.outSent) {
        (void)::send(connection.fd.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
}

void EndpointServer::readFrom(int fd) {
    auto it = m_connections.find(fd);
    if (it == m_connections.end()) {
        return;
    }
    Connection& connection = it->second;
    std::uint8_t chunk[65536];
    std::size_t budget = m_limits.readBudget;
    std::size_t frames = 0;
    bool closed = false;
    // Only the frame being received is read, up to its end: requests a client sends ahead wait in the
    // socket, not in the stand-in, and each turn serves a few of them, so that a client that pipelines
    // thousands of requests gets its share of the loop and no more.
    while (budget > 0 && frames < m_limits.framesPerTurn) {
        std::vector<std::uint8_t>& in = connection.in;
        const std::size_t wanted =
            in.size() < 4 ? 4 - in.size() : 4 + std::size_t{frameLength(in)} - in.size();
        const ssize_t n = ::recv(fd, chunk, std::min({sizeof chunk, budget, wanted}), 0);
        if (n > 0) {
            if (in.empty()) {
                connection.frameSince = Clock::now();
            }
            in.insert(in.end(), chunk, chunk + n);
            budget -= static_cast<std::size_t>(n);
            const std::size_t servedBefore = connection.requests;
            if (!serve(connection)) {
                close(fd);
                return;
            }
            frames += connection.requests - servedBefore;
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        closed = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    // With the turn's share spent, the rest waits for the next turn: the event loop reports the socket again.
    if (closed) {
        if (!connection.in.empty()) {
            problem("a client left in the middle of a frame (" + std::to_string(connection.in.size()) +
                    " bytes unread)");
        }
        close(fd);
    }
}

bool EndpointServer::serve(Connection& connection) {
    std::vector<std::uint8_t>& buffer = connection.in;
    while (buffer.size() >= 4) {
        const std::uint32_t length = frameLength(buffer);
        if (!connection.headerIn) {
            if (length == 0 || length > kMaxFrame) {
                problem("frame of " + std::to_string(length) + " bytes refused (limit " +
                        std::to_string(kMaxFrame) + ")");
                tell(connection, "frame too large");
                return false;
            }
            const std::size_t counted = length > m_limits.smallFrame ? length : 0;
            if (m_unfinished + counted > m_limits.maxUnfinishedBytes) {
                problem("frame of " + std::to_string(length) + " bytes refused: frames of other clients, " +
                        std::to_string(m_unfinished) + " bytes together, are still being received");
                tell(connection, "the stand-in is busy receiving other frames; try again");
                return false;
            }
            connection.headerIn = true;
            connection.counted = counted;
            m_unfinished += counted;
            if (buffer.capacity() < 4 + std::size_t{length}) {
                buffer.reserve(4 + std::size_t{length});  // the frame's size once, not doubled by growth
            }
        }
        if (buffer.size() - 4 < length) {
            break;
        }
        Frame request;
        request.type = buffer[4];
        request.body.assign(buffer.begin() + 5, buffer.begin() + 4 + static_cast<std::ptrdiff_t>(length));
        buffer.erase(buffer.begin(), buffer.begin() + 4 + static_cast<std::ptrdiff_t>(length));
        releaseFrame(connection);
        const Clock::time_point now = Clock::now();
        connection.served = true;
        ++connection.requests;
        connection.progress = now;
        connection.frameSince = buffer.empty() ? std::nullopt : std::optional<Clock::time_point>(now);
        if (auto reply = m_handler.handle(request)) {
            if (!queueReply(connection, *reply)) {
                return false;
            }
        }
    }
    if (buffer.empty()) {
        std::vector<std::uint8_t>().swap(buffer);  // a large frame's room goes with it
    }
    return true;
}

bool EndpointServer::queueReply(Connection& connection, const Frame& reply) {
    const std::size_t unread = connection.out.size() - connection.outSent;
    if (unread > m_limits.maxUnreadReplyBytes) {
        problem("a client left " + std::to_string(unread) +
                " bytes of replies unread and asked for more; its connection was closed");
        return false;
    }
    if (connection.outSent > 0) {
        connection.out.erase(connection.out.begin(),
                             connection.out.begin() + static_cast<std::ptrdiff_t>(connection.outSent));
        connection.outSent = 0;
    }
    const std::vector<std::uint8_t> bytes = cadlink::posix::serialize(reply);
    connection.out.insert(connection.out.end(), bytes.begin(), bytes.end());
    return flush(connection);
}

bool EndpointServer::flush(Connection& connection) {
    const bool wasWaiting = connection.unreadSince.has_value();
    while (connection.outSent < connection.out.size()) {
        const ssize_t n = ::send(connection.fd.get(), connection.out.data() + connection.outSent,
                                 connection.out.size() - connection.outSent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            connection.outSent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!wasWaiting) {
                connection.unreadSince = Clock::now();
                if (onWriteWaiting) {
                    onWriteWaiting(connection.fd.get(), true);
                }
            }
            return true;
        }
        problem("a reply could not be delivered: " + std::string(std::strerror(errno)));
        return false;
    }
    std::vector<std::uint8_t>().swap(connection.out);
    connection.outSent = 0;
    connection.unreadSince.reset();
    connection.progress = Clock::now();
    if (wasWaiting && onWriteWaiting) {
        onWriteWaiting(connection.fd.get(), false);
    }
    return true;
}

void EndpointServer::writeTo(int fd) {
    auto it = m_connections.find(fd);
    if (it != m_connections.end() && !flush(it->second)) {
        close(fd);
    }
}

void EndpointServer::dropIdle() {
    const Clock::time_point now = Clock::now();
    std::vector<std::pair<int, std::string>> overdue;
    for (const auto& [fd, c] : m_connections) {
        if (c.frameSince && now - *c.frameSince > m_limits.frameDeadline) {
            overdue.emplace_back(fd, "a client did not send a whole frame within " +
                                         seconds(m_limits.frameDeadline) + "; its connection was closed");
        } else if (c.unreadSince && now - *c.unreadSince > m_limits.replyDeadline) {
            overdue.emplace_back(fd, "a client left its replies unread for " +
                                         seconds(m_limits.replyDeadline) + "; its connection was closed");
        } else if (!c.frameSince && !c.unreadSince && now - c.progress > m_limits.idle) {
            // A client that was served and simply keeps its connection between requests is no problem; one
            // that never sent a whole request is.
            overdue.emplace_back(fd, c.served ? std::string()
                                              : "a client stayed silent for " + seconds(m_limits.idle) +
                                                    "; its connection was closed");
        }
    }
    for (const auto& [fd, line] : overdue) {
        if (!line.empty()) {
            problem(line);
        }
        close(fd);
    }
}

void EndpointServer::runFor(std::chrono::milliseconds time) {
    const Clock::time_point end = Clock::now() + time;
    while (Clock::now() < end) {
        std::vector<pollfd> fds{{m_listen.get(), POLLIN, 0}};
        for (const auto& [fd, c] : m_connections) {
            fds.push_back({fd, static_cast<short>(POLLIN | (c.unreadSince ? POLLOUT : 0)), 0});
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        const int rc = ::poll(fds.data(), fds.size(),
                              static_cast<int>(std::max<long long>(0, std::min<long long>(left, 100))));
        if (rc > 0) {
            if (fds[0].revents != 0) {
                acceptPending();
            }
            for (std::size_t i = 1; i < fds.size(); ++i) {
                if ((fds[i].revents & POLLOUT) != 0) {
                    writeTo(fds[i].fd);
                }
                if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                    readFrom(fds[i].fd);
                }
            }
        }
        dropIdle();
    }
}

}  // namespace cadsim

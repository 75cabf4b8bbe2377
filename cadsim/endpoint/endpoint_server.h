#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"
#include "common/result.h"

namespace cadsim {

// What the stand-in does with one request; nothing for requests that get no reply (posts).
class RequestHandler {
public:
    virtual ~RequestHandler() = default;
    virtual std::optional<cadlink::posix::Frame> handle(const cadlink::posix::Frame& request) = 0;
};

// The stand-in's side of the endpoint: a listening UNIX socket and its connections, all non-blocking, so
// that a client that says nothing (or trickles a frame byte by byte) never holds the stand-in up. Frames
// over the size limit and connections that stay silent too long are dropped. The server does no waiting of
// its own: an event loop calls it when a descriptor is readable (Qt's socket notifiers in the program,
// poll() through runFor() in tests).
class EndpointServer {
public:
    // Prepares the endpoint directory and listens on "<processId>.sock" there.
    static tiermark::Result<std::unique_ptr<EndpointServer>> open(const std::string& directory,
                                                                  std::uint32_t processId,
                                                                  RequestHandler& handler);
    ~EndpointServer();
    EndpointServer(const EndpointServer&) = delete;
    EndpointServer& operator=(const EndpointServer&) = delete;

    int listenFd() const { return m_listen.get(); }
    const std::string& socketFile() const { return m_socketFile; }

    // Told when a connection opens or closes, so that an event loop can watch its descriptor.
    std::function<void(int fd)> onOpened;
    std::function<void(int fd)> onClosed;
    // Told about requests that could not be served (malformed, oversized, dropped connections).
    std::function<void(const std::string& line)> onProblem;

    void acceptPending();
    void readFrom(int fd);
    // Closes connections that have been silent longer than the idle limit.
    void dropIdle();

    // Serves requests with poll() for the given time (tests and tools without an event loop).
    void runFor(std::chrono::milliseconds time);

    std::size_t connectionCount() const { return m_connections.size(); }

    static constexpr std::chrono::seconds kIdleLimit{10};
    static constexpr std::size_t kMaxConnections = 64;

private:
    struct Connection {
        cadlink::posix::UniqueFd fd;
        std::vector<std::uint8_t> buffer;
        cadlink::posix::Clock::time_point lastActivity;
        bool served = false;  // at least one request came whole: a client that keeps its connection
    };

    EndpointServer(cadlink::posix::UniqueFd listen, std::string socketFile, RequestHandler& handler);
    void close(int fd);
    // Handles the complete frames at the front of the buffer; false when the connection must be closed.
    bool serve(Connection& connection);
    void problem(const std::string& line);

    cadlink::posix::UniqueFd m_listen;
    std::string m_socketFile;
    RequestHandler& m_handler;
    std::map<int, Connection> m_connections;
};

}  // namespace cadsim

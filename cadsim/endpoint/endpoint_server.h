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

// The bounds that keep clients of the endpoint (all of the same user: the socket is closed to others)
// from starving one another or the stand-in.
struct EndpointLimits {
    // A client that has connected, or had its last request served, and says nothing more is let go.
    std::chrono::milliseconds idle{10'000};
    // A frame must arrive whole within this time of its first byte; bytes trickled in do not extend it.
    std::chrono::milliseconds frameDeadline{5'000};
    // Replies a client leaves unread are kept this long at most...
    std::chrono::milliseconds replyDeadline{5'000};
    // ...and a new reply that finds more than this many bytes of earlier replies unread ends the client.
    std::size_t maxUnreadReplyBytes = 1u << 20;
    // The frames being received, all clients together, may announce at most this many bytes: two frames
    // of the largest size. A frame that would pass it is refused. Frames up to smallFrame bytes (every
    // request the program sends) do not count, so that large frames cannot keep them out.
    std::size_t maxUnfinishedBytes = 2u * cadlink::posix::kMaxFrame;
    std::size_t smallFrame = 64u * 1024u;
    // Connections at a time. When all are taken, a new client takes the place of the one that has been
    // stalled longest (in the middle of a frame, with replies unread, or silent since it connected).
    std::size_t maxConnections = 64;
    // What one client gets of the loop before the others have their turn: bytes read, requests served.
    std::size_t readBudget = 1u << 20;
    std::size_t framesPerTurn = 8;
};

// The stand-in's side of the endpoint: a listening UNIX socket and its connections, all non-blocking, so
// that no client can hold the stand-in up: one that says nothing, trickles a frame byte by byte, sends a
// frame over the size limit or pipelines requests without reading the replies is let go within the bounds
// above, and the others are served meanwhile. Replies are queued and written as the client takes them.
// The server does no waiting of its own: an event loop calls it when a descriptor is readable or writable
// (Qt's socket notifiers in the program, poll() through runFor() in tests).
class EndpointServer {
public:
    // Prepares the endpoint directory and listens on "<processId>.sock" there.
    static tiermark::Result<std::unique_ptr<EndpointServer>> open(const std::string& directory,
                                                                  std::uint32_t processId,
                                                                  RequestHandler& handler,
                                                                  EndpointLimits limits = {});
    ~EndpointServer();
    EndpointServer(const EndpointServer&) = delete;
    EndpointServer& operator=(const EndpointServer&) = delete;

    int listenFd() const { return m_listen.get(); }
    const std::string& socketFile() const { return m_socketFile; }
    const EndpointLimits& limits() const { return m_limits; }

    // Told when a connection opens or closes, so that an event loop can watch its descriptor.
    std::function<void(int fd)> onOpened;
    std::function<void(int fd)> onClosed;
    // Told when a connection starts or stops having replies waiting to be written.
    std::function<void(int fd, bool waiting)> onWriteWaiting;
    // Told about requests that could not be served (malformed, oversized, dropped connections).
    std::function<void(const std::string& line)> onProblem;

    void acceptPending();
    void readFrom(int fd);
    void writeTo(int fd);
    // Lets go of the connections that passed a deadline: silent too long, a frame unfinished too long,
    // replies unread too long.
    void dropIdle();

    // Serves requests with poll() for the given time (tests and tools without an event loop).
    void runFor(std::chrono::milliseconds time);

    static constexpr std::size_t kMaxConnections = EndpointLimits{}.maxConnections;

private:
    struct Connection {
        cadlink::posix::UniqueFd fd;
        std::vector<std::uint8_t> in;   // the frame being received (and whatever follows it)
        bool headerIn = false;          // its length has been read
        std::size_t counted = 0;        // its length as counted against the bound of unfinished frames
        std::vector<std::uint8_t> out;  // replies not yet taken by the client
        std::size_t outSent = 0;
        // Since when: connected or last served; the current frame's first byte; replies waiting.
        cadlink::posix::Clock::time_point progress;
        std::optional<cadlink::posix::Clock::time_point> frameSince;
        std::optional<cadlink::posix::Clock::time_point> unreadSince;
        bool served = false;  // at least one request came whole
        std::size_t requests = 0;
    };

    EndpointServer(cadlink::posix::UniqueFd listen, std::string socketFile, RequestHandler& handler,
                   EndpointLimits limits);
    void close(int fd);
    // Makes room for a new client by letting go of the connection stalled longest; false when none.
    bool evictOne();
    // Handles the complete frames at the front of the buffer; false when the connection must be closed.
    bool serve(Connection& connection);
    // Queues a reply and writes what the socket takes now; false when the client must be let go.
    bool queueReply(Connection& connection, const cadlink::posix::Frame& reply);
    // Writes queued replies until the socket would block; false when the connection failed.
    bool flush(Connection& connection);
    // A last word before the connection is closed: a failed reply, written only if the socket takes it
    // at once and no other reply is on its way.
    void tell(Connection& connection, const std::string& text);
    void releaseFrame(Connection& connection);
    void problem(const std::string& line);

    cadlink::posix::UniqueFd m_listen;
    std::string m_socketFile;
    RequestHandler& m_handler;
    EndpointLimits m_limits;
    std::map<int, Connection> m_connections;
    std::size_t m_unfinished = 0;
};

}  // namespace cadsim

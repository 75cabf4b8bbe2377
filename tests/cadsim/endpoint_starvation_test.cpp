// Clients of the same user that try to starve a stand-in's endpoint: tricklers in every connection slot,
// clients that pipeline requests and never read the replies, unfinished frames of the largest size. The
// stand-in keeps serving everyone else, and the POSIX link's requests fail within their bounded wait
// when it cannot.
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "cadlink/channel.h"
#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_window_system.h"
#include "endpoint_fixture.h"

namespace cadsim {
namespace {

using cadlink::posix::Clock;
using cadlink::posix::Frame;
using cadlink::posix::makeWindowHandle;
using cadlink::posix::Request;

int rawConnect(const std::string& file) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", file.c_str());
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// True when the stand-in has closed the connection (end of file, or a reset), within the time given.
bool closedByStandIn(int fd, std::chrono::milliseconds within) {
    const Clock::time_point end = Clock::now() + within;
    std::uint8_t chunk[65536];
    while (Clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) {
            continue;
        }
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            return true;
        }
    }
    return false;
}

// Sends as much of the bytes as the socket takes within the time; returns how many went.
std::size_t sendWhatGoes(int fd, const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds within) {
    const Clock::time_point end = Clock::now() + within;
    std::size_t done = 0;
    while (done < bytes.size() && Clock::now() < end) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        } else {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 20);
        }
    }
    return done;
}

std::vector<std::uint8_t> wire(Request type, std::vector<std::uint8_t> body = {}) {
    return cadlink::posix::serialize(Frame{static_cast<std::uint8_t>(type), std::move(body)});
}

class Starvation : public StandInOnThread {
protected:
    std::uint32_t pid() const { return static_cast<std::uint32_t>(::getpid()); }
    std::string socketFile() const { return cadlink::posix::socketPath(m_dir.string(), pid()); }
    cadlink::WindowHandle mainWindow() const { return makeWindowHandle(pid(), 0); }
    bool sendText(cadlink::PosixWindowSystem& system, std::u16string_view text) {
        auto payload = cadlink::EncodeCommand(text);
        return system.sendCopyData(mainWindow(), 1, 1, payload->bytes);
    }
    void TearDown() override {
        for (int fd : m_clients) {
            ::close(fd);
        }
        StandInOnThread::TearDown();
    }
    bool logSaysWithin(const std::string& what, std::chrono::milliseconds time) const {
        const Clock::time_point end = Clock::now() + time;
        while (logText().find(what) == std::string::npos) {
            if (Clock::now() >= end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }
    std::string logText() const {
        std::ifstream in(m_log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<int> m_clients;
};

TEST_F(Starvation, TricklersInEveryConnectionSlotDoNotKeepTheLinkOut) {
    // Each holds a slot by sending a byte of a frame now and then, never a whole frame.
    for (std::size_t i = 0; i < EndpointServer::kMaxConnections; ++i) {
        const int fd = rawConnect(socketFile());
        ASSERT_GE(fd, 0);
        const std::uint8_t first = 9;
        ASSERT_EQ(::send(fd, &first, 1, MSG_NOSIGNAL), 1);
        m_clients.push_back(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int fd : m_clients) {
        const std::uint8_t next = 0;
        (void)::send(fd, &next, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    cadlink::PosixWindowSystem system(std::chrono::milliseconds(2000));
    EXPECT_TRUE(sendText(system, u"-LA\rN\rSERVED\r\r")) << system.lastError();
    stop();
    EXPECT_NE(m_standIn->drawing().findLayer(u"SERVED"), nullptr);
}

TEST_F(Starvation, AClientThatPipelinesRequestsAndNeverReadsDoesNotHoldOthersUp) {
    const int greedy = rawConnect(socketFile());
    ASSERT_GE(greedy, 0);
    m_clients.push_back(greedy);
    // Far more replies than the socket buffers hold.
    std::vector<std::uint8_t> requests;
    for (int i = 0; i < 40000; ++i) {
        const auto one = wire(Request::ListWindows);
        requests.insert(requests.end(), one.begin(), one.end());
    }
    (void)sendWhatGoes(greedy, requests, std::chrono::milliseconds(1500));
    cadlink::PosixWindowSystem system(std::chrono::milliseconds(1500));
    EXPECT_TRUE(sendText(system, u"-LA\rN\rNOT-HELD-UP\r\r")) << system.lastError();
    EXPECT_EQ(system.topLevelWindows(pid()).size(), 2u) << system.lastError();
    // The greedy client itself is let go once its unread replies pass their bound (reading them here
    // would make it a client like any other).
    EXPECT_TRUE(logSaysWithin("of replies unread and asked for more", std::chrono::seconds(8))) << logText();
    stop();
    EXPECT_NE(m_standIn->drawing().findLayer(u"NOT-HELD-UP"), nullptr);
}

TEST_F(Starvation, UnfinishedFramesOfTheLargestSizeHoldBoundedMemoryTogether) {
    // Each announces the largest frame and sends a start of it; together they may not hold more than two
    // such frames: the third is refused with a reply that says why.
    std::vector<std::uint8_t> start = wire(Request::CopyData);
    const std::uint32_t largest = cadlink::posix::kMaxFrame;
    for (int i = 0; i < 4; ++i) {
        start[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(largest >> (8 * i));
    }
    start.resize(64 * 1024, 0x41);
    for (int i = 0; i < 3; ++i) {
        const int fd = rawConnect(socketFile());
        ASSERT_GE(fd, 0);
        m_clients.push_back(fd);
        ASSERT_EQ(sendWhatGoes(fd, start, std::chrono::milliseconds(1000)), start.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    auto refusal = cadlink::posix::readFrame(m_clients[2], Clock::now() + std::chrono::seconds(3));
    ASSERT_TRUE(refusal.ok()) << refusal.error().message;
    auto body = cadlink::posix::replyBody(refusal);
    ASSERT_FALSE(body.ok());
    EXPECT_NE(body.error().message.find("busy"), std::string::npos) << body.error().message;
    // Every request the program sends is a small frame, and small frames are still served.
    cadlink::PosixWindowSystem system(std::chrono::milliseconds(2000));
    EXPECT_TRUE(sendText(system, u"-LA\rN\rSTILL-SERVED\r\r")) << system.lastError();
    EXPECT_EQ(m_server->limits().maxUnfinishedBytes, 2u * cadlink::posix::kMaxFrame);
}

// The same stand-in with deadlines short enough to pass within a test.
class TightLimits : public Starvation {
protected:
    EndpointLimits limits() const override {
        EndpointLimits tight;
        tight.idle = std::chrono::seconds(30);
        tight.frameDeadline = std::chrono::milliseconds(300);
        tight.replyDeadline = std::chrono::milliseconds(300);
        tight.maxConnections = 4;
        return tight;
    }
    // Sends one byte every 50 ms for the time given; true when the stand-in closed the connection before.
    static bool closedWhileTrickling(int fd, std::chrono::milliseconds time) {
        const Clock::time_point end = Clock::now() + time;
        while (Clock::now() < end) {
            const std::uint8_t byte = 0x41;
            if (::send(fd, &byte, 1, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN) {
                return true;
            }
            if (closedByStandIn(fd, std::chrono::milliseconds(50))) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(TightLimits, AFrameTrickledInIsLetGoAtItsDeadlineHoweverSteadyTheTrickle) {
    const int trickler = rawConnect(socketFile());
    ASSERT_GE(trickler, 0);
    m_clients.push_back(trickler);
    const std::vector<std::uint8_t> header{100, 0, 0, 0, 2};
    ASSERT_EQ(sendWhatGoes(trickler, header, std::chrono::milliseconds(500)), header.size());
    EXPECT_TRUE(closedWhileTrickling(trickler, std::chrono::seconds(3)));
    stop();
    EXPECT_NE(logText().find("did not send a whole frame within 0.3 s"), std::string::npos) << logText();
}

TEST_F(TightLimits, RepliesLeftUnreadAreLetGoAtTheirDeadline) {
    const int reader = rawConnect(socketFile());
    ASSERT_GE(reader, 0);
    m_clients.push_back(reader);
    // More replies than the socket buffers hold, fewer than the bound of unread bytes.
    std::vector<std::uint8_t> requests;
    for (int i = 0; i < 4000; ++i) {
        const auto one = wire(Request::ListWindows);
        requests.insert(requests.end(), one.begin(), one.end());
    }
    ASSERT_EQ(sendWhatGoes(reader, requests, std::chrono::milliseconds(1000)), requests.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_TRUE(closedByStandIn(reader, std::chrono::seconds(2)));
    stop();
    EXPECT_NE(logText().find("left its replies unread for 0.3 s"), std::string::npos) << logText();
}

TEST_F(TightLimits, WhenEverySlotIsTakenTheStalledGiveWayAndTheServedKeepTheirs) {
    // A client that was served and keeps its connection, as the program's link does between texts.
    const int kept = rawConnect(socketFile());
    ASSERT_GE(kept, 0);
    m_clients.push_back(kept);
    auto ask = [kept] {
        const auto request = wire(Request::ListWindows);
        if (sendWhatGoes(kept, request, std::chrono::milliseconds(500)) != request.size()) {
            return false;
        }
        return cadlink::posix::replyBody(
                   cadlink::posix::readFrame(kept, Clock::now() + std::chrono::seconds(2)))
            .ok();
    };
    ASSERT_TRUE(ask());
    // Silent clients fill the other slots, and more keep coming.
    for (int i = 0; i < 8; ++i) {
        const int silent = rawConnect(socketFile());
        ASSERT_GE(silent, 0);
        m_clients.push_back(silent);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    EXPECT_TRUE(ask());
    EXPECT_TRUE(closedByStandIn(m_clients[1], std::chrono::milliseconds(500)));  // the first silent one
    cadlink::PosixWindowSystem system(std::chrono::milliseconds(2000));
    EXPECT_TRUE(sendText(system, u"-LA\rN\rNEWCOMER\r\r")) << system.lastError();
    EXPECT_TRUE(ask());
}

}  // namespace
}  // namespace cadsim

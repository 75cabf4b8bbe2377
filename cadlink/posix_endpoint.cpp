#include "cadlink/posix_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace cadlink::posix {

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

// Waits until fd is ready for events or the deadline passes.
tiermark::Result<void> waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, remainingMs(deadline));
        if (rc > 0) {
            return {};
        }
        if (rc == 0) {
            return tiermark::makeError(kNoAnswerInTime);
        }
        if (errno != EINTR) {
            return tiermark::makeError(systemError("poll"));
        }
    }
}

bool fillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

tiermark::Result<void> readExactly(int fd, std::uint8_t* data, std::size_t size, Clock::time_point deadline) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::recv(fd, data + done, size - done, 0);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) {
            return tiermark::makeError("the stand-in closed the connection");
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return tiermark::makeError(systemError("recv"));
        }
        if (auto ready = waitFor(fd, POLLIN, deadline); !ready) {
            return ready;
        }
    }
    return {};
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int UniqueFd::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

std::string endpointDirectory() {
    if (const char* dir = std::getenv("TIERMARK_CAD_DIR"); dir != nullptr && dir[0] == '/') {
        return dir;
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
        struct stat st {};
        if (::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()) {
            return std::string(runtime) + "/tiermark-cad";
        }
    }
    return "/tmp/tiermark-cad-" + std::to_string(::geteuid());
}

std::uint32_t endpointProcessOf(WindowHandle window) {
    return processOfWindow(window);
}

std::string socketPath(const std::string& directory, std::uint32_t processId) {
    return directory + "/" + std::to_string(processId) + ".sock";
}

DirectoryFacts directoryFacts(const std::string& path) {
    DirectoryFacts facts;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return facts;
    }
    facts.exists = true;
    facts.isSymlink = S_ISLNK(st.st_mode);
    facts.isDirectory = S_ISDIR(st.st_mode);
    facts.owner = st.st_uid;
    facts.mode = st.st_mode & 07777;
    return facts;
}

tiermark::Result<void> checkDirectoryFacts(const DirectoryFacts& facts, std::uint32_t expectedOwner,
                                           const std::string& path) {
    if (!facts.exists) {
        return tiermark::makeError(path + " does not exist");
    }
    if (facts.isSymlink || !facts.isDirectory) {
        return tiermark::makeError(path + " is not a directory of its own (a link or a file); refused");
    }
    if (facts.owner != expectedOwner) {
        return tiermark::makeError(path + " belongs to user " + std::to_string(facts.owner) +
                                   ", not to this user; refused");
    }
    if ((facts.mode & 077) != 0) {
        return tiermark::makeError(path + " is open to other users; refused (it must be 0700)");
    }
    return {};
}

tiermark::Result<void> checkEndpointDirectory(const std::string& path) {
    return checkDirectoryFacts(directoryFacts(path), ::geteuid(), path);
}

tiermark::Result<void> prepareEndpointDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return tiermark::makeError(systemError("cannot create " + path));
    }
    return checkEndpointDirectory(path);
}

tiermark::Result<UniqueFd> listenEndpoint(const std::string& socketFile) {
    sockaddr_un address{};
    if (!fillAddress(socketFile, address)) {
        return tiermark::makeError("socket path too long: " + socketFile);
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return tiermark::makeError(systemError("socket"));
    }
    ::unlink(socketFile.c_str());
    const mode_t previous = ::umask(077);
    const int rc = ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::umask(previous);
    if (rc != 0) {
        return tiermark::makeError(systemError("cannot bind " + socketFile));
    }
    ::chmod(socketFile.c_str(), 0600);
    if (::listen(fd.get(), 64) != 0) {
        return tiermark::makeError(systemError("listen"));
    }
    return fd;
}

tiermark::Result<UniqueFd> connectEndpoint(const std::string& socketFile, Clock::time_point deadline) {
    sockaddr_un address{};
    if (!fillAddress(socketFile, address)) {
        return tiermark::makeError("socket path too long: " + socketFile);
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return tiermark::makeError(systemError("socket"));
    }
    for (;;) {
        if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            return fd;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EINPROGRESS) {
            // The stand-in's backlog is full: try again until the deadline.
            if (Clock::now() >= deadline) {
                return tiermark::makeError(kNoAnswerInTime);
            }
            ::usleep(1000);
            continue;
        }
        return tiermark::makeError(systemError("cannot reach " + socketFile));
    }
}

tiermark::Result<void> writeFrame(int fd, const Frame& frame, Clock::time_point deadline) {
    const std::vector<std::uint8_t> wire = serialize(frame);
    std::size_t done = 0;
    while (done < wire.size()) {
        const ssize_t n = ::send(fd, wire.data() + done, wire.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (auto ready = waitFor(fd, POLLOUT, deadline); !ready) {
                return ready;
            }
            continue;
        }
        return tiermark::makeError(systemError("send"));
    }
    return {};
}

tiermark::Result<Frame> readFrame(int fd, Clock::time_point deadline) {
    std::uint8_t header[4];
    if (auto r = readExactly(fd, header, sizeof header, deadline); !r) {
        return r.error();
    }
    const std::uint32_t length =
        static_cast<std::uint32_t>(header[0]) | (static_cast<std::uint32_t>(header[1]) << 8) |
        (static_cast<std::uint32_t>(header[2]) << 16) | (static_cast<std::uint32_t>(header[3]) << 24);
    if (length == 0 || length > kMaxFrame) {
        return tiermark::makeError("frame of " + std::to_string(length) + " bytes refused");
    }
    std::vector<std::uint8_t> data(length);
    if (auto r = readExactly(fd, data.data(), data.size(), deadline); !r) {
        return r.error();
    }
    Frame frame;
    frame.type = data[0];
    frame.body.assign(data.begin() + 1, data.end());
    return frame;
}

tiermark::Result<Frame> exchange(std::uint32_t processId, const Frame& request,
                                 std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    const std::string directory = endpointDirectory();
    if (auto checked = checkEndpointDirectory(directory); !checked) {
        return checked.error();
    }
    auto fd = connectEndpoint(socketPath(directory, processId), deadline);
    if (!fd) {
        return fd.error();
    }
    if (auto written = writeFrame(fd->get(), request, deadline); !written) {
        return written.error();
    }
    if (request.type == static_cast<std::uint8_t>(Request::Post)) {
        return Frame{};  // posts get no answer
    }
    auto reply = readFrame(fd->get(), deadline);
    if (reply && reply->type != static_cast<std::uint8_t>(Request::Reply)) {
        return tiermark::makeError("the stand-in answered with an unknown frame");
    }
    return reply;
}

}  // namespace cadlink::posix

#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "cadlink/posix_protocol.h"
#include "common/result.h"

// Where the CAD stand-ins listen, and the socket plumbing both ends use. Each stand-in listens on a UNIX
// socket "<pid>.sock" in a directory that only its owner may use: $TIERMARK_CAD_DIR when set (tests), else
// $XDG_RUNTIME_DIR/tiermark-cad, else /tmp/tiermark-cad-<uid>. The directory must be a real directory (no
// symbolic link), owned by the user and closed to group and others (0700); the socket is 0600. Neither end
// uses a directory that fails these checks, so no other user can drive or impersonate a stand-in.
namespace cadlink::posix {

using Clock = std::chrono::steady_clock;

// A file descriptor that closes itself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return m_fd; }
    int release();
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

std::string endpointDirectory();
std::string socketPath(const std::string& directory, std::uint32_t processId);

// The checks on the directory's status: a directory, not a link, owned by expectedOwner, no access for
// group or others.
struct DirectoryFacts {
    bool exists = false;
    bool isDirectory = false;
    bool isSymlink = false;
    std::uint32_t owner = 0;
    std::uint32_t mode = 0;  // permission bits
};
tiermark::Result<void> checkDirectoryFacts(const DirectoryFacts& facts, std::uint32_t expectedOwner,
                                           const std::string& path);
DirectoryFacts directoryFacts(const std::string& path);

// Checks an existing directory (clients).
tiermark::Result<void> checkEndpointDirectory(const std::string& path);
// Creates the directory (0700) when it is missing, then checks it (stand-ins).
tiermark::Result<void> prepareEndpointDirectory(const std::string& path);

// Binds and listens on the socket (0600, non-blocking); a stale socket file of that name is replaced.
tiermark::Result<UniqueFd> listenEndpoint(const std::string& socketFile);

// Connects to a stand-in's socket before the deadline.
tiermark::Result<UniqueFd> connectEndpoint(const std::string& socketFile, Clock::time_point deadline);

// Frame I/O on a socket, each bounded by the deadline.
tiermark::Result<void> writeFrame(int fd, const Frame& frame, Clock::time_point deadline);
tiermark::Result<Frame> readFrame(int fd, Clock::time_point deadline);

// The error text of a request that ran out of time (the stand-in is there but does not answer).
inline constexpr const char* kNoAnswerInTime = "the stand-in did not answer in time";
bool isTimeout(const tiermark::Error& error);

// The process whose stand-in owns a window (the handle says so on POSIX; Windows is asked on Windows).
std::uint32_t endpointProcessOf(WindowHandle window);

// Connects to the stand-in of a process, sends one request and, unless it is a post, reads the reply. On
// Windows the frames travel by WM_COPYDATA (cadlink/win32_endpoint.h).
tiermark::Result<Frame> exchange(std::uint32_t processId, const Frame& request,
                                 std::chrono::milliseconds timeout);

// The status byte of a reply and the reader positioned after it; an error when the reply says Failed (its
// text is the error) or is malformed.
tiermark::Result<std::vector<std::uint8_t>> replyBody(const tiermark::Result<Frame>& reply);

}  // namespace cadlink::posix

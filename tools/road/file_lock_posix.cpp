#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>

#include "tools/road/file_lock.h"

namespace road {

struct FileLock::Handle {
    int fd = -1;
};

const bool FileLock::kKeepsReadersOut = false;

FileLock::FileLock(const QString& path) : m_handle(std::make_unique<Handle>()) {
    m_handle->fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (m_handle->fd >= 0 && ::flock(m_handle->fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_handle->fd);
        m_handle->fd = -1;
    }
}

FileLock::~FileLock() {
    if (m_handle->fd >= 0) {
        ::close(m_handle->fd);
    }
}

bool FileLock::held() const {
    return m_handle->fd >= 0;
}

}  // namespace road

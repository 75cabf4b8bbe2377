#include <windows.h>

#include "tools/road/file_lock.h"

namespace road {

struct FileLock::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;
};

const bool FileLock::kKeepsReadersOut = true;

FileLock::FileLock(const QString& path) : m_handle(std::make_unique<Handle>()) {
    // No share flags: as long as this handle is open, every other open of the file fails.
    m_handle->file = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                                 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

FileLock::~FileLock() {
    if (m_handle->file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_handle->file);
    }
}

bool FileLock::held() const {
    return m_handle->file != INVALID_HANDLE_VALUE;
}

}  // namespace road

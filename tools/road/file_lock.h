#pragma once

#include <QString>

#include <memory>

// A file held by this process the way another program holds a database it has open for itself: on
// Windows opened without sharing, so that nobody else can open it; elsewhere an advisory lock, which
// readers do not have to honour.
namespace road {

class FileLock {
public:
    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const;
    // Whether such a lock keeps other readers out on this platform.
    static const bool kKeepsReadersOut;

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

}  // namespace road

#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "common/result.h"

namespace stddb::jet {

// What tells one state of a database file from another without reading it: its size, the time it was
// last written and the bytes of its header page (the version, the masked header fields, the password and
// the creation date). Two stamps that are equal are taken for the same release of the file.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    std::vector<std::uint8_t> header;

    bool operator==(const FileStamp&) const = default;
};

// A file written within this time may still be being written (a copy from a file server in progress): its
// tables are not kept for reuse.
inline constexpr std::chrono::seconds kSettleTime{2};

// The stamp of the file as it is now; fails when it cannot be examined or read.
tiermark::Result<FileStamp> readFileStamp(const std::filesystem::path& file);

// Whether the file stamped so was last written at least kSettleTime before now (a time stamp in the future
// is not settled either).
bool settled(const FileStamp& stamp, std::filesystem::file_time_type now);

}  // namespace stddb::jet

#include "stddb/jet_stamp.h"

#include <fstream>

#include "stddb/jet_header.h"

namespace stddb::jet {

tiermark::Result<FileStamp> readFileStamp(const std::filesystem::path& file) {
    std::error_code error;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error) {
        return tiermark::makeError("the file cannot be examined: " + error.message());
    }
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error) {
        return tiermark::makeError("the file's time cannot be read: " + error.message());
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return tiermark::makeError("the file cannot be read");
    }
    stamp.header.resize(kHeaderBytes);
    in.read(reinterpret_cast<char*>(stamp.header.data()), static_cast<std::streamsize>(stamp.header.size()));
    stamp.header.resize(static_cast<std::size_t>(in.gcount()));
    return stamp;
}

bool settled(const FileStamp& stamp, std::filesystem::file_time_type now) {
    return stamp.modified <= now && now - stamp.modified >= kSettleTime;
}

}  // namespace stddb::jet

#include "stddb/jet_workspace.h"

#include <filesystem>

#include "common/utf.h"
#include "stddb/jet_database.h"
#include "stddb/jet_stamp.h"
#include "stddb/text_compare.h"

namespace stddb {

namespace {

namespace fs = std::filesystem;

constexpr int kOpenAttempts = 3;

// The file itself, or, when no file has exactly that name, the one file of the same folder whose name
// differs only in ASCII case: the database is registered with Windows paths, where "TIERMARK.MDB" and
// "Tiermark.mdb" name the same file.
fs::path resolveCase(const fs::path& file) {
    std::error_code error;
    if (fs::exists(file, error) || !file.has_parent_path()) {
        return file;
    }
    const std::u16string wanted = file.filename().u16string();
    fs::path found;
    for (const auto& entry : fs::directory_iterator(file.parent_path(), error)) {
        if (equalsIgnoringAsciiCase(entry.path().filename().u16string(), wanted)) {
            if (!found.empty()) {
                return file;  // ambiguous: keep the name as given
            }
            found = entry.path();
        }
    }
    return found.empty() ? file : found;
}

// The file the path names, with the case of its name resolved; fails when there is none, or the path names
// a folder or anything but a regular file.
tiermark::Result<fs::path> locate(const std::u16string& path, const std::string& shown) {
    if (path.empty()) {
        return tiermark::makeError("no database file given");
    }
    std::error_code error;
    const fs::path file = resolveCase(fs::absolute(fs::path(path), error));
    if (error) {
        return tiermark::makeError("the database path cannot be used: " + shown);
    }
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        return tiermark::makeError("the database file does not exist: " + shown);
    }
    if (fs::is_directory(status)) {
        return tiermark::makeError("the database path names a folder, not a file: " + shown);
    }
    if (!fs::is_regular_file(status)) {
        return tiermark::makeError("the database path does not name a regular file: " + shown);
    }
    return file;
}

}  // namespace

JetWorkspace::JetWorkspace() = default;
JetWorkspace::~JetWorkspace() = default;

tiermark::Result<std::unique_ptr<Database>> JetWorkspace::OpenDatabase(const std::u16string& path, bool, bool,
                                                                       std::u16string_view connect) {
    const std::string shown = tiermark::toUtf8(path);
    const auto file = locate(path, shown);
    if (!file) {
        return file.error();
    }
    // The file is stamped before and after it is opened: a file that changed meanwhile (a new release being
    // copied over it) is opened again, so that its catalog and its checks belong to one state of it.
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        auto stamp = jet::readFileStamp(*file);
        if (!stamp) {
            return tiermark::makeError("the database file cannot be read (" + stamp.error().message +
                                       "): " + shown);
        }
        std::shared_ptr<jet::Snapshot> snapshot = m_last;
        if (!snapshot || !snapshot->reusable || snapshot->file != *file || !(snapshot->stamp == *stamp)) {
            snapshot = std::make_shared<jet::Snapshot>();
            snapshot->file = *file;
            snapshot->stamp = *stamp;
            snapshot->reusable = jet::settled(*stamp, fs::file_time_type::clock::now());
        }
        auto database = jet::openFile(*file, shown, connect, snapshot);
        auto after = jet::readFileStamp(*file);
        if (after && *after == *stamp) {
            if (database) {
                m_last = std::move(snapshot);
            }
            return database;
        }
    }
    m_last.reset();
    return tiermark::makeError("the database file keeps changing while it is opened (is it being copied?): " +
                               shown);
}

}  // namespace stddb

#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/result.h"

namespace tiermark {

// A file path given as UTF-8 (command lines, settings), as the file system takes it: on Windows the
// narrow file functions would read the bytes in the ANSI code page and lose Japanese folder names.
inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The path as the C runtime's narrow file functions take it (libmdb opens its file by a char path): the
// path's own bytes on POSIX systems; on Windows its form in the ANSI code page, or its short (8.3) form
// when a character does not fit that code page. An error when the path has no such form.
Result<std::string> narrowFilePath(const std::filesystem::path& path);

}  // namespace tiermark

#include <windows.h>

#include <optional>

#include "common/paths.h"

namespace tiermark {
namespace {

// The text in the ANSI code page; nothing when a character has no exact form there (no best-fit
// look-alikes: a look-alike names another file).
std::optional<std::string> inAnsiCodePage(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) {
        return std::nullopt;
    }
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()),
                        narrow.data(), size, nullptr, &lossy);
    return narrow;
}

}  // namespace

Result<std::string> narrowFilePath(const std::filesystem::path& path) {
    const std::wstring wide = path.wstring();
    if (auto narrow = inAnsiCodePage(wide)) {
        return *narrow;
    }
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size > 0) {
        std::wstring shortPath(size, L'\0');
        const DWORD written = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
        shortPath.resize(written);
        if (written > 0) {
            if (auto narrow = inAnsiCodePage(shortPath)) {
                return *narrow;
            }
        }
    }
    return makeError("the path has characters that this system's code page cannot hold");
}

}  // namespace tiermark

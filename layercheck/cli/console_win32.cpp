#include <windows.h>

#include <string>

#include "layercheck/cli/console.h"

namespace layercheck {

namespace {

void writeLine(DWORD which, std::u16string_view line) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    std::u16string text(line);
    text += u"\r\n";
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        // The console itself shows every character, whatever its code page.
        WriteConsoleW(handle, wide, static_cast<DWORD>(length), &written, nullptr);
        return;
    }
    // A file or a pipe gets what a program reading the console expects: its code page (932 on Japanese
    // Windows), or the system's when there is no console at all.
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0) {
        codePage = GetACP();
    }
    const int size = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide, length, bytes.data(), size, nullptr, nullptr);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void writeOut(std::u16string_view line) {
    writeLine(STD_OUTPUT_HANDLE, line);
}

void writeErr(std::u16string_view line) {
    writeLine(STD_ERROR_HANDLE, line);
}

}  // namespace layercheck

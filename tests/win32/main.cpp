// The Win32 link's test driver, a Windows console program: it starts acadlt.exe stand-ins (found beside
// itself), discovers them through the real Win32 window system, sends them the program's own command
// texts and checks what they logged and drew. Prints "N passed, M failed"; exits 1 when a check failed.
//
// tiermark_win32_tests [WORK_FOLDER]   (logs and state files; the current folder when not given)

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/win32/check.h"
#include "tests/win32/checks.h"

namespace {

std::u16string folderOfThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const std::size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return std::u16string(path.begin(), path.end());
}

std::string workFolder(int argc, char** argv) {
    std::string folder;
    if (argc > 1) {
        folder = argv[1];
    } else {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        folder = current;
    }
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') {
        folder += '\\';
    }
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("ANSI code page %u\n", GetACP());
    win32test::expectEqual(GetACP(), 932u,
                           "the system code page is 932 (is the ja_JP.UTF-8 locale generated?)");

    const win32test::Fixture fixture{folderOfThisProgram() + u"acadlt.exe", workFolder(argc, argv)};
    win32test::codepageChecks();
    win32test::RunningStandIns standIns = win32test::discoveryChecks(fixture);
    win32test::channelChecks(fixture, standIns);
    standIns.first.reset();
    standIns.second.reset();

    win32test::section("end");
    std::printf("%d passed, %d failed\n", win32test::passedChecks(), win32test::failedChecks());
    return win32test::failedChecks() == 0 ? 0 : 1;
}

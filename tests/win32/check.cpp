#include "tests/win32/check.h"

#include <chrono>
#include <cstdio>

#include "common/utf.h"

namespace win32test {
namespace {

int g_passed = 0;
int g_failed = 0;
std::chrono::steady_clock::time_point g_sectionStart = std::chrono::steady_clock::now();

// How long the previous section took, for the run's output.
long long lap() {
    const auto now = std::chrono::steady_clock::now();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(now - g_sectionStart).count();
    g_sectionStart = now;
    return took;
}

}  // namespace

bool expect(bool ok, std::string_view what, std::source_location where) {
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAILED %s:%u: %.*s\n", where.file_name(), static_cast<unsigned>(where.line()),
                    static_cast<int>(what.size()), what.data());
        std::fflush(stdout);
    }
    return ok;
}

void section(std::string_view name) {
    std::printf("   (%lld ms)\n== %.*s\n", lap(), static_cast<int>(name.size()), name.data());
    std::fflush(stdout);
}

void note(std::string_view text) {
    std::printf("   %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
}

int passedChecks() {
    return g_passed;
}
int failedChecks() {
    return g_failed;
}

std::string hex(std::string_view bytes) {
    static const char* kDigits = "0123456789abcdef";
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

std::string utf8(std::u16string_view text) {
    return tiermark::toUtf8(text);
}

}  // namespace win32test

// Replays kept fuzzer inputs through a fuzz target's entry point: its seed corpus and the inputs that
// once found a fault. Each must end normally (the target aborts when a property it checks fails; the
// sanitizer build also reports memory errors, leaks and undefined behaviour).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> keptInputs() {
    std::vector<std::filesystem::path> files;
    for (const char* folder : {TIERMARK_REPLAY_CORPUS, TIERMARK_REPLAY_REGRESSIONS}) {
        if (!std::filesystem::is_directory(folder)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> readAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

// TIERMARK_REPLAY_SUITE names the target (ReplayFilter, ReplayDxf, ...), so that each has its own test name.
TEST(TIERMARK_REPLAY_SUITE, EveryKeptInputEndsNormally) {
    const auto files = keptInputs();
    ASSERT_FALSE(files.empty()) << "no kept inputs in " << TIERMARK_REPLAY_CORPUS;
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        const auto bytes = readAll(path);
        EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
    }
}

// The figures of a benchmark run as tools/bench.sh sets them side by side (Linux and Windows under Wine):
// one line per figure, "name<TAB>median<TAB>worst<TAB>runs", in milliseconds, in a file named by
// --figures=FILE on the benchmark's command line.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace bench {

using Samples = std::map<std::string, std::vector<double>>;

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

inline double worst(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

// Takes --figures=FILE out of the arguments (so that Google Benchmark does not see it); empty when absent.
inline std::string takeFiguresOption(int& argc, char** argv) {
    static constexpr char kOption[] = "--figures=";
    std::string path;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kOption, sizeof(kOption) - 1) == 0) {
            path = argv[i] + sizeof(kOption) - 1;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return path;
}

// Writes every figure that has runs; false (and a message) when the file cannot be written.
inline bool writeFigures(const std::string& path, const Samples& samples) {
    if (path.empty()) {
        return true;
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "cannot write the figures to %s\n", path.c_str());
        return false;
    }
    for (const auto& [name, runs] : samples) {
        if (!runs.empty()) {
            std::fprintf(out, "%s\t%.4f\t%.4f\t%zu\n", name.c_str(), median(runs), worst(runs), runs.size());
        }
    }
    return std::fclose(out) == 0;
}

}  // namespace bench

// The folder run against its time target, on a folder of 500 generated drawings of 200 layers and 1,000
// lines each, saved as AutoCAD 2000 DXF in code page 932:
//   - the folder checked against a drawing kind                                  target < 60 s
//   - the folder translated with one map (140 office layers into 60 standard
//     layers, the copies written and checked again)                                 target < 60 s
// Prints Google Benchmark's report, then one table: median and worst of every figure against its target.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "builder/layer_set.h"
#include "common/codepage.h"
#include "layercheck/layer_check.h"
#include "translate/folder_run.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDrawings = 500;
constexpr int kLayers = 200;
constexpr int kLines = 1000;
constexpr double kTargetMs = 60000;

bench::Samples g_samples;
layercheck::Standard g_standard;
translate::LayerMap g_map;
std::vector<std::filesystem::path> g_files;
std::filesystem::path g_folder;

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void record(benchmark::State& state, const std::string& name, const std::function<void()>& run) {
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        run();
        const double ms = since(start);
        state.SetIterationTime(ms / 1e3);
        g_samples[name].push_back(ms);
    }
}

std::u16string number(int n) {
    const std::string digits = (n < 10 ? "0" : "") + std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

// A drawing kind of 60 standard layers with line types and colours.
std::vector<builder::LayerRow> drawingKind() {
    const std::u16string objects[] = {u"-STR", u"-BGD", u"-BMK", u"-TTL", u"-HAT", u"-DIM"};
    const std::u16string linetypes[] = {u"実線", u"破線"};
    const std::u16string colours[] = {u"白", u"赤", u"黄", u"緑"};
    std::vector<builder::LayerRow> rows;
    for (int i = 0; i < 60; ++i) {
        builder::LayerRow row;
        row.object = stddb::Value(objects[i % 6]);
        row.element = stddb::Value(u"-L" + number(i));
        row.content = stddb::Value(u"構造物" + number(i));
        row.linetype = stddb::Value(linetypes[i % 2]);
        row.colour = stddb::Value(colours[i % 4]);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<stddb::Value> colourConstant(std::u16string_view name) {
    static const std::map<std::u16string, std::int64_t, std::less<>> master = {
        {u"白", 7}, {u"赤", 1}, {u"黄", 2}, {u"緑", 3}};
    const auto found = master.find(name);
    return found == master.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
}

void group(std::string& out, int code, const std::string& value) {
    const std::string number = std::to_string(code);
    out.append(number.size() < 3 ? 3 - number.size() : 0, ' ');
    out += number + "\r\n" + value + "\r\n";
}

std::string cp932(const std::u16string& name) {
    auto bytes = tiermark::toCp932(name);
    return bytes ? *bytes : std::string("?");
}

// The office's own layers: 140 names ("外形線07") mapped to the standard, and the 60 standard layers.
std::vector<std::u16string> layerNames() {
    std::vector<std::u16string> names;
    for (int i = 0; i < kLayers - 60; ++i) {
        names.push_back((i % 2 == 0 ? u"外形線" : u"寸法") + number(i));
    }
    for (const cadlink::LayerRecord& layer : g_standard.layers) {
        names.push_back(layer.name);
    }
    return names;
}

std::string drawingFile(int seed) {
    const std::vector<std::u16string> names = layerNames();
    std::string out;
    for (const auto& [code, value] : std::vector<std::pair<int, std::string>>{
             {0, "SECTION"},  {2, "HEADER"},    {9, "$ACADVER"}, {1, "AC1015"}, {9, "$DWGCODEPAGE"},
             {3, "ANSI_932"}, {9, "$CLAYER"},   {8, "0"},        {0, "ENDSEC"}, {0, "SECTION"},
             {2, "TABLES"},   {0, "TABLE"},     {2, "LTYPE"},    {0, "LTYPE"},  {2, "Continuous"},
             {70, "0"},       {0, "LTYPE"},     {2, "DASHED"},   {70, "0"},     {0, "ENDTAB"},
             {0, "TABLE"},    {2, "LAYER"},     {0, "LAYER"},    {2, "0"},      {70, "0"},
             {62, "7"},       {6, "Continuous"}}) {
        group(out, code, value);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        group(out, 0, "LAYER");
        group(out, 5, std::to_string(0x100 + i));
        group(out, 100, "AcDbSymbolTableRecord");
        group(out, 100, "AcDbLayerTableRecord");
        group(out, 2, cp932(names[i]));
        group(out, 70, "0");
        group(out, 62, std::to_string(1 + (i + static_cast<std::size_t>(seed)) % 255));
        group(out, 6, "Continuous");
    }
    group(out, 0, "ENDTAB");
    group(out, 0, "ENDSEC");
    group(out, 0, "SECTION");
    group(out, 2, "ENTITIES");
    for (int i = 0; i < kLines; ++i) {
        group(out, 0, "LINE");
        group(out, 5, std::to_string(0x10000 + i));
        group(out, 8, cp932(names[static_cast<std::size_t>(i * 7 + seed) % names.size()]));
        group(out, 10, std::to_string(i % 100) + ".25");
        group(out, 20, std::to_string(i / 100) + ".5");
        group(out, 11, std::to_string(i % 100 + 10) + ".75");
        group(out, 21, std::to_string(i / 100 + 3) + ".125");
    }
    group(out, 0, "ENDSEC");
    group(out, 0, "EOF");
    return out;
}

translate::StandardOfFile theKind() {
    return [](const std::vector<cadlink::DrawingLayer>&) {
        return translate::FileStandard{&g_standard, u"位置図（設計、D）"};
    };
}

void BM_CheckFolder(benchmark::State& state) {
    std::size_t done = 0;
    record(state, "check of 500 drawings of 200 layers", [&] {
        const translate::FolderRun run = translate::checkFolder(g_files, theKind(), {});
        done = run.files.size();
        for (const translate::FileOutcome& file : run.files) {
            if (!file.error.empty()) {
                state.SkipWithError("a drawing cannot be read");
            }
        }
    });
    state.counters["drawings"] = static_cast<double>(done);
}

void BM_TranslateFolder(benchmark::State& state) {
    std::size_t written = 0;
    record(state, "translation of 500 drawings of 200 layers", [&] {
        const translate::FolderRun run =
            translate::translateFolder(g_files, g_map, theKind(), g_folder / "out", {});
        written = 0;
        for (const translate::FileOutcome& file : run.files) {
            written += file.error.empty() ? 1 : 0;
        }
        if (written != g_files.size()) {
            state.SkipWithError("a drawing was not translated");
        }
    });
    state.counters["written"] = static_cast<double>(written);
}

bool line(const std::string& name, double limit, const std::string& target) {
    const auto found = g_samples.find(name);
    if (found == g_samples.end() || found->second.empty()) {
        std::printf("%-44s %10s %10s   %-14s %s\n", name.c_str(), "-", "-", target.c_str(), "NOT RUN");
        return false;
    }
    const double m = bench::median(found->second);
    std::printf("%-44s %10.1f %10.1f   %-14s %s\n", name.c_str(), m, bench::worst(found->second),
                target.c_str(), m <= limit ? "met" : "MISSED");
    return m <= limit;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string figures = bench::takeFiguresOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_standard = layercheck::standardOf(drawingKind(), 1, colourConstant);
    const std::vector<std::u16string> names = layerNames();
    for (int i = 0; i < kLayers - 60; ++i) {
        g_map.set(names[static_cast<std::size_t>(i)],
                  g_standard.layers[static_cast<std::size_t>(i) % 60].name);
    }
    g_folder = std::filesystem::temp_directory_path() /
               ("tiermark-bench-translate-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(g_folder / "in");
    for (int i = 0; i < kDrawings; ++i) {
        const std::string bytes = drawingFile(i);
        g_files.push_back(g_folder / "in" / ("drawing" + std::to_string(i) + ".dxf"));
        std::ofstream out(g_files.back(), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "bench_translate: cannot write %s\n", g_files.back().string().c_str());
            return 2;
        }
    }
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("BM_CheckFolder", BM_CheckFolder)->UseManualTime()->Unit(ms)->Iterations(3);
    benchmark::RegisterBenchmark("BM_TranslateFolder", BM_TranslateFolder)
        ->UseManualTime()
        ->Unit(ms)
        ->Iterations(3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::uintmax_t bytes = 0;
    for (const std::filesystem::path& file : g_files) {
        bytes += std::filesystem::file_size(file);
    }
    std::printf("\nfolder: %d drawings of %d layers and %d lines, %.1f MB of DXF; map: %zu pairs\n",
                kDrawings, kLayers + 1, kLines, static_cast<double>(bytes) / 1e6, g_map.pairs().size());
    std::printf("%-44s %10s %10s   %-14s %s\n", "figure (ms)", "median", "worst", "target", "verdict");
    bool met = line("check of 500 drawings of 200 layers", kTargetMs, "< 60 s");
    met = line("translation of 500 drawings of 200 layers", kTargetMs, "< 60 s") && met;
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
    if (!bench::writeFigures(figures, g_samples)) {
        return 2;
    }
    return met ? 0 : 1;
}

// The layer check against its time targets, on a generated drawing of 5,000 layers and 100,000 lines
// saved as AutoCAD 2000 DXF in code page 932, as AutoCAD LT on Japanese Windows saves one:
//   - checking the drawing's 5,000 layers against a drawing kind, once they are read    target < 16 ms
//   - reading the DXF's layer table (the program's reader, which stops at the table's end)
//     against reading the whole file with dxflib, in the same run                        target <= dxflib
// Prints Google Benchmark's report, then one table: median and worst of every figure against its target.
#include <benchmark/benchmark.h>
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "builder/layer_set.h"
#include "common/codepage.h"
#include "dxf/layer_table.h"
#include "layercheck/layer_check.h"
#include "numbered/family_table.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLayers = 5000;
constexpr int kLines = 100000;

bench::Samples g_samples;
std::filesystem::path g_file;
layercheck::Standard g_standard;

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

std::u16string two(int n) {
    const std::string digits = (n < 10 ? "0" : "") + std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

stddb::Value text(std::u16string value) {
    return value;
}

// A large drawing kind: 60 layers with line types and colours, and three numbered families.
std::vector<builder::LayerRow> drawingKind() {
    const std::u16string objects[] = {u"-STR", u"-BGD", u"-BMK", u"-TTL", u"-HAT", u"-DIM"};
    const std::u16string linetypes[] = {u"実線", u"破線", u"一点鎖線", u"二点鎖線"};
    const std::u16string colours[] = {u"白", u"赤", u"黄", u"緑", u"任意"};
    std::vector<builder::LayerRow> rows;
    for (int i = 0; i < 60; ++i) {
        builder::LayerRow row;
        row.object = text(objects[i % 6]);
        row.element = text(u"-L" + two(i));
        row.content = text(u"構造物" + two(i));
        row.linetype = text(linetypes[i % 4]);
        row.colour = text(colours[i % 5]);
        rows.push_back(std::move(row));
    }
    for (std::int64_t family : {1, 2, 4}) {
        builder::LayerRow row;
        row.remarks = family;
        row.object = text(u"-BYP");
        row.element = text(u"-STRn");
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

// The drawing's layers: the standard's own (some with other colours), content texts before standard names
// (what the changer converts), numbered members, names of other stages and Japanese names of no standard.
std::vector<std::u16string> drawingLayerNames() {
    std::vector<std::u16string> names;
    for (const cadlink::LayerRecord& layer : g_standard.layers) {
        names.push_back(layer.name);
    }
    const std::size_t kinds = g_standard.layers.size();
    const numbered::Family* family = numbered::familyRow(2);
    for (int i = 0; static_cast<int>(names.size()) < kLayers; ++i) {
        const std::string digits = std::to_string(i);
        const std::u16string n(digits.begin(), digits.end());
        const std::u16string& standard = g_standard.layers[static_cast<std::size_t>(i) % kinds].name;
        switch (i % 5) {
            case 0:  // a content text before a standard name
                names.push_back(u"構造物" + n + standard);
                break;
            case 1: {  // a member of a family of the drawing kind: the 35 it allows (1-9, A-Z), then others
                const int k = i / 5;
                const std::u16string suffix =
                    k < 9 ? std::u16string(1, static_cast<char16_t>(u'1' + k))
                          : (k < 35 ? std::u16string(1, static_cast<char16_t>(u'A' + k - 9)) : n);
                names.push_back(u"D" + std::u16string(family->objectCode) +
                                std::u16string(family->elementCode) + suffix);
                break;
            }
            case 2:  // a standard name of another stage
                names.push_back(u"C" + standard.substr(1) + u"-" + n);
                break;
            case 3:
                names.push_back(u"壁" + n);
                break;
            default:  // every tenth with a character AutoCAD LT refuses in names
                names.push_back((i % 50 == 4 ? u"Layer/" : u"Layer") + n);
                break;
        }
    }
    return names;
}

// AutoCAD 2000 DXF in code page 932: header, line types, the layer table, and the lines in ENTITIES.
std::string drawingFile() {
    std::string out;
    group(out, 0, "SECTION");
    group(out, 2, "HEADER");
    group(out, 9, "$ACADVER");
    group(out, 1, "AC1015");
    group(out, 9, "$DWGCODEPAGE");
    group(out, 3, "ANSI_932");
    group(out, 0, "ENDSEC");
    group(out, 0, "SECTION");
    group(out, 2, "TABLES");
    group(out, 0, "TABLE");
    group(out, 2, "LTYPE");
    group(out, 70, "2");
    for (const char* name : {"Continuous", "DASHED"}) {
        group(out, 0, "LTYPE");
        group(out, 2, name);
        group(out, 70, "0");
        group(out, 3, "");
        group(out, 72, "65");
        group(out, 73, "0");
        group(out, 40, "0.0");
    }
    group(out, 0, "ENDTAB");
    group(out, 0, "TABLE");
    group(out, 2, "LAYER");
    const std::vector<std::u16string> names = drawingLayerNames();
    group(out, 70, std::to_string(names.size() + 1));
    group(out, 0, "LAYER");
    group(out, 2, "0");
    group(out, 70, "0");
    group(out, 62, "7");
    group(out, 6, "Continuous");
    for (std::size_t i = 0; i < names.size(); ++i) {
        // The standard's layers, two in three as the standard has them; the rest with colours of their own.
        const bool standard = i < g_standard.layers.size() && i % 3 != 0;
        group(out, 0, "LAYER");
        group(out, 5, std::to_string(0x100 + i));
        group(out, 100, "AcDbSymbolTableRecord");
        group(out, 100, "AcDbLayerTableRecord");
        group(out, 2, cp932(names[i]));
        group(out, 70, "0");
        group(out, 62,
              std::to_string(standard ? g_standard.layers[i].colour : static_cast<int>(1 + i % 255)));
        group(out, 6,
              standard ? cp932(cadlink::effectiveLinetype(g_standard.layers[i]))
                       : (i % 3 == 0 ? "DASHED" : "Continuous"));
    }
    group(out, 0, "ENDTAB");
    group(out, 0, "ENDSEC");
    group(out, 0, "SECTION");
    group(out, 2, "ENTITIES");
    for (int i = 0; i < kLines; ++i) {
        group(out, 0, "LINE");
        group(out, 5, std::to_string(0x10000 + i));
        group(out, 8, cp932(names[static_cast<std::size_t>(i) % names.size()]));
        group(out, 10, std::to_string(i % 1000) + ".25");
        group(out, 20, std::to_string(i / 1000) + ".5");
        group(out, 30, "0.0");
        group(out, 11, std::to_string(i % 1000 + 10) + ".75");
        group(out, 21, std::to_string(i / 1000 + 3) + ".125");
        group(out, 31, "0.0");
    }
    group(out, 0, "ENDSEC");
    group(out, 0, "EOF");
    return out;
}

// dxflib's whole read, keeping what the layer check would keep.
class Counting final : public DL_CreationAdapter {
public:
    void addLayer(const DL_LayerData& data) override {
        names.push_back(data.name);
        colours.push_back(attributes.getColor());
    }
    void addLine(const DL_LineData&) override { ++lines; }
    std::vector<std::string> names;
    std::vector<int> colours;
    long lines = 0;
};

std::vector<cadlink::DrawingLayer> g_layers;

void BM_CheckLayers(benchmark::State& state) {
    layercheck::Result result;
    record(state, "check of 5,000 layers (after reading)", [&] {
        result = layercheck::checkLayers(g_layers, g_standard);
        benchmark::DoNotOptimize(result.rows.data());
    });
    for (layercheck::Verdict verdict : layercheck::kVerdicts) {
        state.counters[std::to_string(static_cast<int>(verdict))] = result.count(verdict);
    }
}

void BM_ReadLayerTable(benchmark::State& state) {
    std::size_t layers = 0;
    record(state, "layer table of the DXF (Tiermark reader)", [&] {
        auto table = dxf::readLayerTableFile(g_file);
        if (!table) {
            state.SkipWithError(table.error().message.c_str());
            return;
        }
        layers = table->layers.size();
    });
    state.counters["layers"] = static_cast<double>(layers);
}

void BM_ReadWholeFileWithDxflib(benchmark::State& state) {
    std::size_t layers = 0;
    long lines = 0;
    record(state, "whole DXF with dxflib", [&] {
        Counting counting;
        DL_Dxf dxf;
        if (!dxf.in(g_file.string(), &counting)) {
            state.SkipWithError("dxflib cannot read the file");
            return;
        }
        layers = counting.names.size();
        lines = counting.lines;
    });
    state.counters["layers"] = static_cast<double>(layers);
    state.counters["lines"] = static_cast<double>(lines);
}

using bench::median;
using bench::worst;

bool line(const std::string& name, double limit, const std::string& target) {
    const auto found = g_samples.find(name);
    if (found == g_samples.end() || found->second.empty()) {
        std::printf("%-44s %10s %10s   %-26s %s\n", name.c_str(), "-", "-", target.c_str(), "NOT RUN");
        return false;
    }
    const double m = median(found->second);
    const bool met = m <= limit;
    std::printf("%-44s %10.3f %10.3f   %-26s %s\n", name.c_str(), m, worst(found->second), target.c_str(),
                met ? "met" : "MISSED");
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string figures = bench::takeFiguresOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_standard = layercheck::standardOf(drawingKind(), 1, colourConstant);
    g_file = std::filesystem::temp_directory_path() /
             ("tiermark-bench-layercheck-" + std::to_string(::getpid()) + ".dxf");
    {
        const std::string bytes = drawingFile();
        std::ofstream out(g_file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "bench_layercheck: cannot write %s\n", g_file.string().c_str());
            return 2;
        }
    }
    auto table = dxf::readLayerTableFile(g_file);
    if (!table || table->layers.size() != kLayers + 1) {
        std::fprintf(stderr, "bench_layercheck: the generated drawing does not read back (%s)\n",
                     table ? std::to_string(table->layers.size()).c_str() : table.error().message.c_str());
        return 2;
    }
    g_layers = table->layers;

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("BM_CheckLayers", BM_CheckLayers)->UseManualTime()->Unit(ms);
    benchmark::RegisterBenchmark("BM_ReadLayerTable", BM_ReadLayerTable)->UseManualTime()->Unit(ms);
    benchmark::RegisterBenchmark("BM_ReadWholeFileWithDxflib", BM_ReadWholeFileWithDxflib)
        ->UseManualTime()
        ->Unit(ms)
        ->Iterations(5);
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\ndrawing: %d layers, %d lines, %.1f MB of DXF; drawing kind: %zu layers, %zu families\n",
                kLayers + 1, kLines, static_cast<double>(std::filesystem::file_size(g_file)) / 1e6,
                g_standard.layers.size(), g_standard.families.size());
    std::printf("%-44s %10s %10s   %-26s %s\n", "figure (ms)", "median", "worst", "target", "verdict");
    bool all = line("check of 5,000 layers (after reading)", 16, "< 16");
    const double dxflib = median(g_samples["whole DXF with dxflib"]);
    all = line("layer table of the DXF (Tiermark reader)", dxflib,
               "<= dxflib (" + std::to_string(static_cast<int>(dxflib + 0.5)) + " ms)") &&
          all;
    line("whole DXF with dxflib", 1e9, "(reference)");
    std::printf("%s\n", all ? "every target met" : "some targets missed");
    std::filesystem::remove(g_file);
    benchmark::Shutdown();
    if (!bench::writeFigures(figures, g_samples)) {
        return 2;
    }
    return all ? 0 : 1;
}

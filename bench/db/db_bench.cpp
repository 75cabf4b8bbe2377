// The database layer on a database ten times the sample's size (about 24,000 layer rows): opening and
// reading the builder's start-up tables, the selection cascade, and, for comparison, mdb-export of the
// same tables. Prints both and their ratio at the end: the builder's open (its tables read ahead and
// indexed, as its start-up does) with the start-up tables and the first cascade, in a workspace of its own
// each time (nothing kept from an earlier open), against mdb-export; target at most 0.2 of it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "builder/queries.h"
#include "stddb/jet_workspace.h"

namespace {

const std::u16string kDatabase = u"" TIERMARK_BENCH_MDB_U16;
const char* const kStartUpTables[] = {"ライフサークルテーブル", "種別テーブル", "線幅テーブル",
                                      "用紙テーブル"};
const char* const kCascadeTables[] = {"工種テーブル", "図面マスター", "レイヤーテーブル", "線色マスター"};

std::unique_ptr<stddb::Database> open() {
    stddb::JetWorkspace workspace;
    auto db = workspace.OpenDatabase(kDatabase, false, false, stddb::kConnectString);
    if (!db) {
        std::fprintf(stderr, "cannot open the benchmark database: %s\n", db.error().message.c_str());
        std::abort();
    }
    return std::move(db.value());
}

// Opens the table, narrows it by filter (when given) and reads the named field of every row.
std::size_t query(stddb::Database& db, std::u16string_view table, std::u16string filter,
                  std::u16string_view field) {
    auto rs = db.OpenRecordset(table);
    if (!rs) {
        std::abort();
    }
    if (!filter.empty()) {
        rs.value()->Filter = std::move(filter);
        rs = rs.value()->OpenRecordset();
    }
    std::size_t read = 0;
    for (; !rs.value()->Eof(); (void)rs.value()->MoveNext()) {
        benchmark::DoNotOptimize(rs.value()->Field(field));
        ++read;
    }
    return read;
}

void startUp(stddb::Database& db) {
    query(db, u"ライフサークルテーブル", {}, u"サイクル名");
    query(db, u"種別テーブル", {}, u"名称");
    query(db, u"線幅テーブル", {}, u"線幅");
    query(db, u"用紙テーブル", {}, u"呼び方");
    query(db, u"用紙テーブル", u"呼び方 = 'A1'", u"短辺寸法");
}

void cascade(stddb::Database& db) {
    query(db, u"工種テーブル", u"種別 = 3", u"工種名");
    query(db, u"図面マスター", u"工種名 = 19", u"図面名称");
    const std::size_t layers = query(db, u"レイヤーテーブル", u"工種ID = 19 and 図面名 ='一般図'", u"線色");
    for (std::size_t i = 0; i < layers; ++i) {
        query(db, u"線色マスター", u"名称 = '白'", u"色定数");
    }
}

void BM_OpenAndReadStartUpTables(benchmark::State& state) {
    for (auto _ : state) {
        auto db = open();
        startUp(*db);
    }
}
BENCHMARK(BM_OpenAndReadStartUpTables)->Unit(benchmark::kMillisecond);

void BM_CascadeOnOpenDatabase(benchmark::State& state) {
    auto db = open();
    cascade(*db);  // tables read once, then served from memory
    for (auto _ : state) {
        cascade(*db);
    }
}
BENCHMARK(BM_CascadeOnOpenDatabase)->Unit(benchmark::kMicrosecond);

void BM_OpenStartUpAndCascade(benchmark::State& state) {
    for (auto _ : state) {
        auto db = open();
        if (!builder::preloadCascadeTables(*db)) {
            state.SkipWithError("the tables cannot be read ahead");
            return;
        }
        startUp(*db);
        cascade(*db);
    }
}
BENCHMARK(BM_OpenStartUpAndCascade)->Unit(benchmark::kMillisecond);

void BM_MdbExportSameTables(benchmark::State& state) {
    std::vector<std::string> commands;
    for (const auto* tables : {kStartUpTables, kCascadeTables}) {
        for (int i = 0; i < 4; ++i) {
            commands.push_back("'" TIERMARK_MDB_EXPORT "' '" TIERMARK_BENCH_MDB "' '" +
                               std::string(tables[i]) + "' > /dev/null 2>&1");
        }
    }
    for (auto _ : state) {
        for (const auto& command : commands) {
            if (std::system(command.c_str()) != 0) {
                state.SkipWithError("mdb-export failed");
                return;
            }
        }
    }
}
BENCHMARK(BM_MdbExportSameTables)->Unit(benchmark::kMillisecond);

// Keeps the mean time per iteration of each benchmark for the closing comparison.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.iterations > 0 && !run.error_occurred) {
                m_seconds[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }
    std::map<std::string, double> m_seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.m_seconds.find("BM_OpenStartUpAndCascade");
    const auto theirs = reporter.m_seconds.find("BM_MdbExportSameTables");
    if (ours != reporter.m_seconds.end() && theirs != reporter.m_seconds.end()) {
        const double ratio = ours->second / theirs->second;
        std::printf("\nopen + start-up tables + first cascade (JetWorkspace): %.2f ms\n", ours->second * 1e3);
        std::printf("mdb-export of the same eight tables:                   %.2f ms\n", theirs->second * 1e3);
        std::printf("ratio JetWorkspace / mdb-export:                       %.3f   target <= 0.2   %s\n",
                    ratio, ratio <= 0.2 ? "met" : "MISSED");
    }
    benchmark::Shutdown();
    return 0;
}

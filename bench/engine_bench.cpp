// The engine's file paths on a data set of a million keys: walking an index in key order,
// finding random keys, and reading records in index order and at random. The data set is
// written once per run into a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/business_basic.h"
#include "engine/index_cursor.h"
#include "engine/physical.h"
#include "parts/lines_record.h"
#include "parts/parts_record.h"
#include "sampledata/data_set.h"

namespace {

namespace fs = std::filesystem;
constexpr int32_t kKeys = 1'000'000;
constexpr int32_t kRecordLength = 64;

std::string Key(int32_t i) {
    std::string k(4, '\0');
    for (int b = 3; b >= 0; --b, i >>= 8) k[static_cast<size_t>(b)] = static_cast<char>(i & 0xFF);
    return k;
}

// Writes the set once and starts the engine on it.
struct BenchSet {
    fs::path root;
    BenchSet() {
        root = fs::temp_directory_path() / ("dashvane-bench-" + std::to_string(getpid()));
        dv::sample::DataSetWriter set;
        dv::sample::RecordFileWriter& records = set.AddRecordFile("BENCHL", kRecordLength);
        dv::sample::IndexWriter& index = set.AddIndex("BENCHI", 4);
        for (int32_t i = 0; i < kKeys; ++i) {
            dv::sample::RecordBuilder r = records.NewRecord();
            r.Bin(1, 'J', 1).Bin(3, 'L', i).Text(7, "BENCH RECORD", 12);
            index.Add(Key(i * 2 + 1), records.Add(r));
        }
        set.Build().Write(root / "share", root / "tmp");
        setenv("DASHVANE_SHARES", (root / "share").c_str(), 1);
        setenv("TMPDIR", (root / "tmp").c_str(), 1);
        dv::LoadCatalogSettings();
        if (!dv::mBusinessBasic) std::abort();
    }
    ~BenchSet() {
        dv::mBusinessBasic.reset();
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

BenchSet& Set() {
    static BenchSet set;
    return set;
}

void BM_KNextPerKey(benchmark::State& state) {
    Set();
    int16_t flag = 0;
    int64_t keys = 0;
    for (auto _ : state) {
        std::string cursor, key(4, '\0');
        int32_t record = 0;
        dv::mBusinessBasic->KFind("BENCHI", cursor, key, record, flag);
        while (record != 0) {
            dv::mBusinessBasic->KNext("BENCHI", cursor, key, record, flag);
            ++keys;
        }
    }
    state.SetItemsProcessed(keys);
}
BENCHMARK(BM_KNextPerKey)->Unit(benchmark::kMillisecond);

// The same walk through the cursor the views use: what its key copy and status cost per key.
void BM_CursorWalkPerKey(benchmark::State& state) {
    Set();
    int64_t keys = 0;
    for (auto _ : state) {
        dv::IndexCursor(*dv::mBusinessBasic, "BENCHI")
            .Walk(dv::KeyRange::From({}), [&keys](const dv::IndexCursor&) { ++keys; });
    }
    state.SetItemsProcessed(keys);
}
BENCHMARK(BM_CursorWalkPerKey)->Unit(benchmark::kMillisecond);

void BM_KFindRandom(benchmark::State& state) {
    Set();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> pick(0, kKeys * 2);
    int16_t flag = 0;
    for (auto _ : state) {
        std::string cursor, key = Key(pick(rng));
        int32_t record = 0;
        dv::mBusinessBasic->KFind("BENCHI", cursor, key, record, flag);
        benchmark::DoNotOptimize(record);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KFindRandom);

void BM_LreadFile(benchmark::State& state) {
    Set();
    const bool random = state.range(0) != 0;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> pick(1, kKeys);
    int16_t flag = 0;
    int32_t next = 1;
    for (auto _ : state) {
        const int32_t r = random ? pick(rng) : next;
        next = next % kKeys + 1;
        benchmark::DoNotOptimize(dv::mBusinessBasic->LreadFile("BENCHL", r, flag));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LreadFile)->Arg(0)->ArgName("random")->Arg(1);

// The views hand over the main record alone (192 bytes); Read joins the extension (256).
void BM_LinesUnpack(benchmark::State& state) {
    const std::string record(static_cast<size_t>(state.range(0)), '\x21');
    dv::clsLines lines;
    for (auto _ : state) {
        lines.Unpack(record);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LinesUnpack)->Arg(192)->Arg(256);

void BM_PartsUnpack(benchmark::State& state) {
    const std::string record(288, '\x21');
    dv::clsParts part;
    for (auto _ : state) {
        part.Unpack(record);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PartsUnpack);

}  // namespace

BENCHMARK_MAIN();

// Hot paths of the field codecs: every record of every view goes through these.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/codec.h"
#include "engine/dates.h"
#include "engine/packed_text.h"

namespace {

const std::string kRecord = [] {
    std::string r(256, '\0');
    for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<char>(i * 37 + 11);
    return r;
}();

void BM_Unpack(benchmark::State& state, const char* code) {
    int32_t position = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dv::Unpack(code, kRecord, position));
        position = position % 200 + 1;
    }
}
BENCHMARK_CAPTURE(BM_Unpack, B, "B");
BENCHMARK_CAPTURE(BM_Unpack, I, "I");
BENCHMARK_CAPTURE(BM_Unpack, C, "C");
BENCHMARK_CAPTURE(BM_Unpack, J, "J");
BENCHMARK_CAPTURE(BM_Unpack, D, "D");
BENCHMARK_CAPTURE(BM_Unpack, K, "K");
BENCHMARK_CAPTURE(BM_Unpack, L, "L");

void BM_Ucm12(benchmark::State& state) {
    const std::string field = kRecord.substr(40, 12);
    for (auto _ : state) benchmark::DoNotOptimize(dv::UcmView(field));
}
BENCHMARK(BM_Ucm12);

void BM_UnPackDate(benchmark::State& state, const char* code) {
    std::string r(3, '\0');
    dv::PackDate(code, r, 1, dv::MakeDate(2026, 12, 10));
    for (auto _ : state) benchmark::DoNotOptimize(dv::UnPackDate(code, r, 1));
}
BENCHMARK_CAPTURE(BM_UnPackDate, C, "C");
BENCHMARK_CAPTURE(BM_UnPackDate, D, "D");
BENCHMARK_CAPTURE(BM_UnPackDate, R, "R");

}  // namespace

BENCHMARK_MAIN();

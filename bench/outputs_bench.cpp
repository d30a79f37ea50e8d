// The outputs end to end through the DM functions: DMSaveAsBMP (encoding,
// drawing, the one-bit rows and the file written and renamed into place)
// and DMCopyToClipboard (encoding and the enhanced metafile recording).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "ecc200.h"

namespace {

std::string BenchFile() { return "/tmp/ecc200-bench-" + std::to_string(getpid()) + ".bmp"; }

void BM_SaveAsBmpDefault(benchmark::State& state) {
    DMSetDefault();
    const std::string path = BenchFile();
    for (auto _ : state) benchmark::DoNotOptimize(DMSaveAsBMP(path.c_str()));
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveAsBmpDefault);

void BM_SaveAsBmp144(benchmark::State& state) {
    DMSetDefault();
    const std::string message(1558, 'A');  // exactly fills 144 x 144
    DMSetMessage(message.c_str());
    DMSetSize(1000, 1000);
    DMSetInfo(0.15, 0, 2);  // 5 pixels per module
    const std::string path = BenchFile();
    for (auto _ : state) benchmark::DoNotOptimize(DMSaveAsBMP(path.c_str()));
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveAsBmp144);

// The 144 x 144 symbol of BM_SaveAsBmp144 recorded as an enhanced metafile:
// 8,000-odd blits, each between two brush selections.
void BM_CopyToClipboard144(benchmark::State& state) {
    DMSetDefault();
    const std::string message(1558, 'A');
    DMSetMessage(message.c_str());
    DMSetSize(1000, 1000);
    DMSetInfo(0.15, 0, 2);
    for (auto _ : state) benchmark::DoNotOptimize(DMCopyToClipboard());
}
BENCHMARK(BM_CopyToClipboard144);

}  // namespace

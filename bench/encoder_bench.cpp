// The encoder alone, one benchmark per symbol size: a message that fills the
// size's data capacity exactly, encoded, padded, protected, placed and
// assembled.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "encoder/build_symbol.h"

namespace {

void BM_BuildSymbol(benchmark::State& state) {
    const ecc200::SymbolAttributes& size = ecc200::kSquareSymbolTable[static_cast<std::size_t>(state.range(0))];
    const std::string message(static_cast<std::size_t>(size.dataCodewords), 'A');
    const auto working = std::make_unique<ecc200::EncoderWorkingState>();
    for (auto _ : state) {
        const bool built = ecc200::BuildSymbol(message, *working);
        benchmark::DoNotOptimize(built);
        benchmark::DoNotOptimize(working->symbol.at(0, 0));
    }
    state.SetLabel(std::to_string(size.symbolRows) + "x" + std::to_string(size.symbolColumns));
}
BENCHMARK(BM_BuildSymbol)->DenseRange(0, ecc200::kSymbolSizeCount - 1);

}  // namespace

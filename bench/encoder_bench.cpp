// The encoder alone, one benchmark per symbol size: a message that fills the
// size's data capacity exactly, encoded, padded, protected, placed and
// assembled. Then the stages whose tables replace a definition, each beside
// the definition it is checked against.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "driver/render_symbol.h"
#include "encoder/encode_segments.h"
#include "encoder/encoder_workspace.h"
#include "encoder/placement.h"
#include "encoder/placement_map.h"
#include "encoder/reed_solomon_products.h"
#include "encoder/oracles/plain_reed_solomon.h"
#include "encoder/oracles/plain_symbol_assembly.h"
#include "support/square_sizes.h"

namespace {

const ecc200::SymbolAttributes& SizeOf(const benchmark::State& state) {
    return ecc200::kSquareSymbolTable[static_cast<std::size_t>(state.range(0))];
}

std::string Label(const ecc200::SymbolAttributes& size) {
    return std::to_string(size.symbolRows) + "x" + std::to_string(size.symbolColumns);
}

// The nine's request (every byte in ASCII, squares) on a reused workspace.
void BM_EncodeSegmentsAscii(benchmark::State& state) {
    const ecc200::SymbolAttributes& size = SizeOf(state);
    const std::string message(static_cast<std::size_t>(size.dataCodewords), 'A');
    const auto workspace = std::make_unique<ecc200::EncoderWorkspace>();
    const auto symbol = std::make_unique<ecc200::EncodedSymbol>();
    const ecc200::Segment segment{message, 0};
    const ecc200::EncodeRequest request = ecc200::LiteralAsciiRequest();
    for (auto _ : state) {
        const bool built = ecc200::EncodeSegments(&segment, 1, request, *workspace, *symbol).ok();
        benchmark::DoNotOptimize(built);
        benchmark::DoNotOptimize(symbol->matrix.at(0, 0));
    }
    state.SetLabel(Label(size));
}
BENCHMARK(BM_EncodeSegmentsAscii)->DenseRange(0, ecc200::kSymbolSizeCount - 1);

// The path of a DM call: the thread's workspace, then EncodeSegments.
void BM_BuildJobSymbol(benchmark::State& state) {
    const ecc200::SymbolAttributes& size = SizeOf(state);
    const std::string message(static_cast<std::size_t>(size.dataCodewords), 'A');
    for (auto _ : state) benchmark::DoNotOptimize(ecc200::BuildJobSymbol(message));
    state.SetLabel(Label(size));
}
BENCHMARK(BM_BuildJobSymbol)->Arg(0)->Arg(ecc200::kSymbolSizeCount - 1);

// One block of the 144 x 144 size: 156 data and 62 check codewords.
template <bool kByTable>
void BM_BlockEcc144(benchmark::State& state) {
    const ecc200::SymbolAttributes& size = ecc200::kSquareSymbolTable.back();
    const auto block = std::make_unique<std::array<std::uint16_t, ecc200::kMaxBlockLength>>();
    for (int i = 0; i < size.blockDataCodewords; ++i) (*block)[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i * 37 % 256);
    const ecc200::GeneratorProducts products = ecc200::GeneratorProductsFor(size.blockCheckCodewords);
    for (auto _ : state) {
        if (kByTable) {
            ecc200::ComputeBlockEccByTable(*block, size.blockDataCodewords, products);
        } else {
            ecc200::ComputeBlockEcc(*block, size.blockDataCodewords, size.blockCheckCodewords);
        }
        benchmark::DoNotOptimize(block->data());
    }
}
BENCHMARK_TEMPLATE(BM_BlockEcc144, false)->Name("BM_ComputeBlockEcc144");
BENCHMARK_TEMPLATE(BM_BlockEcc144, true)->Name("BM_ComputeBlockEccByTable144");

// Finder patterns, placement and copy of the 144 x 144 size: the definition
// steps, then the placement map.
void BM_PlaceAndCopy144(benchmark::State& state) {
    const ecc200::SymbolAttributes& size = ecc200::kSquareSymbolTable.back();
    const auto symbol = std::make_unique<ecc200::EncodedSymbol>();
    symbol->codewords.assign(static_cast<std::size_t>(size.dataCodewords + size.checkCodewords), 0x5A);
    symbol->matrix.resize(size.symbolRows, size.symbolColumns);
    const auto mapping = std::make_unique<ecc200::MappingMatrix>();
    for (auto _ : state) {
        ecc200::DrawFinderPatterns(size, symbol->matrix);
        ecc200::PlaceModules(size.mappingRows, size.mappingColumns, *mapping);
        ecc200::CopyMappingToSymbol(size, *mapping, symbol->codewords.data(), symbol->matrix);
        benchmark::DoNotOptimize(symbol->matrix.at(1, 1));
    }
}
BENCHMARK(BM_PlaceAndCopy144);

void BM_FillSymbolFromMap144(benchmark::State& state) {
    const ecc200::PlacementMap& map = ecc200::PlacementMapFor(ecc200::kSymbolSizes[ecc200::kSymbolSizeCount - 1]);
    const auto symbol = std::make_unique<ecc200::EncodedSymbol>();
    symbol->codewords.assign(1558 + 620, 0x5A);  // the 144 x 144 symbol's data and check codewords
    symbol->matrix.resize(144, 144);
    for (auto _ : state) {
        ecc200::FillSymbolFromMap(map, symbol->codewords.data(), symbol->matrix);
        benchmark::DoNotOptimize(symbol->matrix.at(1, 1));
    }
}
BENCHMARK(BM_FillSymbolFromMap144);

}  // namespace

// The complete encoder's automatic encodation (the exact minimum) on
// realistic messages and on the three longest messages of one kind the
// 144 x 144 size holds: 3116 digits, 1555 bytes above 127 (Base256), 2335
// upper-case letters (C40).
namespace {

std::string BenchMessage(int kind) {
    switch (kind) {
        case 0: return std::string(3116, '7');
        case 1: return std::string(1555, '\xE9');
        case 2: {
            std::string letters;
            for (int i = 0; i < 2335; ++i) letters.push_back(static_cast<char>('A' + i % 26));
            return letters;
        }
        case 3: return "(01)09506000134352(17)201225(10)ABC123(21)xyz";
        case 4: return "https://www.example.com/products/item?id=12345&ref=abc";
        default: return "the quick brown fox jumps over the lazy dog, 42 times";
    }
}

void BM_EncodeSegmentsAutomatic(benchmark::State& state) {
    const std::string message = BenchMessage(static_cast<int>(state.range(0)));
    ecc200::EncodeRequest request;
    request.gs1 = state.range(0) == 3;
    const auto workspace = std::make_unique<ecc200::EncoderWorkspace>();
    const auto symbol = std::make_unique<ecc200::EncodedSymbol>();
    const ecc200::Segment segment{message, 0};
    for (auto _ : state) benchmark::DoNotOptimize(ecc200::EncodeSegments(&segment, 1, request, *workspace, *symbol));
    static const char* const kLabels[] = {"3116 digits", "1555 binary", "2335 C40", "GS1", "URL", "sentence"};
    state.SetLabel(kLabels[state.range(0)]);
}
BENCHMARK(BM_EncodeSegmentsAutomatic)->DenseRange(0, 5);

}  // namespace

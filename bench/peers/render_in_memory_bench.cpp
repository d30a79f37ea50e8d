// The largest symbol (144 x 144) drawn as a BMP in memory at 5-pixel
// modules through the per-call interface, side by side with zint's
// ZBarcode_Encode_and_Buffer at the same module size, and the per-call
// interface on one thread and on two. The allocations of each call are
// counted by the replaced operator new below (a counter, not a timing: the
// C interface's own malloc is not counted, and the library calls none on
// these paths).
#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "ecc200.hpp"

namespace {

thread_local long allocations = 0;

// 1558 data codewords: a 144 x 144 symbol, as the peers' largest message.
std::string LargestMessage() {
    std::string message;
    for (int i = 0; i < 1558; ++i) message.push_back("Aa1!"[i % 4]);
    return message;
}

ecc200::Picture FivePixelModules() {
    ecc200::Picture picture;
    picture.module_px = 5;
    picture.quiet_zone = 2;
    return picture;
}

// Rendering a symbol encoded once, into a vector whose capacity is reused.
void BM_RenderWarmInto144Bmp(benchmark::State& state) {
    const ecc200::Symbol symbol = ecc200::encode(LargestMessage());
    const ecc200::Picture picture = FivePixelModules();
    std::vector<std::uint8_t> out;
    ecc200::render(symbol, picture, ecc200::Format::bmp, out);  // warm
    const long before = allocations;
    for (auto _ : state) ecc200::render(symbol, picture, ecc200::Format::bmp, out);
    state.counters["allocs/call"] = static_cast<double>(allocations - before) / static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_RenderWarmInto144Bmp);

// Encoding and rendering per call, as zint's call below does both.
void BM_EncodeAndRender144Bmp(benchmark::State& state) {
    const std::string message = LargestMessage();
    const ecc200::Picture picture = FivePixelModules();
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        const ecc200::Symbol symbol = ecc200::encode(message);
        ecc200::render(symbol, picture, ecc200::Format::bmp, out);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeAndRender144Bmp)->Threads(1)->Threads(2)->UseRealTime();

// zint: a module is 2 x scale pixels; the whitespace, in modules, is the
// same quiet zone. Its buffer holds 3 bytes a pixel.
void BM_ZintEncodeAndBuffer144(benchmark::State& state) {
    const std::string message = LargestMessage();
    zint_symbol* symbol = ZBarcode_Create();
    for (auto _ : state) {
        ZBarcode_Clear(symbol);
        symbol->symbology = BARCODE_DATAMATRIX;
        symbol->option_2 = 24;  // 144 x 144
        symbol->input_mode = DATA_MODE;
        symbol->scale = 2.5f;
        symbol->whitespace_width = 2;
        symbol->whitespace_height = 2;
        const int result = ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char*>(message.data()),
                                                      static_cast<int>(message.size()), 0);
        if (result >= ZINT_ERROR) state.SkipWithError("zint refused the message");
        benchmark::DoNotOptimize(symbol->bitmap);
    }
    state.counters["width"] = symbol->bitmap_width;
    ZBarcode_Delete(symbol);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ZintEncodeAndBuffer144)->UseRealTime();

}  // namespace

// Every allocation of the program counted for its thread. Kept out of line,
// so that GCC does not pair an inlined malloc with a delete it sees as
// mismatched.
#if defined(__GNUC__)
#define ECC200_BENCH_NOINLINE __attribute__((noinline))
#else
#define ECC200_BENCH_NOINLINE
#endif
ECC200_BENCH_NOINLINE void* operator new(std::size_t size) {
    ++allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
ECC200_BENCH_NOINLINE void operator delete(void* block) noexcept { std::free(block); }
ECC200_BENCH_NOINLINE void operator delete(void* block, std::size_t) noexcept { std::free(block); }

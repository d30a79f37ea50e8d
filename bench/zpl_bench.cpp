// One label's cost beside the PNG of the same picture: both start from the
// BMP output's drawing (DrawBmp) and write its one-bit rows, PNG through
// deflate, ZPL as ASCII hex or Z64. The 144 x 144 symbol at 5 dots a
// module is a large label (740 x 740 dots); 20 x 20 at 8 a common one.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "output/bmp_file.h"
#include "output/picture_bytes.h"
#include "output/png_file.h"
#include "output/zpl_label.h"
#include "render/picture_geometry.h"
#include "support/encoded_symbol.h"

namespace ecc200 {
namespace {

struct Label {
    test::EncodedSymbol encoded;
    PictureGeometry picture;
};

Label LabelOf(int symbolCodewords, std::int32_t modulePixels) {
    Label label{test::Encode(std::string(static_cast<std::size_t>(symbolCodewords), 'A')), {}};
    const std::int32_t side = (label.encoded.state->symbol.rows() + 4) * modulePixels;
    label.picture = PictureGeometry{&label.encoded.state->symbol, side, side, modulePixels, 0, BorderStyle::None,
                                    0x000000, 0xFFFFFF, 203, 203, static_cast<double>(modulePixels)};
    return label;
}

// The BMP's rows past its headers, as DrawPng hands them over.
MonochromeRows RowsOf(const PictureBytes& picture, const PictureGeometry& geometry, std::vector<platform::ByteSpan>& rows) {
    rows.clear();
    std::size_t skip = kRowsOffset;
    for (const platform::ByteSpan& piece : picture.pieces) {
        if (piece.size <= skip) {
            skip -= piece.size;
            continue;
        }
        rows.push_back({piece.data + skip, piece.size - skip});
        skip = 0;
    }
    return {rows.data(), rows.size(), geometry.width, geometry.height};
}

void BM_Png(benchmark::State& state) {
    const Label label = LabelOf(static_cast<int>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
    PictureBytes picture;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DrawPng(label.picture, picture).ok());
        benchmark::DoNotOptimize(picture.body.data());
    }
}

void ZplLabel(benchmark::State& state, bool z64) {
    const Label label = LabelOf(static_cast<int>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
    PictureBytes picture;
    std::vector<platform::ByteSpan> rows;
    std::vector<std::uint8_t> out;
    ZplScratch scratch;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DrawBmp(label.picture, picture).ok());
        out.clear();
        benchmark::DoNotOptimize(AppendZplLabel(out, RowsOf(picture, label.picture, rows), {z64, false}, scratch).ok());
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}

void BM_ZplHex(benchmark::State& state) { ZplLabel(state, false); }
void BM_ZplZ64(benchmark::State& state) { ZplLabel(state, true); }

// {data codewords of 'A', dots per module}: 20 x 20 and 144 x 144.
BENCHMARK(BM_Png)->Args({20, 8})->Args({1558, 5});
BENCHMARK(BM_ZplHex)->Args({20, 8})->Args({1558, 5});
BENCHMARK(BM_ZplZ64)->Args({20, 8})->Args({1558, 5});

}  // namespace
}  // namespace ecc200

// The geometry's module rectangles, merged blocks, frame rectangles and
// exact runs at whole pixels cover exactly the dark pixels of the BMP drawn
// from it, for every quarter turn and frame, centred, off centre, cropped
// and with modules below one pixel.
#include "render/picture_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "encoder/module_matrix.h"
#include "output/bmp_file.h"
#include "platform/portable/portable_screen.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/nine_settings.h"

namespace ecc200 {
namespace {

// '#' for a dark pixel, '.' for a light one, row by row from the top.
using Raster = std::string;

Raster BmpPixels(const test::DrawnBitmap& drawn, std::int32_t width, std::int32_t height) {
    const std::size_t rowBytes = static_cast<std::size_t>((width + 31) / 32 * 4);
    Raster raster;
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = drawn.file.data() + kRowsOffset + rowBytes * static_cast<std::size_t>(height - 1 - y);
        for (std::int32_t x = 0; x < width; ++x) raster += (row[x / 8] >> (7 - x % 8) & 1) != 0 ? '.' : '#';
    }
    return raster;
}

// Darkens the rectangle's pixels inside the picture.
void Paint(Raster& raster, std::int32_t width, std::int32_t height, double left, double top, double right,
           double bottom) {
    for (std::int32_t y = std::max(0, static_cast<int>(top)); y < std::min<double>(bottom, height); ++y) {
        for (std::int32_t x = std::max(0, static_cast<int>(left)); x < std::min<double>(right, width); ++x) {
            raster[static_cast<std::size_t>(y * width + x)] = '#';
        }
    }
}

struct Case {
    std::string message;
    std::int32_t width, height;
    float centimetres;
};

TEST(PictureGeometry, RectanglesBlocksFrameAndRunsAreTheBitmapsDarkPixels) {
    platform::SetPortableScreenDpi(96);
    const Case cases[] = {
        {"Ab1", 500, 300, 0.2f},             // P = 7, even free space
        {"Seamless 123456", 501, 301, 0.1f}, // odd free space
        {"Ab1", 51, 51, 0.2f},               // cropped on every side
        {"Cropped across", 17, 9, 0.3f},
        {"Ab1", 60, 40, 0.02f},              // P = 0: the frame only
    };
    for (const Case& c : cases) {
        const test::EncodedSymbol encoded = test::Encode(c.message);
        for (int turn = 0; turn < 4; ++turn) {
            for (const BorderStyle border : {BorderStyle::None, BorderStyle::Dashed, BorderStyle::Solid}) {
                const DMSettings style = test::NineSettings(c.width, c.height, c.centimetres, turn, border);
                const std::string where = c.message + " turn " + std::to_string(turn) + " frame " +
                                          std::to_string(static_cast<int>(border));
                const Raster bitmap = BmpPixels(test::DrawBitmap(encoded.state->symbol, style), c.width, c.height);
                std::int32_t pixels = 0;
                const PictureGeometry picture = test::NinesGeometry(style, encoded.state->symbol, pixels);

                Raster frame(static_cast<std::size_t>(c.width * c.height), '.');
                for (const PixelRect& r : picture.FrameRects()) Paint(frame, c.width, c.height, r.left, r.top, r.right, r.bottom);
                Raster rects = frame;
                std::array<PixelRect, kMaxSymbolSide> row;
                for (std::int32_t k = 0; k < picture.SymbolRows(); ++k) {
                    const std::size_t count = picture.DarkModuleRects(k, row.data());
                    for (std::size_t i = 0; i < count; ++i)
                        Paint(rects, c.width, c.height, row[i].left, row[i].top, row[i].right, row[i].bottom);
                }
                Raster blocks = frame;
                for (const PixelRect& r : picture.ModuleBlocks()) Paint(blocks, c.width, c.height, r.left, r.top, r.right, r.bottom);
                Raster runs = frame;
                for (const ExactRect& r : picture.ExactModuleRuns()) Paint(runs, c.width, c.height, r.left, r.top, r.right, r.bottom);

                EXPECT_TRUE(rects == bitmap) << where;
                EXPECT_TRUE(blocks == bitmap) << where;
                EXPECT_TRUE(runs == bitmap) << where;
            }
        }
    }
}

}  // namespace
}  // namespace ecc200

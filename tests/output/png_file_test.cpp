// The PNG writer: the bitmap's very pixels in the palette of bar and
// background, pHYs from the resolution, chunks libpng accepts (their CRCs
// included), read back by libpng and by ZXingReader.
#include "output/png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "encoder/module_matrix.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"
#include "support/decoders.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using Rgb = std::array<std::uint8_t, 3>;

Rgb RgbOf(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8), static_cast<std::uint8_t>(colour >> 16)};
}

// The PNG decoded by libpng to 8-bit RGB, top row first; empty when libpng
// refuses the file.
std::vector<Rgb> DecodePng(const std::vector<std::uint8_t>& png, std::int32_t width, std::int32_t height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
    EXPECT_EQ(image.width, static_cast<png_uint_32>(width));
    EXPECT_EQ(image.height, static_cast<png_uint_32>(height));
    image.format = PNG_FORMAT_RGB;
    std::vector<Rgb> pixels(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    return pixels;
}

// Pixel (x, y), y from the top, of GetDIBits' bottom-up rows.
int DibBit(const std::uint8_t* rows, std::size_t rowBytes, std::int32_t height, std::int32_t x, std::int32_t y) {
    const std::uint8_t byte = rows[static_cast<std::size_t>(height - 1 - y) * rowBytes + static_cast<std::size_t>(x / 8)];
    return byte >> (7 - x % 8) & 1;
}

int OneBit(std::uint32_t colour) { return (colour & 0xFF) + (colour >> 8 & 0xFF) + (colour >> 16 & 0xFF) >= 383 ? 1 : 0; }

std::vector<std::uint8_t> PngOf(const test::DrawnBitmap& drawn, const PictureStyle& style, std::int32_t dpi) {
    const platform::ByteSpan rows{drawn.block.data() + drawn.rowsOffset, drawn.rowsSize};
    std::vector<std::uint8_t> png;
    PngDeflater deflater;
    EXPECT_EQ(AppendPngFile(png, MonochromeRows{&rows, 1, style.width, style.height}, style.barColour,
                            style.backgroundColour, dpi, deflater),
              WriteResult::Written);
    return png;
}

struct Colours {
    std::uint32_t bar;
    std::uint32_t background;
};

// Every pixel whose bit is the background's shows the background; any other
// the bars, or the frame's black where bars and background share a bit.
TEST(PngFile, ShowsTheBitmapsPixelsInBarAndBackgroundColours) {
    platform::SetPortableScreenDpi(96);
    const test::EncodedSymbol encoded = test::Encode("PNG pixels");
    const Colours colours[] = {{0xAA0000, 0x00FFFF}, {0x000000, 0xFFFFFF}, {0xC0C0C0, 0xFFFFFF}, {0xFFFFFF, 0x202020}};
    const test::TempDir dir;
    for (int orientation = 0; orientation < 4; ++orientation) {
        const Colours colour = colours[orientation];
        const PictureStyle style{151, 120, 0.1f, orientation, static_cast<BorderStyle>(orientation % 3), colour.bar, colour.background};
        const test::DrawnBitmap drawn = test::DrawBitmap(encoded.state->symbol, style);
        const std::vector<std::uint8_t> png = PngOf(drawn, style, 96);
        const std::vector<Rgb> pixels = DecodePng(png, style.width, style.height);
        ASSERT_EQ(pixels.size(), 151u * 120) << "turn " << orientation;
        const std::uint32_t other = OneBit(colour.bar) != OneBit(colour.background) ? colour.bar : 0x000000;
        int mismatches = 0;
        for (std::int32_t y = 0; y < style.height; ++y) {
            for (std::int32_t x = 0; x < style.width; ++x) {
                const int bit = DibBit(drawn.block.data() + drawn.rowsOffset, 20, style.height, x, y);
                const Rgb expected = RgbOf(bit == OneBit(colour.background) ? colour.background : other);
                mismatches += pixels[static_cast<std::size_t>(y * style.width + x)] != expected ? 1 : 0;
            }
        }
        EXPECT_EQ(mismatches, 0) << "turn " << orientation;
        if (OneBit(colour.bar) == 0 && OneBit(colour.background) == 1) {
            const std::string path = dir.file("symbol.png");
            test::WriteFileBytes(path, std::string(png.begin(), png.end()));
            EXPECT_EQ(test::ZxingRead(path), "PNG pixels") << "turn " << orientation;
        }
    }
}

TEST(PngFile, RecordsTheResolutionInPixelsPerMetre) {
    const std::uint8_t row[4] = {};
    const platform::ByteSpan rows{row, sizeof row};
    for (const auto& [dpi, perMetre] : {std::pair{96, 3780}, {120, 4724}, {300, 11811}, {600, 23622}}) {
        std::vector<std::uint8_t> png;
        PngDeflater deflater;
        ASSERT_EQ(AppendPngFile(png, MonochromeRows{&rows, 1, 1, 1}, 0, 0xFFFFFF, dpi, deflater), WriteResult::Written);
        const std::string file(png.begin(), png.end());
        const std::size_t at = file.find("pHYs");
        ASSERT_NE(at, std::string::npos);
        const std::string field = {static_cast<char>(perMetre >> 24), static_cast<char>(perMetre >> 16),
                                   static_cast<char>(perMetre >> 8), static_cast<char>(perMetre)};
        EXPECT_EQ(file.substr(at + 4, 9), field + field + '\1') << dpi;
    }
}

// The bitmap's rows handed over row by row, as AppendMonochromeDib gives
// them, make the same file as one block; a second picture into the same
// buffer reuses its memory.
TEST(PngFile, RowsInPiecesMakeTheSameFileAndAWarmBufferIsReused) {
    platform::SetPortableScreenDpi(96);
    const test::EncodedSymbol encoded = test::Encode(std::string(300, 'x'));
    const PictureStyle style{400, 300, 0.1f, 1, BorderStyle::Dashed, 0x000000, 0xFFFFFF};
    const test::DrawnBitmap drawn = test::DrawBitmap(encoded.state->symbol, style);
    const std::vector<std::uint8_t> whole = PngOf(drawn, style, 96);

    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(style.width, style.height);
    std::int32_t modulePixels = 0;
    DrawSymbol(encoded.state->symbol, style, DrawingTarget{*bitmap, 0, 0}, modulePixels);
    std::vector<platform::ByteSpan> pieces;
    ASSERT_TRUE(bitmap->AppendMonochromeDib(pieces));
    ASSERT_EQ(pieces.size(), 1u + 300);  // the colour table, then a piece per row
    std::vector<std::uint8_t> png;
    PngDeflater deflater;
    const MonochromeRows rows{pieces.data() + 1, pieces.size() - 1, style.width, style.height};
    ASSERT_EQ(AppendPngFile(png, rows, 0x000000, 0xFFFFFF, 96, deflater), WriteResult::Written);
    EXPECT_TRUE(png == whole);

    const std::uint8_t* memory = png.data();
    png.clear();
    ASSERT_EQ(AppendPngFile(png, rows, 0x000000, 0xFFFFFF, 96, deflater), WriteResult::Written);
    EXPECT_EQ(png.data(), memory);
    EXPECT_TRUE(png == whole);
}

// Random pixels hardly compress: a 3000 x 3000 picture's stream fills more
// than one IDAT chunk, and libpng still reads every pixel back.
TEST(PngFile, AStreamBeyondOneIdatChunkReadsBack) {
    constexpr std::int32_t kSide = 3000;
    constexpr std::size_t kRowBytes = 376;  // 3000 bits padded to 4 bytes
    std::vector<std::uint8_t> dib(kRowBytes * kSide);
    std::mt19937 random(16022);
    for (std::uint8_t& byte : dib) byte = static_cast<std::uint8_t>(random());
    const platform::ByteSpan rows{dib.data(), dib.size()};
    std::vector<std::uint8_t> png;
    PngDeflater deflater;
    ASSERT_EQ(AppendPngFile(png, MonochromeRows{&rows, 1, kSide, kSide}, 0x000000, 0xFFFFFF, 96, deflater), WriteResult::Written);
    const std::string file(png.begin(), png.end());
    EXPECT_NE(file.find("IDAT", file.find("IDAT") + 1), std::string::npos);
    const std::vector<Rgb> pixels = DecodePng(png, kSide, kSide);
    ASSERT_EQ(pixels.size(), std::size_t{kSide} * kSide);
    int mismatches = 0;
    for (std::int32_t y = 0; y < kSide; ++y) {
        for (std::int32_t x = 0; x < kSide; ++x) {
            const Rgb expected = DibBit(dib.data(), kRowBytes, kSide, x, y) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
            mismatches += pixels[static_cast<std::size_t>(y) * kSide + static_cast<std::size_t>(x)] != expected ? 1 : 0;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(PngFile, RefusesWhatItCannotHoldAndLeavesTheBufferAsItWas) {
    const std::uint8_t eightRows[32] = {};
    const platform::ByteSpan rows{eightRows, sizeof eightRows};
    const MonochromeRows refused[] = {
        {&rows, 1, 0, 8},   // no width
        {&rows, 1, 32, 0},  // no height
        {&rows, 1, 33, 8},  // rows of 8 bytes needed
        {&rows, 1, 32, 9},  // one row short
        {nullptr, 1, 32, 8},
    };
    std::vector<std::uint8_t> out = {1, 2, 3};
    PngDeflater deflater;
    for (const MonochromeRows& picture : refused) {
        EXPECT_EQ(AppendPngFile(out, picture, 0, 0xFFFFFF, 96, deflater), WriteResult::NotRepresentable);
    }
    // 54546085 dpi is past 2^31 - 1 pixels a metre; 54546084 is not.
    for (std::int32_t dpi : {0, -96, 54546085}) {
        EXPECT_EQ(AppendPngFile(out, MonochromeRows{&rows, 1, 32, 8}, 0, 0xFFFFFF, dpi, deflater), WriteResult::NotRepresentable) << dpi;
    }
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(AppendPngFile(out, MonochromeRows{&rows, 1, 32, 8}, 0, 0xFFFFFF, 54546084, deflater), WriteResult::Written);
}

}  // namespace
}  // namespace ecc200

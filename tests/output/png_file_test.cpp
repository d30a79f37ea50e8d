// The PNG writer, read back by libpng (which checks every chunk's CRC) and
// by ZXingReader: the bitmap's very pixels in the palette of bar and
// background, pHYs from the resolution.
#include "output/png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>
#include <string>
#include <vector>

#include "output/bmp_file.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"
#include "support/decoders.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/nine_settings.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

int OneBit(std::uint32_t colour) { return (colour & 0xFF) + (colour >> 8 & 0xFF) + (colour >> 16 & 0xFF) >= 383 ? 1 : 0; }

// How many pixels of the PNG (decoded by libpng to RGB) differ from the
// colour of their bit in GetDIBits' bottom-up rows; -1 when libpng refuses it.
int PixelsUnlike(const std::vector<std::uint8_t>& png, const std::uint8_t* dibRows, std::int32_t width, std::int32_t height,
                 const std::uint32_t colourOfBit[2]) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return -1;
    image.format = PNG_FORMAT_BGR;  // COLORREF's byte order
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) || image.width != static_cast<png_uint_32>(width) ||
        image.height != static_cast<png_uint_32>(height)) {
        return -1;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    int unlike = 0;
    for (std::size_t y = 0; y < image.height; ++y) {
        for (std::size_t x = 0; x < image.width; ++x) {
            const int bit = dibRows[(image.height - 1 - y) * rowBytes + x / 8] >> (7 - x % 8) & 1;
            const std::uint8_t* bgr = &pixels[3 * (y * image.width + x)];
            unlike += (bgr[0] << 16 | bgr[1] << 8 | bgr[2]) != static_cast<int>(colourOfBit[bit]) ? 1 : 0;
        }
    }
    return unlike;
}

// A pixel whose bit is the background's shows the background, any other the
// bars, or the frame's black where bars and background share a bit. The
// rows handed over one by one, as AppendMonochromeDib gives them, make the
// same file as one block, and a second file into the same buffer reuses it.
TEST(PngFile, ShowsTheBitmapsPixelsInBarAndBackgroundColours) {
    platform::SetPortableScreenDpi(96);
    const test::EncodedSymbol encoded = test::Encode("PNG pixels");
    const test::TempDir dir;
    const std::uint32_t colours[][2] = {{0xAA0000, 0x00FFFF}, {0x000000, 0xFFFFFF}, {0xC0C0C0, 0xFFFFFF}, {0xFFFFFF, 0x202020}};
    for (int turn = 0; turn < 4; ++turn) {
        const std::uint32_t bar = colours[turn][0];
        const std::uint32_t background = colours[turn][1];
        const DMSettings style = test::NineSettings(151, 120, 0.1f, turn, static_cast<BorderStyle>(turn % 3), bar, background);
        const test::DrawnBitmap drawn = test::DrawBitmap(encoded.state->symbol, style);
        const std::uint8_t* dibRows = drawn.file.data() + kRowsOffset;
        std::vector<platform::ByteSpan> rowByRow;
        for (std::size_t y = 0; y < 120; ++y) rowByRow.push_back({dibRows + 20 * y, 20});
        const platform::ByteSpan block{dibRows, drawn.file.size() - kRowsOffset};
        std::vector<std::uint8_t> png;
        std::vector<std::uint8_t> pieces;
        PngDeflater deflater;
        ASSERT_TRUE(AppendPngFile(png, {&block, 1, 151, 120}, bar, background, 96, deflater).ok());
        ASSERT_TRUE(AppendPngFile(pieces, {rowByRow.data(), 120, 151, 120}, bar, background, 96, deflater).ok());
        EXPECT_TRUE(pieces == png);
        const std::uint8_t* memory = pieces.data();
        pieces.clear();
        ASSERT_TRUE(AppendPngFile(pieces, {&block, 1, 151, 120}, bar, background, 96, deflater).ok());
        EXPECT_EQ(pieces.data(), memory);

        const std::uint32_t other = OneBit(bar) != OneBit(background) ? bar : 0x000000;
        const std::uint32_t colourOfBit[2] = {OneBit(background) == 0 ? background : other, OneBit(background) ? background : other};
        EXPECT_EQ(PixelsUnlike(png, dibRows, 151, 120, colourOfBit), 0) << "turn " << turn;
        const std::string file(png.begin(), png.end());
        EXPECT_EQ(file.substr(file.find("pHYs") + 4, 9), std::string("\0\0\x0E\xC4\0\0\x0E\xC4\1", 9));  // 3780 a metre: 96 dpi
        if (OneBit(bar) == 0 && OneBit(background) == 1) {
            test::WriteFileBytes(dir.file("symbol.png"), file);
            EXPECT_EQ(test::ZxingRead(dir.file("symbol.png")), "PNG pixels") << "turn " << turn;
        }
    }
}

// Random pixels hardly compress: a 3000 x 3000 picture's stream fills more
// than one IDAT chunk, and every pixel reads back.
TEST(PngFile, AStreamBeyondOneIdatChunkReadsBack) {
    std::vector<std::uint8_t> dib(376 * 3000);  // 3000 bits padded to 376 bytes a row
    std::mt19937 random(16022);
    for (std::uint8_t& byte : dib) byte = static_cast<std::uint8_t>(random());
    const platform::ByteSpan rows{dib.data(), dib.size()};
    std::vector<std::uint8_t> png;
    PngDeflater deflater;
    ASSERT_TRUE(AppendPngFile(png, {&rows, 1, 3000, 3000}, 0x000000, 0xFFFFFF, 96, deflater).ok());
    const std::string file(png.begin(), png.end());
    EXPECT_NE(file.find("IDAT", file.find("IDAT") + 1), std::string::npos);
    const std::uint32_t blackAndWhite[2] = {0x000000, 0xFFFFFF};
    EXPECT_EQ(PixelsUnlike(png, dib.data(), 3000, 3000, blackAndWhite), 0);
}

TEST(PngFile, RefusesWhatItCannotHoldAndLeavesTheBufferAsItWas) {
    const std::uint8_t eightRows[32] = {};
    const platform::ByteSpan rows{eightRows, sizeof eightRows};
    // No width, no height, rows of 8 bytes needed, a row short, no rows.
    const MonochromeRows refused[] = {{&rows, 1, 0, 8}, {&rows, 1, 32, 0}, {&rows, 1, 33, 8}, {&rows, 1, 32, 9}, {nullptr, 1, 32, 8}};
    std::vector<std::uint8_t> out = {1, 2, 3};
    PngDeflater deflater;
    for (const MonochromeRows& picture : refused) {
        EXPECT_EQ(AppendPngFile(out, picture, 0, 0xFFFFFF, 96, deflater).failure, Failure::PictureTooLarge);
    }
    // 54546085 dpi is past 2^31 - 1 pixels a metre; 54546084 is not.
    for (std::int32_t dpi : {0, -96, 54546085}) {
        EXPECT_EQ(AppendPngFile(out, {&rows, 1, 32, 8}, 0, 0xFFFFFF, dpi, deflater).failure, Failure::PictureTooLarge) << dpi;
    }
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(AppendPngFile(out, {&rows, 1, 32, 8}, 0, 0xFFFFFF, 54546084, deflater).ok());
}

}  // namespace
}  // namespace ecc200

// The tool's own PNG and SVG start from the library's one-bit BMP of the
// picture, drawn in memory: its pixels, in the bar and background colours,
// are what those formats show. (Until the library writes PNG and SVG.)
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <ecc200.hpp>

namespace ecc200::tool {

struct OneBitPicture {
    std::vector<std::uint8_t> bmp;  // the whole file, as the library writes it
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t rowBytes = 0;     // rows padded to 32 bits
    std::size_t pixelsAt = 0;       // offset of the bottom row in `bmp`
    Rgb palette[2];                 // palette[b]: the colour of the pixels of bit b

    // Pixel (x, y), y from the top: 0 or 1, the leftmost pixel in a byte's highest bit.
    int bit(std::int32_t x, std::int32_t y) const {
        const std::size_t row = pixelsAt + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        return bmp[row + static_cast<std::size_t>(x) / 8] >> (7 - x % 8) & 1;
    }
    // Row y from the top, rowBytes bytes.
    const std::uint8_t* row(std::int32_t y) const {
        return bmp.data() + pixelsAt + static_cast<std::size_t>(height - 1 - y) * rowBytes;
    }
};

// The picture drawn as a BMP by the library; throws ecc200::Error as
// ecc200::render does.
OneBitPicture DrawOneBit(const Symbol& symbol, const Picture& picture);

}  // namespace ecc200::tool

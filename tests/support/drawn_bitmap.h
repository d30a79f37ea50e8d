// A symbol drawn on the portable one-bit bitmap as the BMP output draws it,
// for comparing other outputs with its pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/draw_symbol.h"

namespace ecc200::test {

struct DrawnBitmap {
    std::vector<std::uint8_t> block;  // GetMonochromeDIBits' block: info header, colour table, bottom-up rows
    std::int32_t modulePixels = 0;    // the module edge DrawSymbol used
    std::size_t rowsOffset = 0;       // where the rows start in the block
    std::size_t rowsSize = 0;
};

// Draws `symbol` as `style` at the portable screen's resolution.
DrawnBitmap DrawBitmap(const SymbolMatrix& symbol, const PictureStyle& style);

// The BMP file of a drawn bitmap: BITMAPFILEHEADER, then the block.
std::string BmpFileOf(const DrawnBitmap& bitmap, std::int32_t width, std::int32_t height);

}  // namespace ecc200::test

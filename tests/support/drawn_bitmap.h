// A symbol drawn on the portable one-bit bitmap as the BMP output draws it.
#pragma once

#include <cstdint>
#include <vector>

#include "api/nine_adapter.h"

namespace ecc200::test {

struct DrawnBitmap {
    std::vector<std::uint8_t> file;  // the BMP file: its rows, bottom-up, from kRowsOffset
    std::int32_t modulePixels = 0;   // the module edge DrawSymbol used
};

// Draws `symbol` as the nine's `settings` describe it, at the portable
// screen's resolution.
DrawnBitmap DrawBitmap(const SymbolMatrix& symbol, const DMSettings& settings);

// Draws a picture's geometry, its module edge already in pixels (as a
// printer's dots).
DrawnBitmap DrawBitmapOf(const PictureGeometry& picture);

}  // namespace ecc200::test

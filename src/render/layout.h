// Where the symbol goes in the picture: module size in pixels from the
// screen's resolution, and the centring offsets.
#pragma once

#include <cstdint>

namespace ecc200 {

struct SymbolLayout {
    std::int32_t modulePixels;      // P: edge of one module in pixels
    std::int32_t horizontalOffset;  // OH: free space left of the symbol (negative when it does not fit)
    std::int32_t verticalOffset;    // OV
};

constexpr double kInchesPerCentimetre = 0.39370078740157477;  // the double nearest to 1 / 2.54

// P = trunc((dpi * cm) * (1 / 2.54)), evaluated in that order in double
// precision from the float as stored. A module size of exactly 0 keeps the
// previous P. P is clamped so that the symbol's extent plus the picture stays
// within 32 bits (for sides of `symbolSide` modules and a picture of
// `pictureExtent` pixels), so that no coordinate of the drawing overflows.
std::int32_t ModulePixels(std::int32_t dotsPerInch, float moduleCentimetres, std::int32_t previous,
                          std::int32_t symbolSide, std::int32_t pictureExtent);

// The centring offsets for a picture of width x height pixels, a symbol of
// rows x cols modules and the orientation (0 to 3 quarter turns); the
// division by 2 rounds toward zero.
SymbolLayout CentreSymbol(std::int32_t modulePixels, std::int32_t width, std::int32_t height, std::int32_t rows,
                          std::int32_t cols, int orientation);

}  // namespace ecc200

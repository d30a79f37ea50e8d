// SVG documents of a symbol: the background, one path of the bar colour's
// horizontal runs of dark modules, and the frame's one-pixel pen lines, in
// the picture's own pixel coordinates (the viewBox), sized in millimetres
// from the resolution so that the picture keeps its physical size at any
// scale.
#pragma once

#include <cstdint>
#include <string>

#include "output/output_result.h"
#include "render/draw_symbol.h"

namespace ecc200 {

class SymbolMatrix;

// The picture an SVG document shows.
struct SvgPicture {
    std::int32_t width;   // pixels
    std::int32_t height;  // pixels
    // Edge of one module in pixels: a whole number draws what DrawSymbol
    // draws on the bitmap, pixel for pixel (centred by CentreSymbol's
    // rounding); any other value is a module of exactly that size (dpi *
    // centimetres / 2.54), centred exactly.
    double modulePixels;
    int orientation;  // counter-clockwise quarter turns, 0 to 3
    BorderStyle border;
    std::uint32_t barColour;         // COLORREF 0x00BBGGRR
    std::uint32_t backgroundColour;  // COLORREF 0x00BBGGRR
    std::int32_t dotsPerInch;        // pixels per inch, for the size in millimetres
};

// Appends the SVG document of `symbol` (rows() x cols() modules) drawn as
// `picture` to `out`. NotRepresentable, appending nothing, for a width,
// height or resolution below 1, an orientation outside 0 to 3, or a module
// size that is negative, not a number, or past ModulePixels' clamp (the
// symbol's extent plus the picture's within 32 bits);
// OutOfMemory, appending nothing, when `out` cannot grow.
WriteResult AppendSvgFile(std::string& out, const SymbolMatrix& symbol, const SvgPicture& picture);

}  // namespace ecc200

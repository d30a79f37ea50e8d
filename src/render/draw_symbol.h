// Draws a finished symbol onto a device context: background, one filled
// rectangle per dark module, and the optional frame with the context's
// default pen.
#pragma once

#include <cstdint>

namespace ecc200 {

class SymbolMatrix;
namespace platform {
class DeviceContext;
}

enum class BorderStyle : std::int16_t { None = 0, Dashed = 1, Solid = 2 };

struct DrawingTarget {
    platform::DeviceContext& context;
    std::int32_t originX;  // where the picture's top-left corner lies, in logical units
    std::int32_t originY;
};

// A picture as the drawing sees it: every size already in pixels. The module
// size is resolved by the caller (from centimetres and a resolution, or given
// in pixels), so that nothing here reads the screen.
struct DrawingStyle {
    std::int32_t width;
    std::int32_t height;
    std::int32_t modulePixels;  // P: edge of one module
    int orientation;            // counter-clockwise quarter turns, 0 to 3
    BorderStyle border;
    std::uint32_t barColour;    // COLORREF
    std::uint32_t backgroundColour;
};

// Draws `symbol` (symbol.rows() x symbol.cols() modules) centred in the picture,
// turned by the orientation. modulePixels * (the symbol's larger side + 1)
// plus the picture's larger side must stay within 32 bits (see ModulePixels).
void DrawSymbol(const SymbolMatrix& symbol, const DrawingStyle& style, const DrawingTarget& target);

}  // namespace ecc200

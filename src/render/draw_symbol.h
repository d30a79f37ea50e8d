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

struct PictureStyle {
    std::int32_t width;
    std::int32_t height;
    float moduleCentimetres;
    int orientation;  // counter-clockwise quarter turns, 0 to 3
    BorderStyle border;
    std::uint32_t barColour;
    std::uint32_t backgroundColour;
};

// Draws `symbol` (symbol.rows() x symbol.cols() modules) centred in the picture,
// turned by the orientation. `modulePixels` is the module size of the
// previous drawing on entry (kept when the module size is exactly 0) and the
// one used on return.
void DrawSymbol(const SymbolMatrix& symbol, const PictureStyle& style, const DrawingTarget& target,
                std::int32_t& modulePixels);

}  // namespace ecc200

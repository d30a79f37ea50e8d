#include "render/draw_symbol.h"

#include <array>

#include "encoder/module_matrix.h"
#include "platform/drawing_surface.h"
#include "render/border.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

using platform::PixelRect;

// The rectangle of module (row k, running position u) for each orientation.
// u is the distance from the edge where the symbol's rows start: the left
// edge unturned, the bottom edge after a counter-clockwise quarter turn, the
// right edge after a half turn and the top edge after a clockwise one.
PixelRect ModuleRect(const DrawingStyle& style, const DrawingTarget& target, const SymbolLayout& layout,
                     std::int32_t rows, std::int32_t k, std::int32_t u) {
    const std::int32_t p = layout.modulePixels;
    const std::int32_t x0 = target.originX;
    const std::int32_t y0 = target.originY;
    const std::int32_t oh = layout.horizontalOffset;
    const std::int32_t ov = layout.verticalOffset;
    switch (style.orientation) {
        case 1: return {x0 + oh + p * k, y0 + style.height - u - p, x0 + oh + p * (k + 1), y0 + style.height - u};
        case 2: return {x0 + style.width - u - p, y0 + ov + p * (rows - 1 - k), x0 + style.width - u, y0 + ov + p * (rows - k)};
        case 3: return {x0 + oh + p * (rows - 1 - k), y0 + u, x0 + oh + p * (rows - k), y0 + u + p};
        default: return {x0 + u, y0 + ov + p * k, x0 + u + p, y0 + ov + p * (k + 1)};
    }
}

// The rectangles of the dark modules of symbol row k, left to right in the
// symbol's own order; light modules are the background already.
std::size_t DarkModuleRects(const SymbolMatrix& symbol, const DrawingStyle& style, const DrawingTarget& target,
                            const SymbolLayout& layout, std::int32_t k, PixelRect* rects) {
    const bool quarterTurn = style.orientation == 1 || style.orientation == 3;
    const std::int32_t rows = symbol.rows();
    const std::int32_t cols = symbol.cols();
    const std::int32_t start = quarterTurn ? layout.verticalOffset : layout.horizontalOffset;
    // The rectangle moves by one module along the row: the step between the
    // first two rectangles, worked out once rather than per module.
    PixelRect rect = ModuleRect(style, target, layout, rows, k, start);
    const PixelRect next = ModuleRect(style, target, layout, rows, k, start + layout.modulePixels);
    const PixelRect step = {next.left - rect.left, next.top - rect.top, next.right - rect.right,
                            next.bottom - rect.bottom};
    // Every module's rectangle is written and kept only when dark: no branch
    // on the modules, whose pattern no predictor can follow.
    std::size_t count = 0;
    // (No step past the last module: its coordinates may not exist.)
    for (std::int32_t l = 0;;) {
        rects[count] = rect;
        count += symbol.isDark(k, l) ? 1 : 0;
        if (++l == cols) break;
        rect = {rect.left + step.left, rect.top + step.top, rect.right + step.right, rect.bottom + step.bottom};
    }
    return count;
}

}  // namespace

void DrawSymbol(const SymbolMatrix& symbol, const DrawingStyle& style, const DrawingTarget& target) {
    platform::DeviceContext& dc = target.context;
    const platform::Brush barBrush = dc.CreateSolidBrush(style.barColour);
    const platform::Brush backgroundBrush = dc.CreateSolidBrush(style.backgroundColour);

    const std::int32_t rows = symbol.rows();
    const SymbolLayout layout =
        CentreSymbol(style.modulePixels, style.width, style.height, rows, symbol.cols(), style.orientation);

    dc.FillRect({target.originX, target.originY, target.originX + style.width, target.originY + style.height},
                backgroundBrush);
    // One fill per dark module, handed over a symbol row at a time.
    std::array<PixelRect, kMaxSymbolSide> rects;
    for (std::int32_t k = 0; k < rows; ++k) {
        const std::size_t count = DarkModuleRects(symbol, style, target, layout, k, rects.data());
        dc.FillRects(rects.data(), count, barBrush);
    }
    // The frame goes over any module that reaches the picture's edge.
    if (style.border != BorderStyle::None) {
        DrawBorder(dc, target.originX, target.originY, style.width, style.height, style.border == BorderStyle::Solid);
    }

    dc.DeleteBrush(barBrush);
    dc.DeleteBrush(backgroundBrush);
}

}  // namespace ecc200

// One picture of a finished symbol, as every format draws it: the
// background, the dark modules' rectangles in paint order, their merged
// blocks, and the frame's pen lines, all in pixels, for any quarter turn and
// frame; and the module grid at the exact (fractional) module size, for the
// formats that state a physical size.
//
// The GDI-faithful drawing (render/draw_symbol.h) paints this value onto a
// device context call for call; the written formats (SVG, the seamless
// metafiles) serialise it. Nothing here allocates except the merged blocks,
// the frame's rectangles and the exact runs, which only the vector writers
// ask for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/drawing_surface.h"

namespace ecc200 {

class SymbolMatrix;

enum class BorderStyle : std::int16_t { None = 0, Dashed = 1, Solid = 2 };

using platform::PixelRect;  // left and top included, right and bottom excluded

// One line of the frame: MoveToEx(x1, y1), then LineTo(x2, y2) with the
// default pen, one pixel wide, its end point excluded.
struct FrameLine {
    std::int32_t x1;
    std::int32_t y1;
    std::int32_t x2;
    std::int32_t y2;
};

// A rectangle in fractional pixels.
struct ExactRect {
    double left;
    double top;
    double right;
    double bottom;
};

// The symbol as the picture shows it, turned: a grid of rows x cols cells of
// edge p whose top-left corner lies at (x, y).
struct ModuleGrid {
    double x;
    double y;
    double p;
    int rows;
    int cols;
};

struct PictureGeometry {
    const SymbolMatrix* symbol;
    std::int32_t width;         // pixels
    std::int32_t height;
    std::int32_t modulePixels;  // P: edge of one module in whole pixels (0 or more)
    int orientation;            // counter-clockwise quarter turns, 0 to 3
    BorderStyle border;         // any value but None and Solid draws the dashed frame
    std::uint32_t barColour;    // COLORREF 0x00BBGGRR
    std::uint32_t backgroundColour;
    std::int32_t dotsPerInch;   // along the axis the symbol's rows run on: PNG's pHYs, SVG's millimetres
    std::int32_t unitsPerInch;  // the screen's horizontal one: the WMF's placeable header, the EMF's reference
    // The module edge as asked, in fractional pixels, for the formats that
    // draw it exactly (SVG at a size in centimetres); modulePixels otherwise.
    double exactModulePixels;
    std::int32_t originX = 0;   // where the picture's top-left corner lies on the device
    std::int32_t originY = 0;

    // Plain values that describe a picture at all: sides of 1 or more,
    // P of 0 or more, 0 to 3 turns, one of the three frames, dpi above 0.
    bool Drawable() const;

    PixelRect Background() const;

    // The rectangles of the dark modules of symbol row `row`, in the
    // symbol's column order (the paint order), into `rects` (room for the
    // symbol's columns); their count. Unclipped: a module past the picture's
    // edge is the device's to clip.
    std::size_t DarkModuleRects(std::int32_t row, PixelRect* rects) const;
    std::int32_t SymbolRows() const;
    std::uint64_t DarkModuleCount() const;

    // Dark modules next to each other in a symbol row merged into runs, and
    // a run repeated unchanged in the rows below into one block: exactly the
    // pixels the module rectangles cover, clipped to the picture, in symbol
    // row order, then column order; empty blocks (P of 0, or wholly outside)
    // left out.
    std::vector<PixelRect> ModuleBlocks() const;

    // The frame's lines in drawing order (see ForEachFrameLine), how many,
    // and the pixels each paints as a rectangle clipped to the picture (no
    // rectangle empty).
    template <typename Visit>
    void ForEachFrameLine(Visit&& visit) const;
    std::uint64_t FrameLineCount() const;
    std::vector<PixelRect> FrameRects() const;

    // The grid at exactModulePixels: centred as CentreSymbol centres whole
    // pixels (so the picture is the bitmap's), exactly halved otherwise; and
    // each grid row's horizontal runs of dark cells, top to bottom, left to
    // right.
    ModuleGrid ExactGrid() const;
    bool GridCellDark(int gridRow, int gridCol) const;
    std::vector<ExactRect> ExactModuleRuns() const;
};

// The pixels LineTo paints for a line, its end point left out, as a
// rectangle (unclipped).
PixelRect LinePixels(const FrameLine& line);

namespace frame_detail {

// Step i of a dashed edge that starts at `first` and has `length` pixels:
// a dash of 4 pixels; one starting fewer than 8 pixels before the edge's
// last pixel runs up to it. In 64 bits: start + 8 may pass the 32-bit range.
inline void DashAt(std::int32_t first, std::int32_t length, std::int32_t i, std::int32_t& start, std::int32_t& end) {
    const std::int64_t from = std::int64_t{first} + 4 * std::int64_t{i};
    const std::int64_t last = std::int64_t{first} + length - 1;
    start = static_cast<std::int32_t>(from);
    end = static_cast<std::int32_t>(from + 8 > last ? last : from + 4);
}

}  // namespace frame_detail

// The solid frame: four lines over the outermost rows and columns; each
// stops short of its end point, so the bottom and left edges start one pixel
// outside the picture to reach its corners. The dashed frame: one switch for
// both passes, flipped after every step of 4 pixels, drawn or not, carried
// from the horizontal pass to the vertical one; the upper dashes lie on the
// fixed row y = 1, one below an unmoved picture's top.
template <typename Visit>
void PictureGeometry::ForEachFrameLine(Visit&& visit) const {
    const std::int32_t x0 = originX;
    const std::int32_t y0 = originY;
    if (border == BorderStyle::None) return;
    if (border == BorderStyle::Solid) {
        visit(FrameLine{x0, y0, x0 + width, y0});
        visit(FrameLine{x0 + width - 1, y0, x0 + width - 1, y0 + height});
        visit(FrameLine{x0 + width, y0 + height - 1, x0, y0 + height - 1});
        visit(FrameLine{x0, y0 + height, x0, y0});
        return;
    }
    bool on = true;
    std::int32_t start = 0;
    std::int32_t end = 0;
    for (std::int32_t i = 0; i < width / 4; ++i, on = !on) {
        if (!on) continue;
        frame_detail::DashAt(x0, width, i, start, end);
        visit(FrameLine{start, 1, end, 1});
        visit(FrameLine{start, y0 + height - 1, end, y0 + height - 1});
    }
    for (std::int32_t j = 0; j < height / 4; ++j, on = !on) {
        if (!on) continue;
        frame_detail::DashAt(y0, height, j, start, end);
        visit(FrameLine{x0, start, x0, end});
        visit(FrameLine{x0 + width - 1, start, x0 + width - 1, end});
    }
}

}  // namespace ecc200

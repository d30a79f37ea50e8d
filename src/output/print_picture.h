// What a print document (PDF, EPS) shows, in the picture's own units (y
// downwards from the top-left corner, as every picture of the library):
// the background, the dark modules as cells of the symbol's grid, the
// frame's rectangles and an optional line of human-readable text. The
// writers only serialise it; where each piece lies is decided by the
// picture's geometry, not here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/cell_blocks.h"

namespace ecc200 {

// Cells of the grid, as shown (already turned).
using GridBlock = CellBlock;

// A rectangle in picture units: [left, right) x [top, bottom).
struct UnitRect {
    double left;
    double top;
    double right;
    double bottom;
};

// One line of text in the base-14 Courier, every glyph 0.6 em wide, so that
// its extent is known without a metrics table: printable ASCII only.
struct PrintText {
    std::string text;
    double centreX;   // the line's horizontal centre
    double baseline;  // the baseline, from the top
    double emSize;    // the font size
};

struct PrintPicture {
    double width;          // picture units
    double height;
    double pointsPerUnit;  // 72 / dots per inch for pixel units
    std::uint32_t background;  // 0xRRGGBB
    std::uint32_t bar;         // 0xRRGGBB: the dark modules and the text
    std::uint32_t frameColour; // 0xRRGGBB
    // The grid of modules: cell (0, 0)'s top-left corner and a cell's edge.
    double gridX;
    double gridY;
    double cellEdge;
    std::vector<GridBlock> dark;   // disjoint blocks of dark cells
    std::vector<UnitRect> frame;   // disjoint rectangles of the frame
    std::vector<PrintText> text;   // at most a line or two
};

}  // namespace ecc200

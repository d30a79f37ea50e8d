// The dark modules of a symbol as few rectangles in picture pixels, for the
// seamless metafiles: dark modules next to each other in a symbol row are
// one run, and a run repeated unchanged in the rows below grows into one
// rectangle. Each rectangle covers exactly the pixels DrawSymbol fills for
// its modules, for every quarter turn, clipped to the picture.
#pragma once

#include <cstdint>
#include <vector>

namespace ecc200 {

class SymbolMatrix;

// Pixels [left, right) x [top, bottom), as FillRect paints them.
struct PictureRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// Where a symbol lies in a picture: the picture's size, the resolved module
// edge in whole pixels (P, 0 or more) and the counter-clockwise quarter
// turns (0 to 3).
struct SymbolPlacement {
    std::int32_t width;
    std::int32_t height;
    std::int32_t modulePixels;
    int orientation;
};

// Blocks of dark modules in symbol coordinates: rows [row, rowEnd), columns
// [col, colEnd), in row order, then column order.
struct ModuleBlock {
    std::int32_t row;
    std::int32_t col;
    std::int32_t rowEnd;
    std::int32_t colEnd;
};

// Merges the dark modules into horizontal runs, and runs with the same
// columns in consecutive rows into one block.
std::vector<ModuleBlock> MergeDarkModules(const SymbolMatrix& symbol);

// The pixels of the blocks in the picture, turned and centred as
// DrawSymbol draws them (CentreSymbol's offsets), each clipped to the
// picture; blocks that lie wholly outside it, or are empty because P is 0,
// are left out.
std::vector<PictureRect> DarkModuleRects(const SymbolMatrix& symbol, const SymbolPlacement& placement);

}  // namespace ecc200

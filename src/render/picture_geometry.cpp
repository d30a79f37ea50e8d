#include "render/picture_geometry.h"

#include <algorithm>
#include <cmath>

#include "encoder/module_matrix.h"
#include "render/cell_blocks.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

// Blocks of dark modules in symbol coordinates.
std::vector<CellBlock> MergeDarkModules(const SymbolMatrix& symbol) {
    std::vector<CellBlock> blocks;
    MergeDarkCells(symbol.rows(), symbol.cols(), [&](std::int32_t row, std::int32_t col) { return symbol.isDark(row, col); },
                   blocks);
    return blocks;
}

// The pixels of a block in 64 bits (with the largest clamped module size
// the symbol's far edge lies beyond 32 bits before it is clipped). Column l
// of row k lies at u = offset + P x l from the edge where the symbol's rows
// start: the left edge unturned, the bottom after a counter-clockwise
// quarter turn, the right after a half turn, the top after a clockwise one.
struct WideRect {
    std::int64_t left;
    std::int64_t top;
    std::int64_t right;
    std::int64_t bottom;
};

WideRect BlockPixels(const PictureGeometry& g, const SymbolLayout& layout, const CellBlock& b) {
    const std::int64_t p = g.modulePixels;
    const std::int64_t oh = layout.horizontalOffset;
    const std::int64_t ov = layout.verticalOffset;
    const std::int64_t w = g.width;
    const std::int64_t h = g.height;
    const std::int64_t rows = g.symbol->rows();
    switch (g.orientation) {
        case 1: return {oh + p * b.row, h - ov - p * b.colEnd, oh + p * b.rowEnd, h - ov - p * b.col};
        case 2: return {w - oh - p * b.colEnd, ov + p * (rows - b.rowEnd), w - oh - p * b.col, ov + p * (rows - b.row)};
        case 3: return {oh + p * (rows - b.rowEnd), ov + p * b.col, oh + p * (rows - b.row), ov + p * b.colEnd};
        default: return {oh + p * b.col, ov + p * b.row, oh + p * b.colEnd, ov + p * b.rowEnd};
    }
}

SymbolLayout LayoutOf(const PictureGeometry& g) {
    return CentreSymbol(g.modulePixels, g.width, g.height, g.symbol->rows(), g.symbol->cols(), g.orientation);
}

// The rectangle of module (row, col) on the device.
PixelRect ModuleRect(const PictureGeometry& g, const SymbolLayout& layout, std::int32_t row, std::int32_t col) {
    const WideRect r = BlockPixels(g, layout, {row, col, row + 1, col + 1});
    return {g.originX + static_cast<std::int32_t>(r.left), g.originY + static_cast<std::int32_t>(r.top),
            g.originX + static_cast<std::int32_t>(r.right), g.originY + static_cast<std::int32_t>(r.bottom)};
}

}  // namespace

// A line drawn leftward or upward starts one pixel later.
PixelRect LinePixels(const FrameLine& l) {
    PixelRect r{std::min(l.x1, l.x2), std::min(l.y1, l.y2), std::max(l.x1, l.x2), std::max(l.y1, l.y2)};
    if (l.x2 < l.x1) ++r.left, ++r.right;
    if (l.y2 < l.y1) ++r.top, ++r.bottom;
    if (l.y1 == l.y2) ++r.bottom;  // horizontal: one row
    if (l.x1 == l.x2) ++r.right;   // vertical: one column
    return r;
}

bool PictureGeometry::Drawable() const {
    const bool knownBorder = border == BorderStyle::None || border == BorderStyle::Dashed || border == BorderStyle::Solid;
    return width >= 1 && height >= 1 && modulePixels >= 0 && orientation >= 0 && orientation <= 3 && knownBorder &&
           dotsPerInch > 0 && unitsPerInch > 0;
}

PixelRect PictureGeometry::Background() const { return {originX, originY, originX + width, originY + height}; }

std::int32_t PictureGeometry::SymbolRows() const { return symbol->rows(); }

std::size_t PictureGeometry::DarkModuleRects(std::int32_t k, PixelRect* rects) const {
    const SymbolLayout layout = LayoutOf(*this);
    const std::int32_t cols = symbol->cols();
    // The rectangle moves by one module along the row: the step between the
    // first two rectangles, worked out once rather than per module.
    PixelRect rect = ModuleRect(*this, layout, k, 0);
    const PixelRect next = ModuleRect(*this, layout, k, 1);
    const PixelRect step = {next.left - rect.left, next.top - rect.top, next.right - rect.right,
                            next.bottom - rect.bottom};
    // Every module's rectangle is written and kept only when dark: no branch
    // on the modules, whose pattern no predictor can follow. (No step past
    // the last module: its coordinates may not exist.)
    std::size_t count = 0;
    for (std::int32_t l = 0;;) {
        rects[count] = rect;
        count += symbol->isDark(k, l) ? 1 : 0;
        if (++l == cols) break;
        rect = {rect.left + step.left, rect.top + step.top, rect.right + step.right, rect.bottom + step.bottom};
    }
    return count;
}

std::uint64_t PictureGeometry::DarkModuleCount() const {
    std::uint64_t dark = 0;
    for (int row = 0; row < symbol->rows(); ++row) {
        for (int col = 0; col < symbol->cols(); ++col) dark += symbol->isDark(row, col) ? 1 : 0;
    }
    return dark;
}

std::vector<PixelRect> PictureGeometry::ModuleBlocks() const {
    const SymbolLayout layout = LayoutOf(*this);
    std::vector<PixelRect> rects;
    for (const CellBlock& block : MergeDarkModules(*symbol)) {
        const WideRect r = BlockPixels(*this, layout, block);
        const std::int64_t left = std::max<std::int64_t>(r.left, 0);
        const std::int64_t top = std::max<std::int64_t>(r.top, 0);
        const std::int64_t right = std::min<std::int64_t>(r.right, width);
        const std::int64_t bottom = std::min<std::int64_t>(r.bottom, height);
        if (left >= right || top >= bottom) continue;
        rects.push_back({static_cast<std::int32_t>(originX + left), static_cast<std::int32_t>(originY + top),
                         static_cast<std::int32_t>(originX + right), static_cast<std::int32_t>(originY + bottom)});
    }
    return rects;
}

// The solid frame is four lines. The dashed one steps 4 pixels at a time,
// width / 4 steps along the top and bottom, then height / 4 down the sides,
// one switch alternating over all of them from "on": every step that is on
// draws two lines.
std::uint64_t PictureGeometry::FrameLineCount() const {
    if (border == BorderStyle::None) return 0;
    if (border == BorderStyle::Solid) return 4;
    const std::uint64_t steps = std::uint64_t(width / 4) + std::uint64_t(height / 4);
    return 2 * ((steps + 1) / 2);
}

std::vector<PixelRect> PictureGeometry::FrameRects() const {
    std::vector<PixelRect> rects;
    ForEachFrameLine([&](const FrameLine& line) {
        PixelRect r = LinePixels(line);
        r = {std::max(r.left, originX), std::max(r.top, originY), std::min(r.right, originX + width),
             std::min(r.bottom, originY + height)};
        if (r.left < r.right && r.top < r.bottom) rects.push_back(r);
    });
    return rects;
}

// Turns 1 and 2 measure from the far edge, as the module rectangles do.
ModuleGrid PictureGeometry::ExactGrid() const {
    const double p = exactModulePixels;
    const bool quarterTurn = orientation == 1 || orientation == 3;
    const int across = quarterTurn ? symbol->rows() : symbol->cols();
    const int down = quarterTurn ? symbol->cols() : symbol->rows();
    // Above the text's band, in the exact picture.
    const double w = ExactWidth();
    const double h = ExactHeight() - textBand;
    double oh = (w - p * across) / 2;
    double ov = (h - p * down) / 2;
    if (p == std::floor(p) && textBand == 0) {
        const SymbolLayout layout = CentreSymbol(static_cast<std::int32_t>(p), width, height, symbol->rows(),
                                                 symbol->cols(), orientation);
        oh = layout.horizontalOffset;
        ov = layout.verticalOffset;
    }
    ModuleGrid grid{oh, ov, p, down, across};
    if (orientation == 1) grid.y = h - ov - p * down;
    if (orientation == 2) grid.x = w - oh - p * across;
    grid.x += originX;
    grid.y += originY;
    return grid;
}

// The symbol's module in grid cell (i, j), turned counter-clockwise.
bool PictureGeometry::GridCellDark(int i, int j) const {
    const SymbolMatrix& s = *symbol;
    switch (orientation) {
        case 1: return s.isDark(j, s.cols() - 1 - i);
        case 2: return s.isDark(s.rows() - 1 - i, s.cols() - 1 - j);
        case 3: return s.isDark(s.rows() - 1 - j, i);
        default: return s.isDark(i, j);
    }
}

std::vector<ExactRect> PictureGeometry::ExactModuleRuns() const {
    std::vector<ExactRect> runs;
    if (exactModulePixels <= 0) return runs;
    const ModuleGrid grid = ExactGrid();
    for (int i = 0; i < grid.rows; ++i) {
        const double top = grid.y + grid.p * i;
        for (int j = 0; j < grid.cols;) {
            if (!GridCellDark(i, j)) {
                ++j;
                continue;
            }
            const int runStart = j;
            while (j < grid.cols && GridCellDark(i, j)) ++j;
            runs.push_back({grid.x + grid.p * runStart, top, grid.x + grid.p * j, top + grid.p});
        }
    }
    return runs;
}

}  // namespace ecc200

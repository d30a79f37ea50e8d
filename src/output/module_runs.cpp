#include "output/module_runs.h"

#include <algorithm>
#include <cassert>

#include "encoder/module_matrix.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

// The runs of dark modules in one symbol row, left to right.
std::vector<ModuleBlock> RowRuns(const SymbolMatrix& symbol, std::int32_t row) {
    std::vector<ModuleBlock> runs;
    std::int32_t col = 0;
    while (col < symbol.cols()) {
        if (!symbol.isDark(row, col)) {
            ++col;
            continue;
        }
        const std::int32_t start = col;
        while (col < symbol.cols() && symbol.isDark(row, col)) ++col;
        runs.push_back({row, start, row + 1, col});
    }
    return runs;
}

// A pixel rectangle in 64 bits: with the largest clamped module size the
// symbol's far edge lies beyond 32 bits before it is clipped.
struct WideRect {
    std::int64_t left;
    std::int64_t top;
    std::int64_t right;
    std::int64_t bottom;
};

// The pixels of a block, by the formulas DrawSymbol's module rectangles
// follow: column l of row k lies at u = offset + P x l from the edge where
// the symbol's rows start (left unturned, bottom after a counter-clockwise
// quarter turn, right after a half turn, top after a clockwise one).
WideRect BlockPixels(const ModuleBlock& block, const SymbolPlacement& placement, const SymbolLayout& layout,
                     std::int32_t rows) {
    const std::int64_t p = placement.modulePixels;
    const std::int64_t oh = layout.horizontalOffset;
    const std::int64_t ov = layout.verticalOffset;
    const std::int64_t w = placement.width;
    const std::int64_t h = placement.height;
    switch (placement.orientation) {
        case 1: return {oh + p * block.row, h - ov - p * block.colEnd, oh + p * block.rowEnd, h - ov - p * block.col};
        case 2: return {w - oh - p * block.colEnd, ov + p * (rows - block.rowEnd), w - oh - p * block.col, ov + p * (rows - block.row)};
        case 3: return {oh + p * (rows - block.rowEnd), ov + p * block.col, oh + p * (rows - block.row), ov + p * block.colEnd};
        default: return {oh + p * block.col, ov + p * block.row, oh + p * block.colEnd, ov + p * block.rowEnd};
    }
}

}  // namespace

std::vector<ModuleBlock> MergeDarkModules(const SymbolMatrix& symbol) {
    std::vector<ModuleBlock> finished;
    std::vector<ModuleBlock> open;  // blocks that reach the previous row, left to right
    for (std::int32_t row = 0; row < symbol.rows(); ++row) {
        std::vector<ModuleBlock> next;
        std::size_t o = 0;
        for (ModuleBlock run : RowRuns(symbol, row)) {
            // Blocks of the row above that end left of this run stop there.
            while (o < open.size() && open[o].col < run.col) finished.push_back(open[o++]);
            if (o < open.size() && open[o].col == run.col && open[o].colEnd == run.colEnd) {
                run = open[o++];
                run.rowEnd = row + 1;
            }
            next.push_back(run);
        }
        finished.insert(finished.end(), open.begin() + static_cast<std::ptrdiff_t>(o), open.end());
        open = std::move(next);
    }
    finished.insert(finished.end(), open.begin(), open.end());
    std::sort(finished.begin(), finished.end(), [](const ModuleBlock& a, const ModuleBlock& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    return finished;
}

std::vector<PictureRect> DarkModuleRects(const SymbolMatrix& symbol, const SymbolPlacement& placement) {
    assert(placement.orientation >= 0 && placement.orientation <= 3 && placement.modulePixels >= 0);
    const SymbolLayout layout = CentreSymbol(placement.modulePixels, placement.width, placement.height, symbol.rows(),
                                             symbol.cols(), placement.orientation);
    std::vector<PictureRect> rects;
    for (const ModuleBlock& block : MergeDarkModules(symbol)) {
        const WideRect r = BlockPixels(block, placement, layout, symbol.rows());
        const std::int64_t left = std::max<std::int64_t>(r.left, 0);
        const std::int64_t top = std::max<std::int64_t>(r.top, 0);
        const std::int64_t right = std::min<std::int64_t>(r.right, placement.width);
        const std::int64_t bottom = std::min<std::int64_t>(r.bottom, placement.height);
        if (left >= right || top >= bottom) continue;
        rects.push_back({static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                         static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)});
    }
    return rects;
}

}  // namespace ecc200

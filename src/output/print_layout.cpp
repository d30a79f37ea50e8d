#include "output/print_layout.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "encoder/module_matrix.h"
#include "output/print_picture.h"
#include "output/seamless_frame.h"

namespace ecc200 {
namespace {

constexpr double kPointsPerInch = 72;
constexpr double kLargestPixels = 1e9;  // far past any page, within 32-bit frames

// The dark modules as blocks in symbol coordinates: each row's runs of dark
// modules, a run with the same columns as a block ending on the row above
// growing that block. One pass; blocks in the order they start.
void MergeDarkRuns(const SymbolMatrix& symbol, std::vector<GridBlock>& blocks) {
    std::vector<std::int32_t> openAt(static_cast<std::size_t>(symbol.cols()), -1);  // block starting at a column
    for (std::int32_t row = 0; row < symbol.rows(); ++row) {
        for (std::int32_t col = 0; col < symbol.cols();) {
            if (!symbol.isDark(row, col)) {
                ++col;
                continue;
            }
            const std::int32_t start = col;
            while (col < symbol.cols() && symbol.isDark(row, col)) ++col;
            const std::int32_t open = openAt[static_cast<std::size_t>(start)];
            if (open >= 0 && blocks[static_cast<std::size_t>(open)].rowEnd == row &&
                blocks[static_cast<std::size_t>(open)].colEnd == col) {
                blocks[static_cast<std::size_t>(open)].rowEnd = row + 1;
                continue;
            }
            openAt[static_cast<std::size_t>(start)] = static_cast<std::int32_t>(blocks.size());
            blocks.push_back({row, start, row + 1, col});
        }
    }
}

// A block of symbol modules where the turned grid shows it (grid cell (i,
// j) shows symbol module (j, cols-1-i) after one counter-clockwise quarter
// turn, and so on, as DrawSymbol turns the symbol).
GridBlock Turned(const GridBlock& b, const SymbolMatrix& symbol, int orientation) {
    const std::int32_t rows = symbol.rows();
    const std::int32_t cols = symbol.cols();
    switch (orientation) {
        case 1: return {cols - b.colEnd, b.row, cols - b.col, b.rowEnd};
        case 2: return {rows - b.rowEnd, cols - b.colEnd, rows - b.row, cols - b.col};
        case 3: return {b.col, rows - b.rowEnd, b.colEnd, rows - b.row};
        default: return {b.row, b.col, b.rowEnd, b.colEnd};
    }
}

// The frame's pixels as DrawBorder paints them on the picture rounded to
// whole pixels, stretched onto the exact picture so that it ends on its
// edges.
void LayFrame(const PrintRequest& request, double width, double height, PrintPicture& picture) {
    if (request.border == BorderStyle::None) return;
    const auto w = static_cast<std::int32_t>(std::max(1.0, std::round(width)));
    const auto h = static_cast<std::int32_t>(std::max(1.0, std::round(height)));
    const double sx = width / w;
    const double sy = height / h;
    for (const PictureRect& r : FrameRects(w, h, request.border))
        picture.frame.push_back({r.left * sx, r.top * sy, r.right * sx, r.bottom * sy});
}

bool Valid(const PrintRequest& r) {
    const bool fitted = r.width == 0 && r.height == 0;
    const bool sized = r.width >= 1 && r.height >= 1 && r.width <= kLargestPixels && r.height <= kLargestPixels;
    return (fitted || sized) && r.modulePixels > 0 && r.modulePixels <= kLargestPixels && r.dotsPerInch >= 1 &&
           r.orientation >= 0 && r.orientation <= 3 && r.quietZone >= 0;
}

}  // namespace

Outcome LayPrintPicture(const SymbolMatrix& symbol, const PrintRequest& request, PrintPicture& picture) {
    if (!Valid(request)) return Refused(Failure::InvalidArgument, "the print picture's sizes are out of range");
    const bool quarterTurn = request.orientation == 1 || request.orientation == 3;
    const double p = request.modulePixels;
    const double across = p * (quarterTurn ? symbol.rows() : symbol.cols());
    const double down = p * (quarterTurn ? symbol.cols() : symbol.rows());
    const double margin = 2.0 * request.quietZone * p;
    const double width = request.width > 0 ? request.width : across + margin;
    const double characters = static_cast<double>(request.text.size());
    const double em = request.text.empty() ? 0 : std::min(kHriEmModules * p, width / (kCourierAdvanceEm * characters));
    const double height = request.height > 0 ? request.height : down + margin + em;
    if (!(width <= kLargestPixels && height <= kLargestPixels))
        return Refused(Failure::PictureTooLarge, "a print picture past a billion pixels a side");
    try {
        picture = PrintPicture{};
        picture.width = width;
        picture.height = height;
        picture.pointsPerUnit = kPointsPerInch / request.dotsPerInch;
        picture.background = request.background;
        picture.bar = request.bar;
        picture.frameColour = 0x000000;  // the frame's pen is always black
        picture.cellEdge = p;
        picture.gridX = (width - across) / 2;
        picture.gridY = (height - em - down) / 2;
        MergeDarkRuns(symbol, picture.dark);
        for (GridBlock& block : picture.dark) block = Turned(block, symbol, request.orientation);
        LayFrame(request, width, height, picture);
        if (!request.text.empty())
            picture.text.push_back({request.text, width / 2, height - em + kHriBaselineEm * em, em});
        return {};
    } catch (const std::bad_alloc&) {
        picture = PrintPicture{};
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200

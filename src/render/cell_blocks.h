// Dark cells of a grid as few rectangles, for the formats that draw the
// dark modules as one shape (the seamless metafiles, SVG, PDF, EPS): the
// runs of dark cells in each row, and a run with the same columns as a block
// that ends on the row above growing that block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecc200 {

// Cells [col, colEnd) x [row, rowEnd).
struct CellBlock {
    std::int32_t row;
    std::int32_t col;
    std::int32_t rowEnd;
    std::int32_t colEnd;
};

// Appends the blocks of the dark cells of a rows x cols grid (isDark(row,
// col)) to `blocks`, in the order they start: by row, then by column. One
// pass over the cells.
template <typename IsDark>
void MergeDarkCells(std::int32_t rows, std::int32_t cols, IsDark isDark, std::vector<CellBlock>& blocks) {
    const std::size_t first = blocks.size();
    std::vector<std::int32_t> openAt(static_cast<std::size_t>(cols), -1);  // the latest block starting at a column
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t col = 0; col < cols;) {
            if (!isDark(row, col)) {
                ++col;
                continue;
            }
            const std::int32_t start = col;
            while (col < cols && isDark(row, col)) ++col;
            const std::int32_t open = openAt[static_cast<std::size_t>(start)];
            if (open >= 0) {
                CellBlock& block = blocks[first + static_cast<std::size_t>(open)];
                if (block.rowEnd == row && block.colEnd == col) {
                    block.rowEnd = row + 1;
                    continue;
                }
            }
            openAt[static_cast<std::size_t>(start)] = static_cast<std::int32_t>(blocks.size() - first);
            blocks.push_back({row, start, row + 1, col});
        }
    }
}

}  // namespace ecc200

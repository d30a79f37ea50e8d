#include "encoder/placement.h"

#include <array>

namespace ecc200 {
namespace {

struct Offset {
    int row;
    int col;
};
using Shape = std::array<Offset, 8>;  // positions of bits 1 to 8

// The standard "utah" shape, relative to its lower right module (Figure F.1).
constexpr Shape kUtah = {{{-2, -2}, {-2, -1}, {-1, -2}, {-1, -1}, {-1, 0}, {0, -2}, {0, -1}, {0, 0}}};

// The corner shapes (Figures F.3 to F.6) place modules at both ends of the
// matrix. A position is (row, col) where a negative value counts from the far
// edge: -1 is the last row or column.
constexpr Shape kCorner1 = {{{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}}};
constexpr Shape kCorner2 = {{{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}}};
constexpr Shape kCorner3 = {{{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}}};
constexpr Shape kCorner4 = {{{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}}};

void PlaceCorner(MappingMatrix& mapping, const Shape& shape, int codeword) {
    for (int bit = 1; bit <= 8; ++bit) {
        const Offset& at = shape[static_cast<std::size_t>(bit - 1)];
        const int row = at.row < 0 ? mapping.rows() + at.row : at.row;
        const int col = at.col < 0 ? mapping.cols() + at.col : at.col;
        PlaceModule(mapping, row, col, codeword, bit);
    }
}

// Shift applied when a shape wraps around an edge of n modules: 0, -2, +4 or
// +2 for n mod 8 = 0, 2, 4 or 6 (Annex F, "module").
int WrapShift(int n) { return 4 - ((n + 4) % 8); }

}  // namespace

void PlaceModule(MappingMatrix& mapping, int row, int col, int codeword, int bit) {
    if (row < 0) {
        row += mapping.rows();
        col += WrapShift(mapping.rows());
    }
    if (col < 0) {
        col += mapping.cols();
        row += WrapShift(mapping.cols());
    }
    // ISO/IEC 21471 completes the wrap for the DMRE matrices whose rows are a
    // multiple of 8 and whose columns are 4 mod 8 (24x36 of 26x40, 24x44 of
    // 26x48): there the column wrap's shift of +4 carries the left part of a
    // utah near the lower left corner below the last row, and it continues
    // from the top row. No other size's shapes reach that far.
    if (row >= mapping.rows()) row -= mapping.rows();
    mapping.set(row, col, BitRef(codeword, bit));
}

void PlaceUtah(MappingMatrix& mapping, int row, int col, int codeword) {
    for (int bit = 1; bit <= 8; ++bit) {
        const Offset& at = kUtah[static_cast<std::size_t>(bit - 1)];
        PlaceModule(mapping, row + at.row, col + at.col, codeword, bit);
    }
}

void PlaceCorner1(MappingMatrix& mapping, int codeword) { PlaceCorner(mapping, kCorner1, codeword); }
void PlaceCorner2(MappingMatrix& mapping, int codeword) { PlaceCorner(mapping, kCorner2, codeword); }
void PlaceCorner3(MappingMatrix& mapping, int codeword) { PlaceCorner(mapping, kCorner3, codeword); }
void PlaceCorner4(MappingMatrix& mapping, int codeword) { PlaceCorner(mapping, kCorner4, codeword); }

void PlaceModules(int rows, int cols, MappingMatrix& mapping) {
    mapping.reset(rows, cols);
    int codeword = 1;
    int row = 4;
    int col = 0;
    do {
        // A corner shape replaces the sweep's first shape where the sweep
        // starts at a corner of the matrix (Annex F).
        if (row == rows && col == 0) PlaceCorner1(mapping, codeword++);
        if (row == rows - 2 && col == 0 && cols % 4 != 0) PlaceCorner2(mapping, codeword++);
        if (row == rows - 2 && col == 0 && cols % 8 == 4) PlaceCorner3(mapping, codeword++);
        if (row == rows + 4 && col == 2 && cols % 8 == 0) PlaceCorner4(mapping, codeword++);
        // Sweep upwards and to the right...
        do {
            if (row < rows && col >= 0 && mapping.at(row, col) == 0) PlaceUtah(mapping, row, col, codeword++);
            row -= 2;
            col += 2;
        } while (row >= 0 && col < cols);
        row += 1;
        col += 3;
        // ...then downwards and to the left.
        do {
            if (row >= 0 && col < cols && mapping.at(row, col) == 0) PlaceUtah(mapping, row, col, codeword++);
            row += 2;
            col -= 2;
        } while (row < rows && col >= 0);
        row += 3;
        col += 1;
    } while (row < rows || col < cols);
    // A 2 x 2 corner that no shape reached gets the fixed pattern: dark at
    // its upper left and lower right.
    if (mapping.at(rows - 1, cols - 1) == 0) {
        mapping.set(rows - 1, cols - 1, kFixedDark);
        mapping.set(rows - 2, cols - 2, kFixedDark);
    }
}

}  // namespace ecc200

// ECC 200 symbol character placement, ISO/IEC 16022 5.8 and Annex F: the
// codewords are laid down as eight-module shapes along diagonal sweeps of the
// mapping matrix, with four corner shapes and a fixed pattern for a leftover
// 2 x 2 corner. The result names bits, not colours; it depends only on the
// matrix size.
//
// Pure: reads its arguments, writes only its output, no globals, no I/O, no
// allocation.
#pragma once

#include "encoder/module_matrix.h"

namespace ecc200 {

// Clears rows x cols cells of `mapping` and places every codeword,
// rows * cols / 8 of them.
void PlaceModules(int rows, int cols, MappingMatrix& mapping);

// The steps of the walk, exposed for tests of the individual shapes.
void PlaceModule(MappingMatrix& mapping, int row, int col, int codeword, int bit);
void PlaceUtah(MappingMatrix& mapping, int row, int col, int codeword);
void PlaceCorner1(MappingMatrix& mapping, int codeword);
void PlaceCorner2(MappingMatrix& mapping, int codeword);
void PlaceCorner3(MappingMatrix& mapping, int codeword);
void PlaceCorner4(MappingMatrix& mapping, int codeword);

}  // namespace ecc200

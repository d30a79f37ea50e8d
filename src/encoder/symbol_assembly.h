// Assembly of the finished symbol, ISO/IEC 16022 5.8.1 and Figure 5: every
// data region is framed by its finder pattern (solid left column and bottom
// row) and clock tracks (alternating top row and right column), and the
// mapping matrix is split across the regions' interiors.
//
// Pure: reads its arguments, writes only its output, no globals, no I/O, no
// allocation.
#pragma once

#include "encoder/codeword_stream.h"
#include "encoder/module_matrix.h"
#include "encoder/symbol_table.h"

namespace ecc200 {

// Frames one region whose upper left module is (top, left).
void DrawRegionFrame(SymbolMatrix& symbol, int top, int left, int height, int width);

// Sizes the symbol matrix and frames all regions, row of regions by row.
void DrawFinderPatterns(const SymbolAttributes& attributes, SymbolMatrix& symbol);

// Writes every interior module: the mapping cell's bit of its codeword in the
// final stream (codeword k is stream entry k - 1), masked to its weight.
void CopyMappingToSymbol(const SymbolAttributes& attributes, const MappingMatrix& mapping, const CodewordStream& stream,
                         SymbolMatrix& symbol);

}  // namespace ecc200

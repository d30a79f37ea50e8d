// The symbol assembly steps of ISO/IEC 16022 5.8.1 and Figure 5 done one by
// one, as the definition that the placement maps production fills symbols
// from (placement_map.h) are checked against. Tests and benchmarks only.
#pragma once

#include <cstdint>

#include "encoder/module_matrix.h"
#include "support/square_sizes.h"

namespace ecc200 {

// Sizes the symbol matrix and frames all regions, row of regions by row;
// the other cells keep what they held (0 in new storage).
void DrawFinderPatterns(const SymbolAttributes& attributes, SymbolMatrix& symbol);

// Writes every interior module: the mapping cell's bit of its codeword in the
// final stream (codeword k is stream entry k - 1), masked to its weight.
void CopyMappingToSymbol(const SymbolAttributes& attributes, const MappingMatrix& mapping, const std::uint8_t* stream,
                         SymbolMatrix& symbol);

}  // namespace ecc200

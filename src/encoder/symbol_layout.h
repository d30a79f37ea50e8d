// The finished matrix of any size: the data regions' finder patterns and
// clock tracks (ISO/IEC 16022 5.8.1, Figure 5), the codewords placed in the
// mapping matrix (Annex F) and the mapping matrix split across the regions,
// all three through the size's placement map (placement_map.h).
//
// Pure: reads its arguments and the size's immutable placement map, writes
// only its output, no I/O.
#pragma once

#include <cstdint>

namespace ecc200 {

class SymbolMatrix;
struct SymbolSize;

// `codewords` is the final stream (data and check codewords of the size);
// `size` is an entry of kSymbolSizes.
void LayOutSymbol(const SymbolSize& size, const std::uint8_t* codewords, SymbolMatrix& symbol);

}  // namespace ecc200

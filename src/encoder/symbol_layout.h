// The finished matrix of any size: the data regions' finder patterns and
// clock tracks (ISO/IEC 16022 5.8.1, Figure 5), the codewords placed in the
// mapping matrix (Annex F) and the mapping matrix split across the regions.
//
// Pure: reads its arguments, writes only its output, no globals, no I/O.
#pragma once

#include <cstdint>
#include <vector>

namespace ecc200 {

class SymbolMatrix;
struct SymbolSize;

// `codewords` is the final stream (data and check codewords of the size).
void LayOutSymbol(const SymbolSize& size, const std::vector<std::uint8_t>& codewords, SymbolMatrix& symbol);

}  // namespace ecc200

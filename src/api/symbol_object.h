// What an ecc200_symbol holds: the encoder's working state the symbol was
// built in (its SymbolMatrix is what the drawing reads) and the byte arrays
// the accessors hand out. Immutable once built.
#pragma once

#include <cstdint>
#include <vector>

#include "ecc200.h"
#include "encoder/build_symbol.h"

struct ecc200_symbol {
    ecc200::EncoderWorkingState state;
    std::vector<std::uint8_t> modules;        // rows x columns, row 0 first, 1 dark
    std::vector<std::uint8_t> codewords;      // the final stream, as placed
    std::vector<std::uint8_t> dataCodewords;  // the message's, before padding
};

namespace ecc200 {

// Fills the byte arrays from the built state.
void CopySymbolArrays(ecc200_symbol& symbol);

}  // namespace ecc200

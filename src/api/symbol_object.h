// What an ecc200_symbol holds: the finished module matrix (what the drawing
// reads) and the byte arrays the accessors hand out. Immutable once built.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ecc200.h"
#include "encoder/module_matrix.h"

struct ecc200_symbol {
    std::unique_ptr<ecc200::SymbolMatrix> matrix;  // the encoder's, moved in
    std::vector<std::uint8_t> modules;        // rows x columns, row 0 first, 1 dark
    std::vector<std::uint8_t> codewords;      // the final stream, as placed
    std::vector<std::uint8_t> dataCodewords;  // the message's, before padding
};

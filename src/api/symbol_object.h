// What an ecc200_symbol holds: the encoder's finished symbol (the module
// matrix the drawing reads, the codewords the accessors hand out) and the
// modules as bytes. Immutable once built; two allocations, the object and
// its modules (rows x columns bytes, written once, never zeroed first).
#pragma once

#include <cstdint>
#include <memory>

#include "ecc200.h"
#include "encoder/encode_segments.h"

struct ecc200_symbol {
    ecc200_symbol() : matrix(&encoded.matrix) {}
    ecc200_symbol(const ecc200_symbol&) = delete;
    ecc200_symbol& operator=(const ecc200_symbol&) = delete;

    ecc200::EncodedSymbol encoded;             // the encoder writes it in place
    const ecc200::SymbolMatrix* const matrix;  // encoded's, for the drawing
    std::unique_ptr<std::uint8_t[]> modules;   // rows x columns, row 0 first, 1 dark
};

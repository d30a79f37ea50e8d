// What an ecc200_symbol holds: the encoder's finished symbol (the module
// matrix the drawing reads, the codewords the accessors hand out) and the
// modules as bytes. Immutable once built. One allocation sized to the
// symbol: the object, then its cells, codewords and modules (about 450
// bytes for 10 x 10), so that an encoding stays on the allocator's fast
// path for small blocks. Made by NewSymbolObject, freed by
// DeleteSymbolObject only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ecc200.h"
#include "encoder/module_matrix.h"

namespace ecc200 {
struct EncodedSymbol;
}  // namespace ecc200

struct ecc200_symbol {
    ecc200_symbol(std::int16_t* cells, std::size_t cellCount) : cells(cells, cellCount), matrix(&this->cells) {}
    ecc200_symbol(const ecc200_symbol&) = delete;
    ecc200_symbol& operator=(const ecc200_symbol&) = delete;

    ecc200::SymbolMatrix cells;                // rows x cols, in the block
    const ecc200::SymbolMatrix* const matrix;  // cells, for the drawing
    std::int32_t dataCount = 0;                // codewords[0, dataCount): the data codewords
    std::int32_t codewordCount = 0;            // data, pads and check codewords
    const std::uint8_t* codewords = nullptr;   // in the block
    const std::uint8_t* modules = nullptr;     // rows x columns, row 0 first, 1 dark; in the block
    // The human-readable line of the message (encoder/human_readable_text.h),
    // or, when hriRefused, the sentence saying why it has none.
    std::string hri;
    bool hriRefused = false;
};

namespace ecc200 {

// A copy of the finished symbol in one new block; throws std::bad_alloc.
ecc200_symbol* NewSymbolObject(const EncodedSymbol& encoded);
void DeleteSymbolObject(ecc200_symbol* symbol);

}  // namespace ecc200

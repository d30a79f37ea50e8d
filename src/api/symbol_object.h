// What an ecc200_symbol holds: the encoder's finished symbol (the module
// matrix the drawing reads, the codewords the accessors hand out) and the
// modules as bytes, and the human-readable line a picture may print under
// it. Immutable once built. One allocation sized to the symbol: the object,
// then its cells, codewords, modules and line (about 300 bytes for 10 x
// 10), so that an encoding stays on the allocator's fast path for small
// blocks. Made by NewSymbolObject, freed by
// DeleteSymbolObject only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ecc200.h"
#include "encoder/module_matrix.h"

namespace ecc200 {
struct EncodedSymbol;
struct Segment;
}  // namespace ecc200

struct ecc200_symbol {
    ecc200_symbol(std::uint8_t* cells, std::size_t cellCount) : cells(cells, cellCount), matrix(&this->cells) {}
    ecc200_symbol(const ecc200_symbol&) = delete;
    ecc200_symbol& operator=(const ecc200_symbol&) = delete;

    ecc200::SymbolMatrix cells;                // rows x cols, in the block
    const ecc200::SymbolMatrix* const matrix;  // cells, for the drawing
    std::int32_t dataCount = 0;                // codewords[0, dataCount): the data codewords
    std::int32_t codewordCount = 0;            // data, pads and check codewords
    const std::uint8_t* codewords = nullptr;   // in the block
    const std::uint8_t* modules = nullptr;     // rows x columns, row 0 first, 1 dark; in the block
    // The human-readable line of the message (encoder/human_readable_text.h),
    // hriLength characters in the block; it can be printed only when
    // hriUnprintable, the position of the first byte that is not printable
    // ASCII, is hriLength and the line is not empty.
    const char* hriText = nullptr;
    std::size_t hriLength = 0;
    std::size_t hriUnprintable = 0;
};

namespace ecc200 {

// A copy of the finished symbol in one new block, with the line of the
// segments' bytes (a GS1 message's when gs1); throws std::bad_alloc.
ecc200_symbol* NewSymbolObject(const EncodedSymbol& encoded, const Segment* segments, std::size_t count, bool gs1);
void DeleteSymbolObject(ecc200_symbol* symbol);

}  // namespace ecc200

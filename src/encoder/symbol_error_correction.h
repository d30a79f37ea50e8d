// Padding and Reed-Solomon protection of any symbol size (ISO/IEC 16022
// 5.2.3.3, 5.7 and Annex E; ISO/IEC 21471 for DMRE), on plain vectors.
//
// The 144 x 144 size deals its 1558 data codewords into ten blocks, 156 in
// blocks 0 to 7 and 155 in blocks 8 and 9, each with 62 check codewords. Two
// orders of the final stream exist:
//   - the library's order (the default, what the nine DM functions have
//     always written and ZXingReader reads): the blocks, data and
//     check codewords together, read position by position, so the check
//     codewords of blocks 8 and 9 start one position earlier, at stream
//     position 1550 + 8, than those of blocks 0 to 7;
//   - the ISO order (iso144, what dmtxread reads): all 1558 data codewords
//     first, then the check codewords interleaved, check codeword j of block
//     b at 1558 + 10 j + b.
// Every other size has blocks of one length, where both orders agree.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O,
// no allocation.
#pragma once

#include <cstdint>

#include "encoder/symbol_sizes.h"

namespace ecc200 {

struct BlockBuffers;

// The 253-state randomising algorithm of Annex B.1, for the 1-based
// codeword position `position`.
int RandomizePad(int value, int position);

// Fills codewords[count] up to the size's capacity: 129, then 129
// randomised by their position (5.2.3.3).
void PadDataCodewords(const SymbolSize& size, int count, std::uint8_t* codewords);

// Replaces the size's padded data codewords in `stream` by the final
// stream: data and every block's check codewords, interleaved in the order
// described above (the stream holds the size's data and check codewords).
void AddCheckCodewords(const SymbolSize& size, bool iso144, BlockBuffers& blocks, std::uint8_t* stream);

}  // namespace ecc200

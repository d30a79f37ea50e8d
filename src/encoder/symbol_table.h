// The 24 square ECC 200 symbol sizes (ISO/IEC 16022, Table 7), the choice of
// the smallest size that holds a message, and the pad codewords that fill
// the rest of its data capacity (5.2.3.3 and Annex B).
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O, no
// allocation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "encoder/codeword_stream.h"

namespace ecc200 {

struct SymbolAttributes {
    std::int32_t symbolRows;           // modules per side, finder patterns included
    std::int32_t symbolColumns;
    std::int32_t regionRows;           // modules per side of one data region, without its frame
    std::int32_t regionColumns;
    std::int32_t regionCount;          // 1, 4, 16 or 36 data regions
    std::int32_t mappingRows;          // all data regions joined, without frames
    std::int32_t mappingColumns;
    std::int32_t dataCodewords;        // data capacity of the size
    std::int32_t checkCodewords;       // Reed-Solomon check codewords of the whole symbol
    std::int32_t blockDataCodewords;   // data codewords of the longest interleaved block
    std::int32_t blockCheckCodewords;  // check codewords of every block
    std::int32_t blockCount;           // interleaved blocks

    friend bool operator==(const SymbolAttributes& a, const SymbolAttributes& b) {
        return a.symbolRows == b.symbolRows && a.symbolColumns == b.symbolColumns &&
               a.regionRows == b.regionRows && a.regionColumns == b.regionColumns &&
               a.regionCount == b.regionCount && a.mappingRows == b.mappingRows &&
               a.mappingColumns == b.mappingColumns && a.dataCodewords == b.dataCodewords &&
               a.checkCodewords == b.checkCodewords && a.blockDataCodewords == b.blockDataCodewords &&
               a.blockCheckCodewords == b.blockCheckCodewords && a.blockCount == b.blockCount;
    }
};

constexpr int kSymbolSizeCount = 24;

// ISO/IEC 16022, Table 7, square sizes only. The 144 x 144 size deals its 1558
// data codewords into ten blocks, so blocks 0 to 7 take 156 and blocks 8 and 9
// take 155; blockDataCodewords holds the larger figure (see BlockDataCodewords).
// clang-format off
inline constexpr std::array<SymbolAttributes, kSymbolSizeCount> kSquareSymbolTable = {{
    //  size      region   regions  mapping    data  check  block d/e  blocks
    {  10,  10,   8,   8,   1,   8,   8,    3,     5,    3,    5,    1},  // 10x10
    {  12,  12,  10,  10,   1,  10,  10,    5,     7,    5,    7,    1},  // 12x12
    {  14,  14,  12,  12,   1,  12,  12,    8,    10,    8,   10,    1},  // 14x14
    {  16,  16,  14,  14,   1,  14,  14,   12,    12,   12,   12,    1},  // 16x16
    {  18,  18,  16,  16,   1,  16,  16,   18,    14,   18,   14,    1},  // 18x18
    {  20,  20,  18,  18,   1,  18,  18,   22,    18,   22,   18,    1},  // 20x20
    {  22,  22,  20,  20,   1,  20,  20,   30,    20,   30,   20,    1},  // 22x22
    {  24,  24,  22,  22,   1,  22,  22,   36,    24,   36,   24,    1},  // 24x24
    {  26,  26,  24,  24,   1,  24,  24,   44,    28,   44,   28,    1},  // 26x26
    {  32,  32,  14,  14,   4,  28,  28,   62,    36,   62,   36,    1},  // 32x32
    {  36,  36,  16,  16,   4,  32,  32,   86,    42,   86,   42,    1},  // 36x36
    {  40,  40,  18,  18,   4,  36,  36,  114,    48,  114,   48,    1},  // 40x40
    {  44,  44,  20,  20,   4,  40,  40,  144,    56,  144,   56,    1},  // 44x44
    {  48,  48,  22,  22,   4,  44,  44,  174,    68,  174,   68,    1},  // 48x48
    {  52,  52,  24,  24,   4,  48,  48,  204,    84,  102,   42,    2},  // 52x52
    {  64,  64,  14,  14,  16,  56,  56,  280,   112,  140,   56,    2},  // 64x64
    {  72,  72,  16,  16,  16,  64,  64,  368,   144,   92,   36,    4},  // 72x72
    {  80,  80,  18,  18,  16,  72,  72,  456,   192,  114,   48,    4},  // 80x80
    {  88,  88,  20,  20,  16,  80,  80,  576,   224,  144,   56,    4},  // 88x88
    {  96,  96,  22,  22,  16,  88,  88,  696,   272,  174,   68,    4},  // 96x96
    { 104, 104,  24,  24,  16,  96,  96,  816,   336,  136,   56,    6},  // 104x104
    { 120, 120,  18,  18,  36, 108, 108, 1050,   408,  175,   68,    6},  // 120x120
    { 132, 132,  20,  20,  36, 120, 120, 1304,   496,  163,   62,    8},  // 132x132
    { 144, 144,  22,  22,  36, 132, 132, 1558,   620,  156,   62,   10},  // 144x144
}};
// clang-format on

// Regions per side: 1, 2, 4 or 6.
constexpr std::int32_t IntegerSquareRoot(std::int32_t a) {
    std::int32_t b = 0;
    while ((b + 1) * (b + 1) <= a) ++b;
    return b;
}

// The relations between the columns that every row satisfies. (The mapping
// area is not 8 x the codewords for the sizes with the fixed 2 x 2 corner, so
// only its whole bytes are compared.)
constexpr bool RowIsConsistent(const SymbolAttributes& a) {
    const std::int32_t perSide = IntegerSquareRoot(a.regionCount);
    const std::int32_t blocks = a.blockCount;
    return a.symbolRows == a.symbolColumns && a.regionRows == a.regionColumns &&
           a.mappingRows == a.mappingColumns && perSide * perSide == a.regionCount &&
           a.mappingRows == perSide * a.regionRows && a.symbolRows == a.mappingRows + 2 * perSide &&
           a.regionRows % 2 == 0 &&
           a.mappingRows * a.mappingColumns / 8 == a.dataCodewords + a.checkCodewords &&
           a.checkCodewords == blocks * a.blockCheckCodewords &&
           a.blockDataCodewords == (a.dataCodewords + blocks - 1) / blocks;
}

constexpr bool TableIsConsistent() {
    for (std::size_t i = 0; i < kSquareSymbolTable.size(); ++i) {
        if (!RowIsConsistent(kSquareSymbolTable[i])) return false;
        if (i > 0 && kSquareSymbolTable[i].dataCodewords <= kSquareSymbolTable[i - 1].dataCodewords) return false;
    }
    return kSquareSymbolTable.back().dataCodewords == kMaxDataCodewords &&
           kSquareSymbolTable.back().dataCodewords + kSquareSymbolTable.back().checkCodewords == kMaxSymbolCodewords;
}
static_assert(TableIsConsistent(), "square symbol table rows disagree with each other");

constexpr int kPadCodeword = 129;

// The smallest size whose data capacity holds `count` codewords, or nothing
// when even the 144 x 144 size is too small.
std::optional<SymbolAttributes> SelectSymbolSize(std::int32_t count);

// The 253-state randomising algorithm of ISO/IEC 16022, Annex B.1, for the
// 1-based codeword position `position`.
int RandomizePad(int value, int position);

// Fills entries messageCount to dataCodewords - 1 with pad codewords: 129
// first, then randomised 129s (5.2.3.3). Needs messageCount <= dataCodewords.
void PadCodewordStream(const SymbolAttributes& symbol, std::int32_t messageCount, CodewordStream& stream);

}  // namespace ecc200

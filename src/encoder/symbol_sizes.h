// Every ECC 200 symbol size: the 24 squares and 6 rectangles of ISO/IEC
// 16022 Table 7 and the 18 DMRE rectangles of ISO/IEC 21471 Table 7, with
// their data regions and Reed-Solomon blocks, and the choice among the sizes
// a request admits.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O, no
// allocation.
#pragma once

#include <array>
#include <cstdint>

namespace ecc200 {

enum class SymbolShape;  // encode_segments.h

// The 144 x 144 symbol holds 1558 data and 620 check codewords, the most of
// any size (ISO/IEC 16022, Table 7).
constexpr int kMaxDataCodewords = 1558;
constexpr int kMaxSymbolCodewords = 2178;

enum class SizeFamily : std::uint8_t { Square, Rectangle, Dmre };

struct SymbolSize {
    std::int16_t rows;            // modules, finder patterns included
    std::int16_t cols;
    std::int16_t regionRows;      // modules of one data region, without its frame
    std::int16_t regionCols;
    std::int16_t regionsDown;     // data regions per column and per row
    std::int16_t regionsAcross;
    std::int16_t dataCodewords;   // data capacity
    std::int16_t checkCodewords;  // check codewords of the whole symbol
    std::int16_t blockCount;      // interleaved Reed-Solomon blocks
    SizeFamily family;

    constexpr int mappingRows() const { return regionRows * regionsDown; }
    constexpr int mappingCols() const { return regionCols * regionsAcross; }
    constexpr int blockCheckCodewords() const { return checkCodewords / blockCount; }
    // Data codewords of block b: the stream is dealt round-robin, so the
    // 144 x 144 size's blocks 8 and 9 get 155 where the others get 156 (5.7.2).
    constexpr int blockDataCodewords(int b) const { return (dataCodewords - b + blockCount - 1) / blockCount; }
};

constexpr int kSymbolSizeTotal = 48;

// clang-format off
inline constexpr std::array<SymbolSize, kSymbolSizeTotal> kSymbolSizes = {{
    //  size      region  regions  data check blocks
    // ISO/IEC 16022, Table 7, square sizes
    {  10,  10,   8,   8,  1, 1,    3,   5,  1, SizeFamily::Square},     // 10x10
    {  12,  12,  10,  10,  1, 1,    5,   7,  1, SizeFamily::Square},     // 12x12
    {  14,  14,  12,  12,  1, 1,    8,  10,  1, SizeFamily::Square},     // 14x14
    {  16,  16,  14,  14,  1, 1,   12,  12,  1, SizeFamily::Square},     // 16x16
    {  18,  18,  16,  16,  1, 1,   18,  14,  1, SizeFamily::Square},     // 18x18
    {  20,  20,  18,  18,  1, 1,   22,  18,  1, SizeFamily::Square},     // 20x20
    {  22,  22,  20,  20,  1, 1,   30,  20,  1, SizeFamily::Square},     // 22x22
    {  24,  24,  22,  22,  1, 1,   36,  24,  1, SizeFamily::Square},     // 24x24
    {  26,  26,  24,  24,  1, 1,   44,  28,  1, SizeFamily::Square},     // 26x26
    {  32,  32,  14,  14,  2, 2,   62,  36,  1, SizeFamily::Square},     // 32x32
    {  36,  36,  16,  16,  2, 2,   86,  42,  1, SizeFamily::Square},     // 36x36
    {  40,  40,  18,  18,  2, 2,  114,  48,  1, SizeFamily::Square},     // 40x40
    {  44,  44,  20,  20,  2, 2,  144,  56,  1, SizeFamily::Square},     // 44x44
    {  48,  48,  22,  22,  2, 2,  174,  68,  1, SizeFamily::Square},     // 48x48
    {  52,  52,  24,  24,  2, 2,  204,  84,  2, SizeFamily::Square},     // 52x52
    {  64,  64,  14,  14,  4, 4,  280, 112,  2, SizeFamily::Square},     // 64x64
    {  72,  72,  16,  16,  4, 4,  368, 144,  4, SizeFamily::Square},     // 72x72
    {  80,  80,  18,  18,  4, 4,  456, 192,  4, SizeFamily::Square},     // 80x80
    {  88,  88,  20,  20,  4, 4,  576, 224,  4, SizeFamily::Square},     // 88x88
    {  96,  96,  22,  22,  4, 4,  696, 272,  4, SizeFamily::Square},     // 96x96
    { 104, 104,  24,  24,  4, 4,  816, 336,  6, SizeFamily::Square},     // 104x104
    { 120, 120,  18,  18,  6, 6, 1050, 408,  6, SizeFamily::Square},     // 120x120
    { 132, 132,  20,  20,  6, 6, 1304, 496,  8, SizeFamily::Square},     // 132x132
    // 1558 data codewords in ten blocks: 156 in blocks 0 to 7, 155 in 8 and 9.
    { 144, 144,  22,  22,  6, 6, 1558, 620, 10, SizeFamily::Square},     // 144x144
    // ISO/IEC 16022, Table 7, rectangular sizes
    {   8,  18,   6,  16,  1, 1,    5,   7,  1, SizeFamily::Rectangle},  // 8x18
    {   8,  32,   6,  14,  1, 2,   10,  11,  1, SizeFamily::Rectangle},  // 8x32
    {  12,  26,  10,  24,  1, 1,   16,  14,  1, SizeFamily::Rectangle},  // 12x26
    {  12,  36,  10,  16,  1, 2,   22,  18,  1, SizeFamily::Rectangle},  // 12x36
    {  16,  36,  14,  16,  1, 2,   32,  24,  1, SizeFamily::Rectangle},  // 16x36
    {  16,  48,  14,  22,  1, 2,   49,  28,  1, SizeFamily::Rectangle},  // 16x48
    // ISO/IEC 21471, Table 7 (DMRE)
    {   8,  48,   6,  22,  1, 2,   18,  15,  1, SizeFamily::Dmre},       // 8x48
    {   8,  64,   6,  14,  1, 4,   24,  18,  1, SizeFamily::Dmre},       // 8x64
    {   8,  80,   6,  18,  1, 4,   32,  22,  1, SizeFamily::Dmre},       // 8x80
    {   8,  96,   6,  22,  1, 4,   38,  28,  1, SizeFamily::Dmre},       // 8x96
    {   8, 120,   6,  18,  1, 6,   49,  32,  1, SizeFamily::Dmre},       // 8x120
    {   8, 144,   6,  22,  1, 6,   63,  36,  1, SizeFamily::Dmre},       // 8x144
    {  12,  64,  10,  14,  1, 4,   43,  27,  1, SizeFamily::Dmre},       // 12x64
    {  12,  88,  10,  20,  1, 4,   64,  36,  1, SizeFamily::Dmre},       // 12x88
    {  16,  64,  14,  14,  1, 4,   62,  36,  1, SizeFamily::Dmre},       // 16x64
    {  20,  36,  18,  16,  1, 2,   44,  28,  1, SizeFamily::Dmre},       // 20x36
    {  20,  44,  18,  20,  1, 2,   56,  34,  1, SizeFamily::Dmre},       // 20x44
    {  20,  64,  18,  14,  1, 4,   84,  42,  1, SizeFamily::Dmre},       // 20x64
    {  22,  48,  20,  22,  1, 2,   72,  38,  1, SizeFamily::Dmre},       // 22x48
    {  24,  48,  22,  22,  1, 2,   80,  41,  1, SizeFamily::Dmre},       // 24x48
    {  24,  64,  22,  14,  1, 4,  108,  46,  1, SizeFamily::Dmre},       // 24x64
    {  26,  40,  24,  18,  1, 2,   70,  38,  1, SizeFamily::Dmre},       // 26x40
    {  26,  48,  24,  22,  1, 2,   90,  42,  1, SizeFamily::Dmre},       // 26x48
    {  26,  64,  24,  14,  1, 4,  118,  50,  1, SizeFamily::Dmre},       // 26x64
}};
// clang-format on

// The relations every row satisfies: the regions and their frames make up
// the symbol, the mapping matrix holds the data and check codewords (the
// sizes with the fixed 2 x 2 corner leave 4 modules over), the blocks share
// the check codewords evenly.
constexpr bool SizeIsConsistent(const SymbolSize& s) {
    const int mappingModules = s.mappingRows() * s.mappingCols();
    const int codewords = s.dataCodewords + s.checkCodewords;
    return s.rows == s.regionsDown * (s.regionRows + 2) && s.cols == s.regionsAcross * (s.regionCols + 2) &&
           s.regionRows % 2 == 0 && s.regionCols % 2 == 0 && (mappingModules - 8 * codewords == 0 || mappingModules - 8 * codewords == 4) &&
           s.checkCodewords % s.blockCount == 0 && s.blockCheckCodewords() <= 68 && s.rows <= 144 && s.cols <= 144 &&
           (s.family == SizeFamily::Square) == (s.rows == s.cols);
}

constexpr bool SizeTableIsConsistent() {
    for (const SymbolSize& s : kSymbolSizes) {
        if (!SizeIsConsistent(s)) return false;
    }
    return kSymbolSizes[23].dataCodewords == kMaxDataCodewords &&
           kSymbolSizes[23].dataCodewords + kSymbolSizes[23].checkCodewords == kMaxSymbolCodewords;
}
static_assert(SizeTableIsConsistent(), "symbol size table rows disagree with each other");

// Sizes of kSymbolSizes by their index, smallest data capacity first (ties:
// the fewer modules first).
struct AdmittedSizeList {
    std::array<std::int8_t, kSymbolSizeTotal> indices;
    int count;
    const SymbolSize& operator[](int k) const { return kSymbolSizes[static_cast<std::size_t>(indices[static_cast<std::size_t>(k)])]; }
};

// The admitted sizes of a request (shape Square, Rectangle or Any). A fixed
// rows x cols admits that size alone; it must exist (a DMRE size also needs
// dmre), else the list is empty.
AdmittedSizeList AdmittedSizes(SymbolShape shape, bool dmre, int rows, int cols);

}  // namespace ecc200

// The 24 square sizes of kSymbolSizes (ISO/IEC 16022 Table 7) with the
// columns the tests name them by, derived from that one table at compile
// time: regions per side, the mapping matrix, the longest block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "encoder/symbol_sizes.h"

namespace ecc200 {

struct SymbolAttributes {
    std::int32_t symbolRows;
    std::int32_t symbolColumns;
    std::int32_t regionRows;
    std::int32_t regionColumns;
    std::int32_t regionCount;
    std::int32_t mappingRows;
    std::int32_t mappingColumns;
    std::int32_t dataCodewords;
    std::int32_t checkCodewords;
    std::int32_t blockDataCodewords;  // of the longest block
    std::int32_t blockCheckCodewords;
    std::int32_t blockCount;

    friend bool operator==(const SymbolAttributes& a, const SymbolAttributes& b) {
        return a.symbolRows == b.symbolRows && a.symbolColumns == b.symbolColumns;  // a square size is its side
    }
};

constexpr int kSymbolSizeCount = 24;

constexpr SymbolAttributes AttributesOf(const SymbolSize& s) {
    return {s.rows, s.cols, s.regionRows, s.regionCols, s.regionsDown * s.regionsAcross, s.mappingRows(), s.mappingCols(),
            s.dataCodewords, s.checkCodewords, s.blockDataCodewords(0), s.blockCheckCodewords(), s.blockCount};
}

constexpr std::array<SymbolAttributes, kSymbolSizeCount> MakeSquareTable() {
    std::array<SymbolAttributes, kSymbolSizeCount> table{};
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = AttributesOf(kSymbolSizes[i]);
    return table;
}

inline constexpr std::array<SymbolAttributes, kSymbolSizeCount> kSquareSymbolTable = MakeSquareTable();

// The entry of kSymbolSizes a square row comes from.
inline const SymbolSize& SizeOf(const SymbolAttributes& attributes) {
    std::size_t i = 0;
    while (i + 1 < kSquareSymbolTable.size() && kSquareSymbolTable[i].symbolRows != attributes.symbolRows) ++i;
    return kSymbolSizes[i];
}

}  // namespace ecc200

#include "encoder/symbol_table.h"

#include <cstddef>

namespace ecc200 {

std::optional<SymbolAttributes> SelectSymbolSize(std::int32_t count) {
    // Capacities grow strictly row by row, so the first row that holds the
    // codewords is the smallest.
    for (const SymbolAttributes& row : kSquareSymbolTable) {
        if (row.dataCodewords >= count) return row;
    }
    return std::nullopt;
}

int RandomizePad(int value, int position) {
    const int pseudoRandom = ((149 * position) % 253) + 1;
    const int randomised = value + pseudoRandom;
    return randomised <= 254 ? randomised : randomised - 254;
}

void PadCodewordStream(const SymbolAttributes& symbol, std::int32_t messageCount, CodewordStream& stream) {
    for (std::int32_t k = messageCount; k < symbol.dataCodewords; ++k) {
        // The first pad is plain 129; later ones are randomised by their
        // 1-based position in the data codeword stream.
        const int pad = k == messageCount ? kPadCodeword : RandomizePad(kPadCodeword, k + 1);
        stream.codewords[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(pad);
    }
}

}  // namespace ecc200

#include "encoder/oracles/plain_symbol_assembly.h"

#include <cstddef>

#include "encoder/symbol_assembly.h"

namespace ecc200 {

void DrawFinderPatterns(const SymbolAttributes& attributes, SymbolMatrix& symbol) {
    symbol.resizeForOverwrite(attributes.symbolRows, attributes.symbolRows);
    const int perSide = attributes.regionCount == 36 ? 6 : attributes.regionCount == 16 ? 4 : attributes.regionCount == 4 ? 2 : 1;
    const int height = attributes.regionRows + 2;
    const int width = attributes.regionColumns + 2;
    for (int k = 0; k < perSide; ++k) {
        for (int l = 0; l < perSide; ++l) DrawRegionFrame(symbol, k * height, l * width, height, width);
    }
}

void CopyMappingToSymbol(const SymbolAttributes& attributes, const MappingMatrix& mapping, const std::uint8_t* stream,
                         SymbolMatrix& symbol) {
    for (int mr = 0; mr < attributes.mappingRows; ++mr) {
        // Skip the top clock track of the region and two frame rows for every
        // region boundary above.
        const int row = mr + 1 + 2 * (mr / attributes.regionRows);
        for (int mc = 0; mc < attributes.mappingColumns; ++mc) {
            const int col = mc + 1 + 2 * (mc / attributes.regionColumns);
            const std::int16_t cell = mapping.at(mr, mc);
            if (!IsBitRef(cell)) {
                symbol.set(row, col, cell);
                continue;
            }
            const int codeword = stream[CodewordOf(cell) - 1];
            symbol.set(row, col, static_cast<std::int16_t>(codeword & BitMask(BitOf(cell))));
        }
    }
}

}  // namespace ecc200

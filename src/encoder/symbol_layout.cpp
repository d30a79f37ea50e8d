#include "encoder/symbol_layout.h"

#include <memory>

#include "encoder/module_matrix.h"
#include "encoder/placement.h"
#include "encoder/symbol_assembly.h"
#include "encoder/symbol_sizes.h"

namespace ecc200 {

void LayOutSymbol(const SymbolSize& size, const std::vector<std::uint8_t>& codewords, SymbolMatrix& symbol) {
    symbol.resize(size.rows, size.cols);
    const int height = size.regionRows + 2;
    const int width = size.regionCols + 2;
    for (int down = 0; down < size.regionsDown; ++down) {
        for (int across = 0; across < size.regionsAcross; ++across) DrawRegionFrame(symbol, down * height, across * width, height, width);
    }
    const auto mapping = std::make_unique<MappingMatrix>();
    PlaceModules(size.mappingRows(), size.mappingCols(), *mapping);
    for (int mr = 0; mr < size.mappingRows(); ++mr) {
        // Past the top clock track and two frame rows per region boundary.
        const int row = mr + 1 + 2 * (mr / size.regionRows);
        for (int mc = 0; mc < size.mappingCols(); ++mc) {
            const int col = mc + 1 + 2 * (mc / size.regionCols);
            const std::int16_t cell = mapping->at(mr, mc);
            const int value = IsBitRef(cell) ? codewords[static_cast<std::size_t>(CodewordOf(cell) - 1)] & BitMask(BitOf(cell)) : cell;
            symbol.set(row, col, static_cast<std::int16_t>(value));
        }
    }
}

}  // namespace ecc200

#include "encoder/symbol_layout.h"

#include <memory>

#include "encoder/module_matrix.h"
#include "encoder/placement.h"
#include "encoder/placement_map.h"
#include "encoder/symbol_assembly.h"
#include "encoder/symbol_sizes.h"

namespace ecc200 {
namespace {

// The steps one by one: frames, the placement walk, the mapping matrix split
// across the regions past their frames.
void LayOutStepByStep(const SymbolSize& size, const std::vector<std::uint8_t>& codewords, SymbolMatrix& symbol) {
    symbol.resize(size.rows, size.cols);
    const int height = size.regionRows + 2;
    const int width = size.regionCols + 2;
    for (int down = 0; down < size.regionsDown; ++down) {
        for (int across = 0; across < size.regionsAcross; ++across) DrawRegionFrame(symbol, down * height, across * width, height, width);
    }
    const auto mapping = std::make_unique<MappingMatrix>();
    PlaceModules(size.mappingRows(), size.mappingCols(), *mapping);
    for (int mr = 0; mr < size.mappingRows(); ++mr) {
        const int row = mr + 1 + 2 * (mr / size.regionRows);
        for (int mc = 0; mc < size.mappingCols(); ++mc) {
            const int col = mc + 1 + 2 * (mc / size.regionCols);
            const std::int16_t cell = mapping->at(mr, mc);
            const int value = IsBitRef(cell) ? codewords[static_cast<std::size_t>(CodewordOf(cell) - 1)] & BitMask(BitOf(cell)) : cell;
            symbol.set(row, col, static_cast<std::int16_t>(value));
        }
    }
}

}  // namespace

void LayOutSymbol(const SymbolSize& size, const std::vector<std::uint8_t>& codewords, SymbolMatrix& symbol) {
    // The three steps folded into the size's map, where the map is whole.
    const PlacementMap& map = PlacementMapFor(size);
    if (map.everyBitPlaced) {
        FillSymbolFromMap(map, codewords, symbol);
    } else {
        LayOutStepByStep(size, codewords, symbol);
    }
}

}  // namespace ecc200

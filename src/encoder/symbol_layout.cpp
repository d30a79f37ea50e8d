#include "encoder/symbol_layout.h"

#include "encoder/module_matrix.h"
#include "encoder/placement_map.h"
#include "encoder/symbol_sizes.h"

namespace ecc200 {

void LayOutSymbol(const SymbolSize& size, const std::uint8_t* codewords, SymbolMatrix& symbol) {
    // Every size's walk places each bit once, so its map holds the three
    // steps whole.
    FillSymbolFromMap(PlacementMapFor(size), codewords, symbol);
}

}  // namespace ecc200

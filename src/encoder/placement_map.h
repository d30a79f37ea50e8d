// The placement map of a symbol size: for every module of the symbol, where
// its value comes from. It folds three steps of ISO/IEC 16022 that depend
// only on the size (finder patterns and clock tracks, 5.8.1; symbol
// character placement, 5.8 and Annex F; the split of the mapping matrix
// across the data regions) into one table, so that building a symbol is one
// pass over the final codeword stream writing each codeword's eight modules,
// plus the size's fixed modules. Every size has one: the 24 squares, the 6
// rectangles and the 18 DMRE sizes.
//
// DrawRegionFrame and PlaceModules stay the definition: BuildPlacementMap
// runs them, and the tests check FillSymbolFromMap against the steps done
// one by one.
//
// Each size's map is built once, on first use, and is immutable afterwards:
// safe to read from any thread. FillSymbolFromMap is pure.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/module_matrix.h"
#include "encoder/symbol_sizes.h"

namespace ecc200 {

// The modules of a size by what they show: the eight modules of each
// codeword, bit 1 (the most significant) first, named by their
// SymbolMatrix::Offset in a matrix of the size; and the symbol with every
// other module (finder pattern, clock track, the fixed 2 x 2 corner's dark
// and light modules) at its value and the codewords' modules 0, copied
// whole: one block copy costs less than a write per fixed module.
struct PlacementMap {
    int rows = 0;
    int cols = 0;
    int codewords = 0;                       // data and check codewords of the size
    std::vector<std::uint16_t> bitModules;   // 8 per codeword, codeword k (0-based) at 8 k
    std::vector<std::uint8_t> fixedImage;    // rows x cols, row after row
};

// Builds the map of a size from the definition steps.
PlacementMap BuildPlacementMap(const SymbolSize& size);

// The map of a size of kSymbolSizes, built on its first use.
const PlacementMap& PlacementMapFor(const SymbolSize& size);

// Writes every module of the size's symbol from the final stream: the
// regions' frames, and each mapping cell's bit of its codeword placed past
// the frames. The codewords are read once each and their bits written where
// the map says.
void FillSymbolFromMap(const PlacementMap& map, const std::uint8_t* codewords, SymbolMatrix& symbol);

}  // namespace ecc200

// The placement map of a symbol size: for every module of the symbol, where
// its value comes from. It folds three steps of ISO/IEC 16022 that depend
// only on the size (finder patterns and clock tracks, 5.8.1; symbol
// character placement, 5.8 and Annex F; the split of the mapping matrix
// across the data regions) into one table, so that building a symbol is one
// pass over its modules reading the final codeword stream.
//
// DrawFinderPatterns, PlaceModules and CopyMappingToSymbol stay the
// definition: BuildPlacementMap runs them, and FillSymbolFromMap gives the
// same symbol matrix they give.
//
// Each size's map is built once, on first use, and is immutable afterwards:
// safe to read from any thread. FillSymbolFromMap is pure.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/codeword_stream.h"
#include "encoder/module_matrix.h"
#include "encoder/symbol_table.h"

namespace ecc200 {

// One module's value is (stream codeword `codeword` & `mask`) | `fixed`: a
// codeword bit has its weight as mask and fixed 0; a finder or clock module,
// a module of the fixed 2 x 2 corner or an unassigned one has mask 0 and its
// value as fixed.
struct ModuleSource {
    std::uint16_t codeword;  // 0-based index into the final stream
    std::uint8_t mask;
    std::uint8_t fixed;
};

struct PlacementMap {
    int side = 0;
    std::vector<ModuleSource> modules;  // side x side, row by row, (row, col) at row * side + col
    const ModuleSource& at(int row, int col) const { return modules[static_cast<std::size_t>(row * side + col)]; }
};

// Builds the map of a size from the definition steps.
PlacementMap BuildPlacementMap(const SymbolAttributes& attributes);

// The map of one of the 24 square sizes, built on its first use.
const PlacementMap& PlacementMapFor(const SymbolAttributes& attributes);

// Writes every module of the size's symbol from the final stream: the
// result of DrawFinderPatterns, PlaceModules and CopyMappingToSymbol.
void FillSymbolFromMap(const PlacementMap& map, const CodewordStream& stream, SymbolMatrix& symbol);

}  // namespace ecc200

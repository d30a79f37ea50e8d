// The frame of a data region, ISO/IEC 16022 5.8.1 and Figure 5: its finder
// pattern (solid left column and bottom row) and clock tracks (alternating
// top row and right column). The placement maps (placement_map.h) hold the
// frames of every size and the split of the mapping matrix across the
// regions' interiors.
//
// Pure: reads its arguments, writes only its output, no globals, no I/O, no
// allocation.
#pragma once

#include "encoder/module_matrix.h"

namespace ecc200 {

// Frames one region whose upper left module is (top, left).
void DrawRegionFrame(SymbolMatrix& symbol, int top, int left, int height, int width);

}  // namespace ecc200

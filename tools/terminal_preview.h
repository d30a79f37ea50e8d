// Draws a symbol matrix in a terminal with Unicode half blocks, two module
// rows per text line, with a quiet zone around it.
#pragma once

#include <ostream>

#include "encoder/module_matrix.h"

namespace ecc200::tool {

// withColours: wrap every line in ANSI escapes for white on black; without
// them the terminal's own light-on-dark colours are assumed.
void PrintPreview(const SymbolMatrix& symbol, bool withColours, std::ostream& out);

}  // namespace ecc200::tool

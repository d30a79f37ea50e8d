// The symbol as text on standard output: a preview drawn with Unicode half
// blocks (two module rows per text line, inside a quiet zone), the module
// matrix as rows of 0 and 1, or codewords in decimal.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include <ecc200.hpp>

namespace ecc200::tool {

// withColours: wrap every line in ANSI escapes for white on black; without
// them the terminal's own light-on-dark colours are assumed.
void PrintPreview(const Symbol& symbol, bool withColours, std::ostream& out);

// One line per module row, '1' for dark.
void PrintMatrix(const Symbol& symbol, std::ostream& out);

// The codewords in decimal, separated by spaces, on one line.
void PrintCodewords(const std::vector<std::uint8_t>& codewords, std::ostream& out);

}  // namespace ecc200::tool

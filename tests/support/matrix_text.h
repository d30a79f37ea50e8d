// Text dumps of encoder matrices for assertions and failure messages.
#pragma once

#include <string>

namespace ecc200 {
class SymbolMatrix;
}

namespace ecc200::test {

// The finished symbol as S lines of S characters, '1' dark and '0' light,
// row 0 first, each line ending in '\n'.
std::string SymbolToText(const SymbolMatrix& symbol);

}  // namespace ecc200::test

// Writes a symbol as a binary greyscale PGM image (Netpbm P5), which both
// zxing-cpp's and libdmtx's readers accept.
#pragma once

#include <string>

namespace ecc200 {
class SymbolMatrix;
}

namespace ecc200::test {

// Every module becomes a square of pixelsPerModule pixels, black when dark,
// white when light, inside a white quiet zone of quietModules modules.
void WritePgm(const std::string& path, const SymbolMatrix& symbol, int pixelsPerModule, int quietModules);

}  // namespace ecc200::test

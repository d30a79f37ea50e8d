#include "encoder/symbol_assembly.h"

namespace ecc200 {

void DrawRegionFrame(SymbolMatrix& symbol, int top, int left, int height, int width) {
    for (int i = 0; i < height; ++i) {
        symbol.set(top + i, left + width - 1, static_cast<std::int16_t>(i % 2));  // clock track, light at the top
        symbol.set(top + i, left, 1);                                             // solid finder edge
    }
    for (int j = 0; j < width; ++j) {
        symbol.set(top, left + j, static_cast<std::int16_t>(1 - j % 2));  // clock track, dark at the left
        symbol.set(top + height - 1, left + j, 1);                       // solid finder edge
    }
}

}  // namespace ecc200

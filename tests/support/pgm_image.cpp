#include "support/pgm_image.h"

#include <fstream>
#include <stdexcept>

#include "encoder/module_matrix.h"

namespace ecc200::test {

void WritePgm(const std::string& path, const SymbolMatrix& symbol, int pixelsPerModule, int quietModules) {
    const int modules = symbol.side() + 2 * quietModules;
    const int pixels = modules * pixelsPerModule;
    std::string raster;
    raster.reserve(static_cast<std::size_t>(pixels) * static_cast<std::size_t>(pixels));
    for (int y = 0; y < pixels; ++y) {
        const int row = y / pixelsPerModule - quietModules;
        for (int x = 0; x < pixels; ++x) {
            const int col = x / pixelsPerModule - quietModules;
            const bool inside = row >= 0 && col >= 0 && row < symbol.side() && col < symbol.side();
            raster.push_back(inside && symbol.isDark(row, col) ? '\0' : '\xFF');
        }
    }
    std::ofstream file(path, std::ios::binary);
    file << "P5\n" << pixels << ' ' << pixels << "\n255\n" << raster;
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace ecc200::test

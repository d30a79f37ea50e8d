#include "support/pgm_image.h"

#include <fstream>
#include <stdexcept>

#include "encoder/module_matrix.h"

namespace ecc200::test {

void WritePgm(const std::string& path, const SymbolMatrix& symbol, int pixelsPerModule, int quietModules) {
    // rows x cols modules: squares, rectangles and DMRE alike.
    const int width = (symbol.cols() + 2 * quietModules) * pixelsPerModule;
    const int height = (symbol.rows() + 2 * quietModules) * pixelsPerModule;
    std::string raster;
    raster.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int row = y / pixelsPerModule - quietModules;
        for (int x = 0; x < width; ++x) {
            const int col = x / pixelsPerModule - quietModules;
            const bool inside = row >= 0 && col >= 0 && row < symbol.rows() && col < symbol.cols();
            raster.push_back(inside && symbol.isDark(row, col) ? '\0' : '\xFF');
        }
    }
    std::ofstream file(path, std::ios::binary);
    file << "P5\n" << width << ' ' << height << "\n255\n" << raster;
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace ecc200::test

// zxing-cpp's Data Matrix writer through MultiFormatWriter.
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <stdexcept>
#include <string>

#include "contenders.h"

namespace peers {
namespace {

// Width and height 0 with no quiet zone: one pixel per module.
ZXing::BitMatrix Write(std::string_view message) {
    return ZXing::MultiFormatWriter(ZXing::BarcodeFormat::DataMatrix).setMargin(0).encode(std::string(message), 0, 0);
}

}  // namespace

bool ZxingEncode(std::string_view message, unsigned& checksum) {
    const ZXing::BitMatrix matrix = Write(message);
    if (matrix.width() == 0) return false;
    checksum += matrix.get(0, 0) ? 1u : 0u;
    return true;
}

ModuleGrid ZxingMatrix(std::string_view message) {
    ZXing::BitMatrix matrix;
    try {
        matrix = Write(message);
    } catch (const std::exception&) {
        return ModuleGrid{};  // the writer throws when it cannot encode
    }
    if (matrix.width() != matrix.height()) return ModuleGrid{};
    ModuleGrid grid(matrix.width());
    for (int row = 0; row < grid.side; ++row) {
        for (int col = 0; col < grid.side; ++col) grid.set(row, col, matrix.get(col, row));
    }
    return grid;
}

}  // namespace peers

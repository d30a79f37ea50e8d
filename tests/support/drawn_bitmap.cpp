#include "support/drawn_bitmap.h"

#include <memory>

#include "output/bmp_file.h"
#include "platform/drawing_surface.h"

namespace ecc200::test {

DrawnBitmap DrawBitmap(const SymbolMatrix& symbol, const PictureStyle& style) {
    DrawnBitmap drawn;
    const MonochromeGeometry geometry = *MonochromeGeometryOf(style.width, style.height);
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(style.width, style.height);
    DrawSymbol(symbol, style, DrawingTarget{*bitmap, 0, 0}, drawn.modulePixels);
    const std::unique_ptr<platform::FixedBlock> block = CaptureMonochromeDib(*bitmap, style.width, style.height, geometry);
    drawn.block.assign(block->data(), block->data() + block->size());
    drawn.rowsOffset = kInfoHeaderSize + kColourTableSize;
    drawn.rowsSize = geometry.imageSize;
    return drawn;
}

std::string BmpFileOf(const DrawnBitmap& bitmap, std::int32_t width, std::int32_t height) {
    const std::vector<std::uint8_t> header = BitmapFileHeader(*MonochromeGeometryOf(width, height));
    std::string file(header.begin(), header.end());
    return file.append(bitmap.block.begin(), bitmap.block.end());
}

}  // namespace ecc200::test

#include "support/drawn_bitmap.h"

#include <memory>

#include "output/bmp_file.h"
#include "platform/drawing_surface.h"
#include "render/draw_symbol.h"
#include "support/nine_settings.h"

namespace ecc200::test {

DrawnBitmap DrawBitmapOf(const PictureGeometry& picture) {
    DrawnBitmap drawn;
    drawn.modulePixels = picture.modulePixels;
    const MonochromeGeometry geometry = *MonochromeGeometryOf(picture.width, picture.height);
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(picture.width, picture.height);
    DrawSymbol(picture, *bitmap);
    const std::unique_ptr<platform::FixedBlock> dib = CaptureMonochromeDib(*bitmap, picture.width, picture.height, geometry);
    drawn.file = BitmapFileHeader(geometry);
    drawn.file.insert(drawn.file.end(), dib->data(), dib->data() + dib->size());
    return drawn;
}

DrawnBitmap DrawBitmap(const SymbolMatrix& symbol, const DMSettings& style) {
    std::int32_t modulePixels = 0;
    return DrawBitmapOf(NinesGeometry(style, symbol, modulePixels));
}

}  // namespace ecc200::test

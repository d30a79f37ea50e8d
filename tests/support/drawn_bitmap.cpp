#include "support/drawn_bitmap.h"

#include <memory>

#include "api/job_outputs.h"
#include "output/bmp_file.h"
#include "platform/drawing_surface.h"

namespace ecc200::test {

DrawnBitmap DrawBitmapInPixels(const SymbolMatrix& symbol, const DrawingStyle& style) {
    DrawnBitmap drawn;
    drawn.modulePixels = style.modulePixels;
    const MonochromeGeometry geometry = *MonochromeGeometryOf(style.width, style.height);
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(style.width, style.height);
    DrawSymbol(symbol, style, DrawingTarget{*bitmap, 0, 0});
    const std::unique_ptr<platform::FixedBlock> dib = CaptureMonochromeDib(*bitmap, style.width, style.height, geometry);
    drawn.file = BitmapFileHeader(geometry);
    drawn.file.insert(drawn.file.end(), dib->data(), dib->data() + dib->size());
    return drawn;
}

DrawnBitmap DrawBitmap(const SymbolMatrix& symbol, const PictureStyle& style) {
    std::int32_t modulePixels = 0;
    return DrawBitmapInPixels(symbol, ResolveJobStyle(style, symbol, modulePixels));
}

}  // namespace ecc200::test

#include "support/drawn_bitmap.h"

#include <memory>

#include "output/bmp_file.h"
#include "platform/drawing_surface.h"
#include "render/draw_symbol.h"
#include "support/nine_settings.h"

namespace ecc200::test {

DrawnBitmap DrawBitmap(const SymbolMatrix& symbol, const DMSettings& style) {
    DrawnBitmap drawn;
    const MonochromeGeometry geometry = *MonochromeGeometryOf(style.width, style.height);
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(style.width, style.height);
    DrawSymbol(NinesGeometry(style, symbol, drawn.modulePixels), *bitmap);
    const std::unique_ptr<platform::FixedBlock> dib = CaptureMonochromeDib(*bitmap, style.width, style.height, geometry);
    drawn.file = BitmapFileHeader(geometry);
    drawn.file.insert(drawn.file.end(), dib->data(), dib->data() + dib->size());
    return drawn;
}

}  // namespace ecc200::test

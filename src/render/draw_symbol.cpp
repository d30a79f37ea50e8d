#include "render/draw_symbol.h"

#include <array>

#include "encoder/module_matrix.h"
#include "platform/drawing_surface.h"
#include "render/picture_geometry.h"

namespace ecc200 {

void DrawSymbol(const PictureGeometry& picture, platform::DeviceContext& dc) {
    const platform::Brush barBrush = dc.CreateSolidBrush(picture.barColour);
    const platform::Brush backgroundBrush = dc.CreateSolidBrush(picture.backgroundColour);
    dc.FillRect(picture.Background(), backgroundBrush);
    // One fill per dark module; light modules are the background already.
    std::array<PixelRect, kMaxSymbolSide> rects;
    for (std::int32_t k = 0; k < picture.SymbolRows(); ++k) {
        const std::size_t count = picture.DarkModuleRects(k, rects.data());
        dc.FillRects(rects.data(), count, barBrush);
    }
    // The frame goes over any module that reaches the picture's edge.
    picture.ForEachFrameLine([&dc](const FrameLine& line) {
        dc.MoveToEx(line.x1, line.y1);
        dc.LineTo(line.x2, line.y2);
    });
    dc.DeleteBrush(barBrush);
    dc.DeleteBrush(backgroundBrush);
}

}  // namespace ecc200

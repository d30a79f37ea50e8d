// Paints a picture's geometry onto a device context, as GDI draws it:
// background, one filled rectangle per dark module handed over a symbol row
// at a time, and the frame's lines with the context's default pen. The BMP,
// WMF and EMF that GDI would make are recordings of exactly these calls.
#pragma once

namespace ecc200 {

struct PictureGeometry;
namespace platform {
class DeviceContext;
}

// Paints `picture` at its origin. modulePixels * (the symbol's larger side
// + 1) plus the picture's larger side must stay within 32 bits (see
// ModulePixels).
void DrawSymbol(const PictureGeometry& picture, platform::DeviceContext& dc);

}  // namespace ecc200

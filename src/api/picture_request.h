// An ecc200_picture turned into the request the driver draws: every field
// checked, the module size resolved to whole pixels (the screen's
// resolution when dpi is 0, as the nine DM functions use), the fitted size
// worked out, and a picture that would cut the symbol refused unless
// cropping is allowed. The screen is read here, at the edge, and nowhere
// below.
#pragma once

#include "api/diagnosis.h"
#include "driver/render_symbol.h"
#include "ecc200.h"

namespace ecc200 {

// The geometry of the picture as given (already read to its struct_size)
// for `symbol` in `format`. An SVG asked in centimetres gets modules of
// exactly that size (PictureGeometry::exactModulePixels), its fitted picture
// rounded up to whole pixels; every other format whole pixels.
Outcome ResolvePicture(const ecc200_picture& picture, PictureFormat format, const SymbolMatrix& symbol,
                       PictureGeometry& geometry, Diagnosis& diagnosis);

// COLORREF (0x00BBGGRR) of a colour given as 0xRRGGBB.
std::uint32_t ColourRefOf(std::uint32_t rgb);

}  // namespace ecc200

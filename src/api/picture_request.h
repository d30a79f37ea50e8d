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

#include <cstddef>
#include <string_view>

namespace ecc200 {

// The geometry of the picture as given (already read to its struct_size)
// for `symbol` in `format`. SVG, PDF and EPS asked in centimetres get
// modules of exactly that size (PictureGeometry::exactModulePixels) and a
// fitted picture of exactly the symbol and its quiet zone (exactWidth,
// exactHeight; width and height round it up); every other format whole
// pixels. With picture.hri, the human-readable line under the symbol, in
// those three formats only, and only when it is not empty and `unprintable`
// (the position of its first byte that is not printable ASCII) is its
// length.
struct HumanReadableLine {
    std::string_view text;
    std::size_t unprintable = 0;
};
Outcome ResolvePicture(const ecc200_picture& picture, PictureFormat format, const SymbolMatrix& symbol,
                       const HumanReadableLine& line, PictureGeometry& geometry, Diagnosis& diagnosis);

// COLORREF (0x00BBGGRR) of a colour given as 0xRRGGBB.
std::uint32_t ColourRefOf(std::uint32_t rgb);

}  // namespace ecc200

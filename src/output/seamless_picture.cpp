#include "output/seamless_picture.h"

#include <algorithm>

namespace ecc200 {

bool IsDrawable(const SeamlessPicture& picture) {
    const SymbolPlacement& p = picture.placement;
    const bool knownBorder = picture.border == BorderStyle::None || picture.border == BorderStyle::Dashed ||
                             picture.border == BorderStyle::Solid;
    return p.width >= 1 && p.height >= 1 && p.modulePixels >= 0 && p.orientation >= 0 && p.orientation <= 3 &&
           knownBorder && picture.dotsPerInch > 0;
}

std::int32_t UnitsPerPixel(const SymbolPlacement& placement, std::int64_t largestCoordinate) {
    const std::int64_t side = std::max(placement.width, placement.height);
    return kQuarterPixelUnits * side + kQuarterPixelUnits / 4 <= largestCoordinate ? kQuarterPixelUnits
                                                                                   : kWholePixelUnits;
}

PictureRect InUnits(const PictureRect& pixels, std::int32_t units) {
    return {pixels.left * units, pixels.top * units, pixels.right * units, pixels.bottom * units};
}

}  // namespace ecc200

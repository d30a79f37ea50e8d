#include "output/seamless_picture.h"

namespace ecc200 {

bool IsDrawable(const SeamlessPicture& picture) {
    const SymbolPlacement& p = picture.placement;
    const bool knownBorder = picture.border == BorderStyle::None || picture.border == BorderStyle::Dashed ||
                             picture.border == BorderStyle::Solid;
    return p.width >= 1 && p.height >= 1 && p.modulePixels >= 0 && p.orientation >= 0 && p.orientation <= 3 &&
           knownBorder && picture.dotsPerInch > 0;
}

}  // namespace ecc200

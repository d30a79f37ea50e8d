// SVG documents of a symbol: the background, one path of the bar colour's
// horizontal runs of dark modules, and the frame's one-pixel pen lines, in
// the picture's own pixel coordinates (the viewBox), sized in millimetres
// from the resolution so that the picture keeps its physical size at any
// scale.
#pragma once

#include <string>

#include "common/failure.h"

namespace ecc200 {

struct PictureGeometry;

// Appends the SVG document of `picture` to `out`, its modules of
// exactModulePixels: a whole number draws what DrawSymbol draws on the
// bitmap, pixel for pixel (centred by CentreSymbol's rounding); any other
// value is a module of exactly that size, centred exactly.
// PictureTooLarge, appending nothing, for a width, height or resolution
// below 1, an orientation outside 0 to 3, or a module size that is
// negative, not a number, or past ModulePixels' clamp (the symbol's extent
// plus the picture's within 32 bits); OutOfMemory, appending nothing, when
// `out` cannot grow.
Outcome AppendSvgFile(std::string& out, const PictureGeometry& picture);

}  // namespace ecc200

// SVG pictures, until the library writes them: the library's one-bit bitmap
// of the picture as a light rectangle and one path of the other colour's
// pixel runs (runs repeated on consecutive rows joined into one rectangle),
// in the picture's own pixel coordinates. Width and height are in
// millimetres from the resolution, so the picture keeps its physical size at
// any scale.
#pragma once

#include <string>

#include <ecc200.hpp>

namespace ecc200::tool {

// The SVG document at `dpi`; throws ecc200::Error as ecc200::render does.
std::string SvgPicture(const Symbol& symbol, const Picture& picture, int dpi);

}  // namespace ecc200::tool

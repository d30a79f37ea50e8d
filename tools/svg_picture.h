// SVG pictures: what DrawSymbol draws, recorded rather than rasterised and
// written in the picture's own pixel coordinates: the background, one path
// of the bar colour's merged horizontal module runs, and the frame. Width
// and height are in millimetres from the screen's resolution, so the
// picture keeps its physical size at any scale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ecc200 {
struct SymbolJob;
}

namespace ecc200::tool {

// The SVG document, or nothing with errno set to EINVAL for a message too
// long for any symbol (or an empty picture).
std::optional<std::string> SvgPicture(const SymbolJob& job, std::int32_t& modulePixels);

}  // namespace ecc200::tool

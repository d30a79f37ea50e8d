// One complete symbol generation: encode the settings' message, build the
// symbol and draw it onto a drawing target.
#pragma once

#include <cstdint>

#include "render/draw_symbol.h"

namespace ecc200 {

struct DMSettings;

// Returns false, having drawn nothing, when the message needs more than
// 1558 codewords. `modulePixels` is the module size in pixels that outlives
// each call (reused when the module size setting is exactly 0).
bool RenderSymbol(const DMSettings& settings, const DrawingTarget& target, std::int32_t& modulePixels);

}  // namespace ecc200

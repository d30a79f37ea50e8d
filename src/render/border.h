// The two frames along the picture's edges, drawn with the context's current
// pen (the default pen: solid black, one pixel).
#pragma once

#include <cstdint>

namespace ecc200 {

namespace platform {
class DeviceContext;
}

// The solid frame: four lines covering the picture's outermost rows and
// columns. The dashed frame: dashes of 4 pixels and gaps of 4 along the edges.
void DrawBorder(platform::DeviceContext& dc, std::int32_t x0, std::int32_t y0, std::int32_t width, std::int32_t height,
                bool solid);

}  // namespace ecc200

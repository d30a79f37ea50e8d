// The two frames along the picture's edges, drawn with the context's current
// pen (the default pen: solid black, one pixel).
#pragma once

#include <cstdint>

namespace ecc200 {

namespace platform {
class DeviceContext;
}

// Four lines covering the picture's outermost rows and columns.
void DrawSolidBorder(platform::DeviceContext& dc, std::int32_t x0, std::int32_t y0, std::int32_t width,
                     std::int32_t height);

// Dashes of 4 pixels and gaps of 4 along the edges.
void DrawDashedBorder(platform::DeviceContext& dc, std::int32_t x0, std::int32_t y0, std::int32_t width,
                      std::int32_t height);

}  // namespace ecc200

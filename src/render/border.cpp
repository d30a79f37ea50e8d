#include "render/border.h"

#include "platform/drawing_surface.h"

namespace ecc200 {
namespace {

void Line(platform::DeviceContext& dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    dc.MoveToEx(x1, y1);
    dc.LineTo(x2, y2);
}

struct Dash {
    std::int32_t start;
    std::int32_t end;  // excluded, as LineTo excludes its end point
};

// Step i of an edge that starts at `first` and has `length` pixels. A dash
// starting fewer than 8 pixels before the edge's last pixel runs up to it.
Dash DashAt(std::int32_t first, std::int32_t length, std::int32_t i) {
    // In 64 bits: start + 8 may pass the 32-bit range on the widest pictures.
    const std::int64_t start = std::int64_t{first} + 4 * std::int64_t{i};
    const std::int64_t last = std::int64_t{first} + length - 1;
    return {static_cast<std::int32_t>(start), static_cast<std::int32_t>(start + 8 > last ? last : start + 4)};
}

void DrawSolidBorder(platform::DeviceContext& dc, std::int32_t x0, std::int32_t y0, std::int32_t width,
                     std::int32_t height) {
    // Each line stops short of its end point, so the bottom and left edges
    // start one pixel outside the picture to reach its corners.
    Line(dc, x0, y0, x0 + width, y0);
    Line(dc, x0 + width - 1, y0, x0 + width - 1, y0 + height);
    Line(dc, x0 + width, y0 + height - 1, x0, y0 + height - 1);
    Line(dc, x0, y0 + height, x0, y0);
}

void DrawDashedBorder(platform::DeviceContext& dc, std::int32_t x0, std::int32_t y0, std::int32_t width,
                      std::int32_t height) {
    // One switch for both passes: it flips after every step, drawn or not,
    // and carries over from the horizontal pass to the vertical one. The
    // upper dashes lie on the fixed row y = 1, one below the picture's top.
    bool on = true;
    for (std::int32_t i = 0; i < width / 4; ++i) {
        const Dash dash = DashAt(x0, width, i);
        if (on) {
            Line(dc, dash.start, 1, dash.end, 1);
            Line(dc, dash.start, y0 + height - 1, dash.end, y0 + height - 1);
        }
        on = !on;
    }
    for (std::int32_t j = 0; j < height / 4; ++j) {
        const Dash dash = DashAt(y0, height, j);
        if (on) {
            Line(dc, x0, dash.start, x0, dash.end);
            Line(dc, x0 + width - 1, dash.start, x0 + width - 1, dash.end);
        }
        on = !on;
    }
}

}  // namespace

void DrawBorder(platform::DeviceContext& dc, std::int32_t x0, std::int32_t y0, std::int32_t width, std::int32_t height,
                bool solid) {
    if (solid) {
        DrawSolidBorder(dc, x0, y0, width, height);
    } else {
        DrawDashedBorder(dc, x0, y0, width, height);
    }
}

}  // namespace ecc200

#include "output/seamless_frame.h"

#include <cassert>

#include "output/seamless_picture.h"
#include "render/border.h"

namespace ecc200 {

void FrameLineSink::MoveToEx(std::int32_t x, std::int32_t y) {
    x_ = x;
    y_ = y;
}

void FrameLineSink::LineTo(std::int32_t x, std::int32_t y) {
    Line(x_, y_, x, y);
    x_ = x;
    y_ = y;
}

platform::Brush FrameLineSink::CreateSolidBrush(platform::ColourRef) {
    assert(!"DrawBorder creates no brush");
    return {};
}
void FrameLineSink::DeleteBrush(platform::Brush) { assert(!"DrawBorder deletes no brush"); }
void FrameLineSink::FillRect(const platform::PixelRect&, platform::Brush) { assert(!"DrawBorder fills nothing"); }
void FrameLineSink::SetMapModeText() { assert(!"DrawBorder maps nothing"); }
void FrameLineSink::SetWindowExtEx(std::int32_t, std::int32_t) { assert(!"DrawBorder maps nothing"); }
void FrameLineSink::SetWindowOrgEx(std::int32_t, std::int32_t) { assert(!"DrawBorder maps nothing"); }

void DrawFrameLines(FrameLineSink& sink, std::int32_t width, std::int32_t height, BorderStyle border) {
    if (border == BorderStyle::None) return;
    DrawBorder(sink, 0, 0, width, height, border == BorderStyle::Solid);
}

FrameLine FrameLineInUnits(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t units) {
    assert(x1 == x2 || y1 == y2);
    const std::int32_t quarter = units / kQuarterPixelUnits;
    const std::int32_t dx = x1 == x2 ? quarter : 0;  // a vertical line moves right
    const std::int32_t dy = x1 == x2 ? 0 : quarter;  // a horizontal one down
    return {x1 * units + dx, y1 * units + dy, x2 * units + dx, y2 * units + dy};
}

// The solid frame is four lines. The dashed one steps 4 pixels at a time,
// width / 4 steps along the top and bottom, then height / 4 down the sides,
// one switch alternating over all of them from "on": every step that is on
// draws two lines.
std::uint64_t FrameLineCount(std::int32_t width, std::int32_t height, BorderStyle border) {
    switch (border) {
        case BorderStyle::Solid: return 4;
        case BorderStyle::Dashed: {
            const std::uint64_t steps = std::uint64_t(width / 4) + std::uint64_t(height / 4);
            return 2 * ((steps + 1) / 2);
        }
        default: return 0;
    }
}

}  // namespace ecc200

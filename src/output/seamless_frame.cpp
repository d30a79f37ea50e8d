#include "output/seamless_frame.h"

#include <algorithm>
#include <cassert>

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

namespace {

// Collects each line as its rectangle of pixels.
class FrameRectSink final : public FrameLineSink {
public:
    FrameRectSink(std::int32_t width, std::int32_t height) : width_(width), height_(height) {}

    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
        // DrawBorder's lines are horizontal or vertical; LineTo leaves out
        // the end, so a line drawn leftward or upward starts one pixel later.
        PictureRect r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
        if (x2 < x1) ++r.left, ++r.right;
        if (y2 < y1) ++r.top, ++r.bottom;
        if (y1 == y2) ++r.bottom;  // horizontal: one row
        if (x1 == x2) ++r.right;   // vertical: one column
        r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_), std::min(r.bottom, height_)};
        if (r.left < r.right && r.top < r.bottom) rects.push_back(r);
    }

    std::vector<PictureRect> rects;

private:
    std::int32_t width_;
    std::int32_t height_;
};

}  // namespace

std::vector<PictureRect> FrameRects(std::int32_t width, std::int32_t height, BorderStyle border) {
    FrameRectSink sink(width, height);
    DrawFrameLines(sink, width, height, border);
    return sink.rects;
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

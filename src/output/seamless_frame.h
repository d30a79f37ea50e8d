// The frame of a seamless metafile: the very lines DrawBorder draws, handed
// to a writer one at a time, so that the frame's pixels cannot drift from
// the default drawing's.
#pragma once

#include <cstdint>

#include "platform/drawing_surface.h"
#include "render/draw_symbol.h"

namespace ecc200 {

// A device context that takes nothing but DrawBorder's MoveToEx / LineTo
// pairs and passes each on as one line; the end point is excluded, as
// LineTo excludes it.
class FrameLineSink : public platform::DeviceContext {
public:
    virtual void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;

    void MoveToEx(std::int32_t x, std::int32_t y) final;
    void LineTo(std::int32_t x, std::int32_t y) final;
    // DrawBorder neither fills nor maps: these are never called.
    platform::Brush CreateSolidBrush(platform::ColourRef colour) final;
    void DeleteBrush(platform::Brush brush) final;
    void FillRect(const platform::PixelRect& rect, platform::Brush brush) final;
    void SetMapModeText() final;
    void SetWindowExtEx(std::int32_t width, std::int32_t height) final;
    void SetWindowOrgEx(std::int32_t x, std::int32_t y) final;

private:
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

// The lines of the frame of a width x height picture, none for BorderStyle::None.
void DrawFrameLines(FrameLineSink& sink, std::int32_t width, std::int32_t height, BorderStyle border);

// A frame line in logical units, `units` per pixel (seamless_picture.h).
struct FrameLine {
    std::int32_t x1;
    std::int32_t y1;
    std::int32_t x2;
    std::int32_t y2;
};

// DrawBorder's lines are horizontal or vertical. Along the line its ends
// stay on pixel edges, so that a vector client's butt-ended line spans
// exactly the pixels LineTo paints; across it the line moves a quarter pixel
// (none in whole-pixel units) into its row or column of pixels.
FrameLine FrameLineInUnits(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t units);

// How many lines DrawFrameLines gives, worked out without drawing, so that
// a writer can refuse a frame too long for its format before it starts.
std::uint64_t FrameLineCount(std::int32_t width, std::int32_t height, BorderStyle border);

}  // namespace ecc200

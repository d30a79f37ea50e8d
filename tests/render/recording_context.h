// A device context for tests that records every call and can rasterise the
// fills and lines by the GDI rules (rectangles without their right and
// bottom edges, lines without their end point, the pen black).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/drawing_surface.h"

namespace ecc200::test {

class RecordingContext : public platform::DeviceContext {
public:
    struct Fill {
        platform::PixelRect rect;
        platform::ColourRef colour;
    };
    struct Line {
        std::int32_t x1, y1, x2, y2;
    };

    platform::Brush CreateSolidBrush(platform::ColourRef colour) override;
    void DeleteBrush(platform::Brush brush) override;
    void FillRect(const platform::PixelRect& rect, platform::Brush brush) override;
    void MoveToEx(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void SetMapModeText() override { calls.push_back("SetMapMode"); }
    void SetWindowExtEx(std::int32_t, std::int32_t) override { calls.push_back("SetWindowExt"); }
    void SetWindowOrgEx(std::int32_t, std::int32_t) override { calls.push_back("SetWindowOrg"); }

    // Pixels of a width x height picture: the colour last painted on each,
    // kPen where a line painted it last, or kUnpainted.
    static constexpr std::int64_t kUnpainted = -1;
    static constexpr std::int64_t kPen = 0x1000000;  // a value no COLORREF takes
    std::vector<std::int64_t> Rasterise(std::int32_t width, std::int32_t height) const;
    // The same as text: '#' for the bar colour, '.' for the background,
    // 'L' for the pen, ' ' for unpainted.
    std::string RasteriseText(std::int32_t width, std::int32_t height, platform::ColourRef bar) const;

    std::vector<std::string> calls;
    std::vector<Fill> fills;
    std::vector<Line> lines;
    std::vector<platform::ColourRef> brushes;  // by handle - 1
    int liveBrushes = 0;

private:
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

}  // namespace ecc200::test

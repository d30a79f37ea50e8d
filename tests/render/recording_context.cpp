#include "render/recording_context.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace ecc200::test {

platform::Brush RecordingContext::CreateSolidBrush(platform::ColourRef colour) {
    calls.push_back("CreateSolidBrush");
    brushes.push_back(colour);
    ++liveBrushes;
    return platform::Brush{brushes.size()};
}

void RecordingContext::DeleteBrush(platform::Brush) {
    calls.push_back("DeleteBrush");
    --liveBrushes;
}

void RecordingContext::FillRect(const platform::PixelRect& rect, platform::Brush brush) {
    calls.push_back("FillRect");
    fills.push_back({rect, brushes.at(brush.value - 1)});
}

void RecordingContext::MoveToEx(std::int32_t x, std::int32_t y) {
    calls.push_back("MoveTo");
    x_ = x;
    y_ = y;
}

void RecordingContext::LineTo(std::int32_t x, std::int32_t y) {
    calls.push_back("LineTo");
    lines.push_back({x_, y_, x, y});
    x_ = x;
    y_ = y;
}

std::vector<std::int64_t> RecordingContext::Rasterise(std::int32_t width, std::int32_t height) const {
    std::vector<std::int64_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kUnpainted);
    const auto paint = [&](std::int64_t x, std::int64_t y, std::int64_t value) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<std::size_t>(y * width + x)] = value;
    };
    for (const Fill& fill : fills) {
        for (std::int64_t y = std::max(fill.rect.top, 0); y < std::min(fill.rect.bottom, height); ++y) {
            for (std::int64_t x = std::max(fill.rect.left, 0); x < std::min(fill.rect.right, width); ++x) {
                paint(x, y, fill.colour);
            }
        }
    }
    // The frame uses horizontal and vertical lines only.
    for (const Line& line : lines) {
        const int dx = line.x2 > line.x1 ? 1 : (line.x2 < line.x1 ? -1 : 0);
        const int dy = line.y2 > line.y1 ? 1 : (line.y2 < line.y1 ? -1 : 0);
        if (dx != 0 && dy != 0) throw std::logic_error("diagonal line");
        for (std::int64_t x = line.x1, y = line.y1; x != line.x2 || y != line.y2; x += dx, y += dy) paint(x, y, kPen);
    }
    return pixels;
}

std::string RecordingContext::RasteriseText(std::int32_t width, std::int32_t height, platform::ColourRef bar) const {
    const std::vector<std::int64_t> pixels = Rasterise(width, height);
    std::string text;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::int64_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            text.push_back(p == kUnpainted ? ' ' : p == kPen ? 'L' : p == bar ? '#' : '.');
        }
        text.push_back('\n');
    }
    return text;
}

}  // namespace ecc200::test

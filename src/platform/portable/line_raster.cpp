#include "platform/portable/line_raster.h"

#include <algorithm>

#include "platform/portable/pixel_run.h"

namespace ecc200::platform {
namespace {

// Minor-axis offset of step i of a Bresenham line with the given major and
// minor lengths (minor < major): the stepping loop's error term in closed
// form, ceil((2 i minor + bias - major) / (2 major)). A bias of 1 moves a
// tie one step along the minor axis, 0 keeps it. With i < major < 2^32
// the product i x minor fits in 64 bits; the halves are compared through
// the remainder so that nothing overflows.
std::uint64_t MinorOffset(std::uint64_t i, std::uint64_t major, std::uint64_t minor, std::uint64_t bias) {
    const std::uint64_t product = i * minor;
    const std::uint64_t quotient = product / major;
    const std::uint64_t remainder = product % major;
    return quotient + (2 * remainder + bias > major ? 1 : 0);
}

// Steps i of [0, length) at which start + direction x i lies in [0, limit).
PixelRun StepsInside(std::int64_t start, int direction, std::uint64_t length, std::int64_t limit) {
    const std::int64_t count = static_cast<std::int64_t>(length);
    if (direction > 0) return {std::max<std::int64_t>(0, -start), std::min<std::int64_t>(count, limit - start)};
    return {std::max<std::int64_t>(0, start - limit + 1), std::min<std::int64_t>(count, start + 1)};
}

void RasterizeDiagonal(LinePoint from, LinePoint to, std::int32_t width, std::int32_t height, const RowSpanSink& sink) {
    const std::int64_t dx = static_cast<std::int64_t>(to.x) - from.x;
    const std::int64_t dy = static_cast<std::int64_t>(to.y) - from.y;
    const int stepX = dx > 0 ? 1 : -1;
    const int stepY = dy > 0 ? 1 : -1;
    const std::uint64_t lengthX = static_cast<std::uint64_t>(dx > 0 ? dx : -dx);
    const std::uint64_t lengthY = static_cast<std::uint64_t>(dy > 0 ? dy : -dy);
    // An exact diagonal counts as steep; it has no ties either way.
    const bool xMajor = lengthX > lengthY;
    // Ties go to the smaller minor coordinate: a step when the minor axis
    // runs negative, none when it runs positive.
    const std::uint64_t bias = (xMajor ? stepY : stepX) < 0 ? 1 : 0;

    const std::uint64_t major = xMajor ? lengthX : lengthY;
    const std::uint64_t minor = xMajor ? lengthY : lengthX;
    const PixelRun steps = xMajor ? StepsInside(from.x, stepX, major, width) : StepsInside(from.y, stepY, major, height);
    for (std::int64_t i = steps.begin; i < steps.end; ++i) {
        const std::int64_t n = static_cast<std::int64_t>(MinorOffset(static_cast<std::uint64_t>(i), major, minor, bias));
        const std::int64_t x = from.x + stepX * (xMajor ? i : n);
        const std::int64_t y = from.y + stepY * (xMajor ? n : i);
        if (x < 0 || x >= width || y < 0 || y >= height) continue;
        sink(static_cast<std::int32_t>(x), static_cast<std::int32_t>(x + 1), static_cast<std::int32_t>(y));
    }
}

}  // namespace

void RasterizeLine(LinePoint from, LinePoint to, std::int32_t width, std::int32_t height, const RowSpanSink& sink) {
    if (from.y == to.y) {
        if (from.y < 0 || from.y >= height) return;
        const PixelRun run = ClipRun(PixelRunBetween(from.x, to.x), width);
        if (run.begin < run.end) sink(static_cast<std::int32_t>(run.begin), static_cast<std::int32_t>(run.end), from.y);
        return;
    }
    if (from.x == to.x) {
        if (from.x < 0 || from.x >= width) return;
        const PixelRun run = ClipRun(PixelRunBetween(from.y, to.y), height);
        for (std::int64_t y = run.begin; y < run.end; ++y) sink(from.x, from.x + 1, static_cast<std::int32_t>(y));
        return;
    }
    RasterizeDiagonal(from, to, width, height, sink);
}

}  // namespace ecc200::platform

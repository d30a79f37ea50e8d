#include "platform/portable/line_raster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace ecc200::platform {
namespace {

using Pixel = std::pair<std::int64_t, std::int64_t>;  // (x, y)
using PixelSet = std::set<Pixel>;

PixelSet Rasterize(LinePoint from, LinePoint to, std::int32_t width, std::int32_t height) {
    PixelSet pixels;
    RasterizeLine(from, to, width, height, [&](std::int32_t xBegin, std::int32_t xEnd, std::int32_t y) {
        EXPECT_LT(xBegin, xEnd);
        for (std::int32_t x = xBegin; x < xEnd; ++x) EXPECT_TRUE(pixels.insert({x, y}).second) << "pixel sent twice";
    });
    return pixels;
}

std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

// The rule written out independently: from the start (included) to the end
// (excluded) along the major axis, the minor coordinate nearest the ideal
// line, a tie going to the smaller coordinate: ceil(ideal - 1/2).
PixelSet Reference(LinePoint a, LinePoint b, std::int32_t width, std::int32_t height) {
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const bool xMajor = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
    const std::int64_t length = xMajor ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
    PixelSet pixels;
    for (std::int64_t i = 0; i < length; ++i) {
        std::int64_t x = 0;
        std::int64_t y = 0;
        if (xMajor) {
            x = a.x + (dx > 0 ? i : -i);
            y = CeilDiv(2 * a.y * dx + 2 * (x - a.x) * dy - dx, 2 * dx);  // ideal y = a.y + (x - a.x) dy / dx
        } else {
            y = a.y + (dy > 0 ? i : -i);
            x = CeilDiv(2 * a.x * dy + 2 * (y - a.y) * dx - dy, 2 * dy);
        }
        if (x >= 0 && x < width && y >= 0 && y < height) pixels.insert({x, y});
    }
    return pixels;
}

TEST(LineRasterTest, HorizontalAndVerticalKeepTheStartAndDropTheEnd) {
    EXPECT_EQ(Rasterize({2, 1}, {6, 1}, 10, 10), (PixelSet{{2, 1}, {3, 1}, {4, 1}, {5, 1}}));
    EXPECT_EQ(Rasterize({6, 1}, {2, 1}, 10, 10), (PixelSet{{3, 1}, {4, 1}, {5, 1}, {6, 1}}));
    EXPECT_EQ(Rasterize({3, 2}, {3, 5}, 10, 10), (PixelSet{{3, 2}, {3, 3}, {3, 4}}));
    EXPECT_EQ(Rasterize({3, 5}, {3, 2}, 10, 10), (PixelSet{{3, 3}, {3, 4}, {3, 5}}));
    EXPECT_TRUE(Rasterize({4, 4}, {4, 4}, 10, 10).empty());
}

// Flat and steep lines with exact ties; the same pixels both ways round.
TEST(LineRasterTest, TiesTakeTheSmallerMinorCoordinate) {
    const PixelSet flat{{0, 0}, {1, 0}, {2, 1}, {3, 1}};
    EXPECT_EQ(Rasterize({0, 0}, {4, 2}, 10, 10), flat);
    EXPECT_EQ(Rasterize({4, 2}, {0, 0}, 10, 10), (PixelSet{{1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(Rasterize({0, 2}, {4, 0}, 10, 10), (PixelSet{{0, 2}, {1, 1}, {2, 1}, {3, 0}}));
    EXPECT_EQ(Rasterize({0, 0}, {2, 4}, 10, 10), (PixelSet{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(Rasterize({3, 0}, {0, 3}, 10, 10), (PixelSet{{3, 0}, {2, 1}, {1, 2}}));
}

// Every line from the centre of a 41 x 41 surface to every point on it,
// in all eight octants and on their borders.
TEST(LineRasterTest, EveryDirectionMatchesTheNearestPixelRule) {
    const LinePoint centre{20, 20};
    for (std::int32_t x = 0; x < 41; ++x) {
        for (std::int32_t y = 0; y < 41; ++y) {
            const LinePoint end{x, y};
            EXPECT_EQ(Rasterize(centre, end, 41, 41), Reference(centre, end, 41, 41)) << x << ',' << y;
            EXPECT_EQ(Rasterize(end, centre, 41, 41), Reference(end, centre, 41, 41)) << x << ',' << y;
        }
    }
}

// Lines that start and end well outside a small surface give exactly the
// part of the unclipped line that falls on it.
TEST(LineRasterTest, ClippingKeepsExactlyThePixelsInside) {
    const std::vector<std::int32_t> coordinates{-97, -40, -13, -1, 0, 3, 7, 15, 16, 29, 64, 111};
    for (std::int32_t x0 : coordinates) {
        for (std::int32_t y0 : coordinates) {
            for (std::int32_t x1 : coordinates) {
                for (std::int32_t y1 : coordinates) {
                    ASSERT_EQ(Rasterize({x0, y0}, {x1, y1}, 16, 9), Reference({x0, y0}, {x1, y1}, 16, 9))
                        << x0 << ',' << y0 << " -> " << x1 << ',' << y1;
                }
            }
        }
    }
}

TEST(LineRasterTest, CoordinatesAtTheEndsOfTheRangeNeitherOverflowNorStep) {
    constexpr std::int32_t kMin = INT32_MIN;
    constexpr std::int32_t kMax = INT32_MAX;
    int calls = 0;
    RasterizeLine({kMin, 3}, {kMax, 3}, 10, 10, [&](std::int32_t b, std::int32_t e, std::int32_t y) {
        ++calls;
        EXPECT_EQ(b, 0);
        EXPECT_EQ(e, 10);
        EXPECT_EQ(y, 3);
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Rasterize({kMax - 1, 4}, {kMin, 4}, 3, 10), (PixelSet{{0, 4}, {1, 4}, {2, 4}}));
    EXPECT_EQ(Rasterize({2, kMax - 1}, {2, kMin}, 3, 2), (PixelSet{{2, 0}, {2, 1}}));
    // Backwards from INT32_MAX the run ends at INT32_MAX + 1, which wraps
    // round to INT32_MIN in GDI: nothing is drawn (measured under Wine).
    EXPECT_TRUE(Rasterize({kMax, 4}, {kMin, 4}, 3, 10).empty());
    EXPECT_TRUE(Rasterize({2, kMax}, {2, kMin}, 3, 2).empty());
    // An exact diagonal through the whole range: (k, k).
    EXPECT_EQ(Rasterize({-2000000000, -2000000000}, {2000000000, 2000000000}, 3, 3), (PixelSet{{0, 0}, {1, 1}, {2, 2}}));
    // Slope 1/2 with ties at every odd x, drawn both ways: y = floor(x / 2).
    const PixelSet half{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    EXPECT_EQ(Rasterize({-2000000000, -1000000000}, {2000000000, 1000000000}, 6, 6), half);
    EXPECT_EQ(Rasterize({2000000000, 1000000000}, {-2000000000, -1000000000}, 6, 6), half);
    EXPECT_TRUE(Rasterize({kMin, kMin}, {kMax, kMin + 5}, 100, 100).empty());
}

}  // namespace
}  // namespace ecc200::platform

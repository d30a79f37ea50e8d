// Module size in pixels and centring.
#include "render/layout.h"

#include <gtest/gtest.h>

#include <limits>

namespace ecc200 {
namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

struct PixelCase {
    std::int32_t dpi;
    float centimetres;
    std::int32_t pixels;
};

TEST(ModulePixels, TruncatesDpiTimesSizeOverInchesInThatOrder) {
    const PixelCase cases[] = {
        {96, 0.2f, 7},            // 7.559
        {120, 0.2f, 9},
        {96, 2.54f, 95},          // the float nearest 2.54 lies below it
        {72, 0.03f, 0},           // below one pixel
        {96, 1.984375f, 75},      // 74 if multiplied as dpi * (cm * 1/2.54)
        {96, 0.026458334f, 1},    // 0 in single precision
        {96, 1.0f, 37},
    };
    for (const PixelCase& c : cases) {
        EXPECT_EQ(ModulePixels(c.dpi, c.centimetres, 0, 10, 500), c.pixels) << c.dpi << " dpi, " << c.centimetres << " cm";
    }
}

TEST(ModulePixels, ExactlyZeroKeepsThePreviousSize) {
    EXPECT_EQ(ModulePixels(96, 0.0f, 13, 10, 500), 13);
    EXPECT_EQ(ModulePixels(96, 0.0f, 0, 10, 500), 0);
    EXPECT_EQ(ModulePixels(96, static_cast<float>(1e-50), 4, 10, 500), 4);  // rounds to 0.0f
    EXPECT_EQ(ModulePixels(96, 1e-30f, 4, 10, 500), 0);                    // tiny but not 0
}

TEST(ModulePixels, ClampsSoThatTheExtentStaysWithin32Bits) {
    for (const float huge : {1e30f, std::numeric_limits<float>::infinity(), 3e7f}) {
        for (const std::int32_t side : {10, 144}) {
            for (const std::int32_t picture : {1, 500, kIntMax}) {
                const std::int64_t p = ModulePixels(96, huge, 0, side, picture);
                EXPECT_GE(p, 0);
                EXPECT_LE(p * (side + 1) + picture, kIntMax) << huge << " cm, side " << side << ", picture " << picture;
            }
        }
    }
    // Ordinary sizes are far from the clamp.
    EXPECT_EQ(ModulePixels(96, 100.0f, 0, 144, 500), 3779);
}

TEST(CentreSymbol, OffsetsRoundTowardZero) {
    const SymbolLayout fits = CentreSymbol(7, 500, 300, 10, 10, 0);
    EXPECT_EQ(fits.horizontalOffset, 215);
    EXPECT_EQ(fits.verticalOffset, 115);
    const SymbolLayout at120 = CentreSymbol(9, 500, 300, 10, 10, 0);
    EXPECT_EQ(at120.horizontalOffset, 205);
    EXPECT_EQ(at120.verticalOffset, 105);
    const SymbolLayout tooSmall = CentreSymbol(7, 51, 51, 10, 10, 0);
    EXPECT_EQ(tooSmall.horizontalOffset, -9);  // -19 / 2
    EXPECT_EQ(tooSmall.verticalOffset, -9);
}

TEST(CentreSymbol, AQuarterTurnSwapsTheAxes) {
    // With rows != cols the axes show: rows run across after a quarter turn.
    const SymbolLayout unturned = CentreSymbol(2, 100, 100, 10, 20, 0);
    EXPECT_EQ(unturned.horizontalOffset, 30);
    EXPECT_EQ(unturned.verticalOffset, 40);
    for (const int orientation : {1, 3}) {
        const SymbolLayout turned = CentreSymbol(2, 100, 100, 10, 20, orientation);
        EXPECT_EQ(turned.horizontalOffset, 40);
        EXPECT_EQ(turned.verticalOffset, 30);
    }
}

}  // namespace
}  // namespace ecc200

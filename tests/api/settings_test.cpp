// The setters' rules, applied to a settings record of the test's own.
#include "api/nine_adapter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace ecc200 {
namespace {

std::uint32_t FloatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(ApplySize, ReplacesSizesOfZeroOrLessByTheDefaults) {
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {0, -5, 500, 300}, {1, 1, 1, 1}, {-1, 0, 500, 300}, {640, 480, 640, 480}, {INT_MAX, INT_MIN, INT_MAX, 300},
    };
    for (const Case& c : cases) {
        DMSettings settings;
        ApplySize(settings, c.width, c.height);
        EXPECT_EQ(settings.width, c.expectedWidth) << c.width << " x " << c.height;
        EXPECT_EQ(settings.height, c.expectedHeight) << c.width << " x " << c.height;
    }
}

TEST(ApplyInfo, StoresTheModuleSizeAsFloatAndOutOfRangeValuesAsDefaults) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double moduleSize;
        int orientation, borderStyle;
        float expectedSize;
        int expectedOrientation, expectedBorder;
    };
    const Case cases[] = {
        {0.0, 4, 3, 0.2f, 0, 0},
        {0.05, 3, 2, 0.05f, 3, 2},
        {nan, 1, 1, 0.2f, 1, 1},
        {-nan, 2, 0, 0.2f, 2, 0},
        {-0.0, 0, 2, 0.2f, 0, 2},
        {-1.5, -1, -1, 0.2f, 0, 0},
        {-inf, 65536, 65538, 0.2f, 0, 0},  // not cut to 16 bits first
        {1.0 / 3.0, 3, 1, 1.0f / 3.0f, 3, 1},
    };
    for (const Case& c : cases) {
        DMSettings settings;
        ApplyInfo(settings, c.moduleSize, c.orientation, c.borderStyle);
        EXPECT_EQ(FloatBits(settings.moduleSize), FloatBits(c.expectedSize)) << c.moduleSize;
        EXPECT_EQ(settings.orientation, c.expectedOrientation) << c.orientation;
        EXPECT_EQ(settings.borderStyle, c.expectedBorder) << c.borderStyle;
    }
    EXPECT_EQ(FloatBits(0.2f), 0x3E4CCCCDu);
}

TEST(ApplyInfo, StoresSizesBeyondTheFloatRangeWithoutOverflowingTheConversion) {
    // A plain conversion of a double beyond the float range is undefined
    // behaviour (no sanitizer reports it, and IEEE hardware happens to give
    // infinity); such sizes must come out as the largest float or infinity.
    for (const double huge : {1e300, 3.5e38, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max()}) {
        DMSettings settings;
        ApplyInfo(settings, huge, 0, 0);
        EXPECT_GE(settings.moduleSize, FLT_MAX) << huge;
    }
    DMSettings settings;
    ApplyInfo(settings, FLT_MAX, 0, 0);
    EXPECT_EQ(settings.moduleSize, FLT_MAX);
}

TEST(ColourFromComponents, PacksRedGreenBlueAndZeroesComponentsOutOfRange) {
    struct Case {
        int red, green, blue;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {255, 0, 256, 0x0000FF}, {-1, 128, 64, 0x408000}, {1, 2, 3, 0x030201},
        {255, 255, 255, 0xFFFFFF}, {0, 0, 0, 0}, {INT_MIN, 256, INT_MAX, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColourFromComponents(c.red, c.green, c.blue), c.expected) << c.red << ", " << c.green << ", " << c.blue;
    }
}

TEST(ApplyMessage, CopiesTheStringUpToItsTerminator) {
    DMSettings settings;
    ApplyMessage(settings, "a longer message");
    ApplyMessage(settings, "abc");
    EXPECT_EQ(settings.messageBytes(), "abc");
    ApplyMessage(settings, "\x80\xE9\xFF~");
    EXPECT_EQ(settings.messageBytes(), "\x80\xE9\xFF~");
    ApplyMessage(settings, nullptr);
    EXPECT_EQ(settings.messageBytes(), "");
    ApplyMessage(settings, "");
    EXPECT_EQ(settings.messageBytes(), "");
}

std::string Pattern(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char>('A' + i % 26));
    return text;
}

TEST(ApplyMessage, KeepsTheFirst1999BytesOfLongerStrings) {
    DMSettings settings;
    const std::string exact = Pattern(1999);
    ApplyMessage(settings, exact.c_str());
    EXPECT_EQ(settings.messageBytes(), exact);

    const std::string longer = Pattern(2500);
    ApplyMessage(settings, longer.c_str());
    EXPECT_EQ(settings.messageBytes(), longer.substr(0, 1999));
    EXPECT_EQ(settings.message[1999], '\0');

    // An unterminated buffer of exactly 1999 bytes: the address sanitizer
    // reports any read past it.
    const std::vector<char> unterminated(exact.begin(), exact.end());
    ApplyMessage(settings, unterminated.data());
    EXPECT_EQ(settings.messageBytes(), exact);
}

}  // namespace
}  // namespace ecc200

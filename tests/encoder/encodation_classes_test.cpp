// The byte class table against the definitions it stands for: the values
// TripletValues gives in C40 and Text, X12Value and EdifactValue, for every
// byte.
#include "encoder/encodation_classes.h"

#include <gtest/gtest.h>

#include "encoder/encodation_values.h"
#include "encoder/encode_segments.h"

namespace ecc200 {
namespace {

TEST(ByteClasses, AgreeWithTheSchemesValuesForEveryByte) {
    for (int b = 0; b < 256; ++b) {
        const ByteClasses& c = kByteClasses[static_cast<std::size_t>(b)];
        std::array<std::uint8_t, 4> values{};
        EXPECT_EQ(c.c40Values, TripletValues(Encodation::C40, b, values)) << b;
        EXPECT_EQ(c.textValues, TripletValues(Encodation::Text, b, values)) << b;
        EXPECT_EQ(c.x12, X12Value(b) >= 0) << b;
        EXPECT_EQ(c.edifact, EdifactValue(b) >= 0) << b;
        EXPECT_EQ(c.digit, b >= '0' && b <= '9') << b;
        EXPECT_EQ(c.asciiCodewords, b > 127 ? 2 : 1) << b;
    }
}

}  // namespace
}  // namespace ecc200

// File headers of the outputs, byte for byte.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "output/bmp_file.h"
#include "output/placeable_wmf.h"

namespace ecc200 {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PlaceableMetafileHeader, DefaultPictureAt96And120Dpi) {
    EXPECT_EQ(PlaceableMetafileHeader(500, 300, 96),
              Bytes({0xD7, 0xCD, 0xC6, 0x9A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF4,
                     0x01, 0x2C, 0x01, 0x60, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA9, 0x57}));
    const Bytes at120 = PlaceableMetafileHeader(500, 300, 120);
    EXPECT_EQ(Bytes(at120.begin() + 14, at120.begin() + 16), Bytes({0x78, 0x00}));
    EXPECT_EQ(Bytes(at120.begin() + 20, at120.end()), Bytes({0xB1, 0x57}));
}

TEST(PlaceableMetafileHeader, ChecksumIsTheXorOfTheTenWordsBeforeIt) {
    for (const auto& [w, h, dpi] : {std::tuple{1, 1, 96}, std::tuple{32767, 32767, 144}, std::tuple{640, 480, 120}}) {
        const Bytes header = PlaceableMetafileHeader(w, h, dpi);
        ASSERT_EQ(header.size(), kPlaceableHeaderSize);
        int folded = 0;
        for (std::size_t i = 0; i < 22; i += 2) folded ^= header[i] | header[i + 1] << 8;
        EXPECT_EQ(folded, 0) << w << "x" << h;
        EXPECT_EQ(header[10] | header[11] << 8, w);
        EXPECT_EQ(header[12] | header[13] << 8, h);
    }
}

TEST(MonochromeGeometry, RowsArePaddedToFourBytes) {
    const std::pair<std::int32_t, std::uint32_t> cases[] = {{1, 4}, {31, 4}, {32, 4}, {33, 8}, {64, 8}, {65, 12}, {500, 64}};
    for (const auto& [width, rowBytes] : cases) {
        ASSERT_TRUE(MonochromeGeometryOf(width, 1));
        EXPECT_EQ(MonochromeGeometryOf(width, 1)->rowBytes, rowBytes) << width;
    }
    const MonochromeGeometry picture = *MonochromeGeometryOf(500, 300);
    EXPECT_EQ(picture.imageSize, 19200u);
    EXPECT_EQ(picture.fileSize, 19262u);
}

TEST(MonochromeGeometry, RefusesEmptyPicturesAndSizesBeyond32Bits) {
    const std::int32_t intMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(MonochromeGeometryOf(0, 5));
    EXPECT_FALSE(MonochromeGeometryOf(5, -1));
    EXPECT_FALSE(MonochromeGeometryOf(200000, 200000));  // 25,000 x 200,000 bytes
    EXPECT_FALSE(MonochromeGeometryOf(intMax, 16));      // exactly 2^32 bytes of image
    ASSERT_TRUE(MonochromeGeometryOf(intMax, 15));
    EXPECT_EQ(MonochromeGeometryOf(intMax, 15)->rowBytes, 268435456u);
    // The largest file that fits: image + 62 <= 2^32 - 1.
    EXPECT_FALSE(MonochromeGeometryOf(32, 1073741809));  // 4 * 1073741809 + 62 = 2^32 + 56
    EXPECT_TRUE(MonochromeGeometryOf(32, 1073741792));   // 2^32 - 128 + 62
}

TEST(BitmapHeaders, DefaultPictureStartsAsTheFormatSays) {
    const MonochromeGeometry geometry = *MonochromeGeometryOf(500, 300);
    Bytes head = BitmapFileHeader(geometry);
    const Bytes info = BitmapInfoHeader(500, 300, geometry);
    head.insert(head.end(), info.begin(), info.end());
    const Bytes expected = {0x42, 0x4D, 0x3E, 0x4B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3E, 0x00, 0x00,
                            0x00, 0x28, 0x00, 0x00, 0x00, 0xF4, 0x01, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00,
                            0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4B, 0x00, 0x00};
    ASSERT_EQ(head.size(), 54u);
    EXPECT_EQ(Bytes(head.begin(), head.begin() + 38), expected);
    EXPECT_EQ(Bytes(head.begin() + 38, head.end()), Bytes(16, 0));  // pels per metre and colour counts
}

}  // namespace
}  // namespace ecc200

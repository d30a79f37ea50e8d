#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "le_bytes.h"
#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

using test::Hex;

std::size_t RowBytes(std::int32_t width) { return 4 * ((static_cast<std::size_t>(width) + 31) / 32); }

// The block as the BMP output builds it: BITMAPINFOHEADER for W x H at one
// bit, then room for the colour table and the rows, pre-filled with a
// pattern that shows any byte the conversion leaves alone.
std::vector<std::uint8_t> MonochromeBlock(std::int32_t width, std::int32_t height) {
    const std::size_t image = RowBytes(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> block(48 + image, 0xCC);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) block[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, static_cast<std::uint32_t>(width));
    put32(8, static_cast<std::uint32_t>(height));
    put32(12, 0x00010001);  // planes 1, bit count 1
    put32(16, 0);           // BI_RGB
    put32(20, static_cast<std::uint32_t>(image));
    for (std::size_t at = 24; at < 40; at += 4) put32(at, 0);
    return block;
}

std::vector<std::uint8_t> Convert(BitmapContext& bitmap, std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> block = MonochromeBlock(width, height);
    bitmap.GetMonochromeDIBits(block.data());
    return block;
}

// Index of pixel (x, y), y counted from the top, in a converted block.
int PixelAt(const std::vector<std::uint8_t>& block, std::int32_t width, std::int32_t height, std::int32_t x, std::int32_t y) {
    const std::size_t row = 48 + RowBytes(width) * static_cast<std::size_t>(height - 1 - y);
    return block[row + static_cast<std::size_t>(x / 8)] >> (7 - x % 8) & 1;
}

// The picture as text, one line per row from the top, '#' black, '.' white.
std::string Picture(const std::vector<std::uint8_t>& block, std::int32_t width, std::int32_t height) {
    std::string text;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) text += PixelAt(block, width, height, x, y) ? '.' : '#';
        text += '\n';
    }
    return text;
}

constexpr ColourRef kWhite = 0x00FFFFFF;
constexpr ColourRef kBlack = 0x00000000;

ColourRef Rgb(int r, int g, int b) { return static_cast<ColourRef>(r | g << 8 | b << 16); }

std::unique_ptr<BitmapContext> WhiteBitmap(std::int32_t width, std::int32_t height) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(width, height);
    const Brush white = bitmap->CreateSolidBrush(kWhite);
    bitmap->FillRect({0, 0, width, height}, white);
    bitmap->DeleteBrush(white);
    return bitmap;
}

TEST(PortableBitmapTest, FreshBitmapIsBlackAndTheHeaderStaysAsWritten) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(500, 300);
    ASSERT_NE(bitmap, nullptr);
    const std::vector<std::uint8_t> block = Convert(*bitmap, 500, 300);
    ASSERT_EQ(block.size(), 19248u);
    // The 48-byte head for 500 x 300 as GetDIBits leaves it.
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 48),
              Hex("28 00 00 00 F4 01 00 00 2C 01 00 00 01 00 01 00 00 00 00 00"
                  "00 4B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                  "00 00 00 00 FF FF FF 00"));
    for (std::size_t i = 48; i < block.size(); ++i) ASSERT_EQ(block[i], 0) << "offset " << i;
}

// The rule GetDIBits applies: white exactly when r + g + b >= 383.
TEST(PortableBitmapTest, ColoursGoToTheNearerOfBlackAndWhite) {
    struct Case {
        int r, g, b, index;
    };
    const Case cases[] = {
        {128, 128, 128, 1}, {127, 127, 127, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {0, 0, 255, 0},
        {255, 255, 0, 1},   {255, 0, 255, 1},   {0, 255, 255, 1},   {128, 128, 127, 1}, {127, 127, 128, 0},
        {255, 128, 0, 1},   {200, 100, 50, 0},  {192, 192, 192, 1}, {220, 0, 220, 1},   {200, 200, 0, 1},
        {248, 128, 0, 0},   {0, 0, 0, 0},       {255, 255, 255, 1}, {255, 127, 0, 0},   {1, 127, 255, 1},
        {0, 127, 255, 0},
    };
    std::unique_ptr<BitmapContext> bitmap = WhiteBitmap(1, 1);
    for (const Case& c : cases) {
        const Brush brush = bitmap->CreateSolidBrush(Rgb(c.r, c.g, c.b));
        bitmap->FillRect({0, 0, 1, 1}, brush);
        bitmap->DeleteBrush(brush);
        EXPECT_EQ(PixelAt(Convert(*bitmap, 1, 1), 1, 1, 0, 0), c.index) << c.r << ',' << c.g << ',' << c.b;
    }
}

// All-white bitmaps: every row holds W one-bits, then zero bits up to the
// next multiple of 32.
TEST(PortableBitmapTest, RowsArePaddedWithZeroBits) {
    for (std::int32_t width : {1, 7, 8, 31, 32, 33, 37, 63, 64, 65}) {
        const std::int32_t height = 3;
        std::unique_ptr<BitmapContext> bitmap = WhiteBitmap(width, height);
        const std::vector<std::uint8_t> block = Convert(*bitmap, width, height);
        ASSERT_EQ(block.size(), 48 + RowBytes(width) * height);
        for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
            for (std::size_t i = 0; i < RowBytes(width); ++i) {
                const std::int64_t onesInByte = std::min<std::int64_t>(8, std::max<std::int64_t>(0, width - 8 * static_cast<std::int64_t>(i)));
                const auto expected = static_cast<std::uint8_t>((0xFF00 >> onesInByte) & 0xFF);
                EXPECT_EQ(block[48 + row * RowBytes(width) + i], expected) << "width " << width << " byte " << i;
            }
        }
    }
}

TEST(PortableBitmapTest, FillRectCoversLeftToRightAndTopToBottomExcluded) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(8, 4);
    const Brush white = bitmap->CreateSolidBrush(kWhite);
    bitmap->FillRect({2, 1, 5, 3}, white);
    bitmap->FillRect({6, 0, 6, 4}, white);  // empty: left = right
    bitmap->FillRect({0, 2, 8, 2}, white);  // empty: top = bottom
    EXPECT_EQ(Picture(Convert(*bitmap, 8, 4), 8, 4),
              "########\n"
              "##...###\n"
              "##...###\n"
              "########\n");
}

// FillRect is PatBlt with right - left and bottom - top: a reversed
// rectangle fills from right + 1 to left + 1, as GDI's PatBlt does with a
// negative extent.
TEST(PortableBitmapTest, ReversedRectFillsTheMirroredRun) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(8, 5);
    const Brush white = bitmap->CreateSolidBrush(kWhite);
    bitmap->FillRect({5, 4, 2, 1}, white);
    EXPECT_EQ(Picture(Convert(*bitmap, 8, 5), 8, 5),
              "########\n"
              "########\n"
              "###...##\n"
              "###...##\n"
              "###...##\n");

    // From INT32_MAX the run's end wraps round to INT32_MIN: nothing.
    std::unique_ptr<BitmapContext> edge = CreateBitmapContext(8, 1);
    const Brush edgeWhite = edge->CreateSolidBrush(kWhite);
    edge->FillRect({INT32_MAX, 0, 0, 1}, edgeWhite);
    EXPECT_EQ(Picture(Convert(*edge, 8, 1), 8, 1), "########\n");
    edge->FillRect({INT32_MAX - 1, 0, 0, 1}, edgeWhite);
    EXPECT_EQ(Picture(Convert(*edge, 8, 1), 8, 1), "#.......\n");
}

TEST(PortableBitmapTest, FillsAndLinesFarOutsideAreClipped) {
    constexpr std::int32_t kMin = INT32_MIN;
    constexpr std::int32_t kMax = INT32_MAX;
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(6, 4);
    const Brush white = bitmap->CreateSolidBrush(kWhite);
    bitmap->FillRect({kMin, kMin, kMax, kMax}, white);
    EXPECT_EQ(Picture(Convert(*bitmap, 6, 4), 6, 4), "......\n......\n......\n......\n");
    bitmap->FillRect({-2000000000, -2000000000, -1999999993, -1999999993}, bitmap->CreateSolidBrush(kBlack));
    bitmap->FillRect({2000000000, 0, 2000000007, 4}, bitmap->CreateSolidBrush(kBlack));
    bitmap->MoveToEx(-2000000000, 1);
    bitmap->LineTo(2000000000, 1);
    bitmap->MoveToEx(4, kMax - 1);
    bitmap->LineTo(4, kMin);
    EXPECT_EQ(Picture(Convert(*bitmap, 6, 4), 6, 4),
              "....#.\n"
              "######\n"
              "....#.\n"
              "....#.\n");
}

// The solid frame the symbol drawing uses: four lines, the last two drawn
// backwards from one pixel outside; together every edge pixel.
TEST(PortableBitmapTest, SolidFrameCoversEveryEdgePixel) {
    std::unique_ptr<BitmapContext> bitmap = WhiteBitmap(8, 5);
    bitmap->MoveToEx(0, 0);
    bitmap->LineTo(8, 0);
    bitmap->MoveToEx(7, 0);
    bitmap->LineTo(7, 5);
    bitmap->MoveToEx(8, 4);
    bitmap->LineTo(0, 4);
    bitmap->MoveToEx(0, 5);
    bitmap->LineTo(0, 0);
    EXPECT_EQ(Picture(Convert(*bitmap, 8, 5), 8, 5),
              "########\n"
              "#......#\n"
              "#......#\n"
              "#......#\n"
              "########\n");
}

TEST(PortableBitmapTest, LineToStartsAtTheCurrentPosition) {
    std::unique_ptr<BitmapContext> bitmap = WhiteBitmap(5, 3);
    bitmap->LineTo(3, 0);  // from (0, 0), a new context's position
    bitmap->LineTo(3, 2);  // on from where the last line ended
    EXPECT_EQ(Picture(Convert(*bitmap, 5, 3), 5, 3),
              "####.\n"
              "...#.\n"
              ".....\n");
}

// Rows go bottom-up: the picture's top row is the block's last.
TEST(PortableBitmapTest, RowsRunBottomUp) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(9, 3);
    bitmap->FillRect({0, 0, 1, 1}, bitmap->CreateSolidBrush(kWhite));
    bitmap->FillRect({8, 2, 9, 3}, bitmap->CreateSolidBrush(kWhite));
    const std::vector<std::uint8_t> block = Convert(*bitmap, 9, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 48, block.end()),
              Hex("00 80 00 00  00 00 00 00  80 00 00 00"));
}

// A brush that does not exist cannot be selected, so FillRect blits with
// the brush the context holds: the stock white brush (measured under Wine).
TEST(PortableBitmapTest, NonexistentBrushPaintsWithTheSelectedWhiteBrush) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(6, 4);
    const Brush red = bitmap->CreateSolidBrush(0x000000FF);
    bitmap->DeleteBrush(red);
    bitmap->FillRect({1, 1, 4, 3}, red);
    bitmap->FillRect({5, 0, 6, 1}, Brush{});
    EXPECT_EQ(Picture(Convert(*bitmap, 6, 4), 6, 4),
              "#####.\n"
              "#...##\n"
              "#...##\n"
              "######\n");
}

// In MM_TEXT the window origin is the logical point that lands on pixel
// (0, 0); the extent changes nothing.
TEST(PortableBitmapTest, WindowOriginShiftsTheDrawing) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(4, 3);
    bitmap->SetMapModeText();
    bitmap->SetWindowExtEx(40, 30);
    bitmap->SetWindowOrgEx(10, 20);
    bitmap->FillRect({11, 21, 13, 22}, bitmap->CreateSolidBrush(kWhite));
    EXPECT_EQ(Picture(Convert(*bitmap, 4, 3), 4, 3),
              "####\n"
              "#..#\n"
              "####\n");
}

// A shifted point beyond the 32-bit range does not wrap around onto the
// bitmap: GDI (under Wine) puts it at INT32_MIN.
TEST(PortableBitmapTest, PointsShiftedOutOfRangeStayOff) {
    std::unique_ptr<BitmapContext> bitmap = CreateBitmapContext(8, 6);
    bitmap->SetWindowOrgEx(INT32_MAX, 0);
    bitmap->FillRect({INT32_MIN, 1, INT32_MIN + 2, 2}, bitmap->CreateSolidBrush(kWhite));
    bitmap->MoveToEx(INT32_MIN, 1);
    bitmap->LineTo(INT32_MIN + 3, 3);
    std::string expected;
    for (int row = 0; row < 6; ++row) expected += "########\n";
    EXPECT_EQ(Picture(Convert(*bitmap, 8, 6), 8, 6), expected);
}

TEST(PortableBitmapTest, ImpossibleSizesGiveNoBitmap) {
    EXPECT_EQ(CreateBitmapContext(0, 10), nullptr);
    EXPECT_EQ(CreateBitmapContext(10, 0), nullptr);
    EXPECT_EQ(CreateBitmapContext(-1, 10), nullptr);
    EXPECT_EQ(CreateBitmapContext(10, INT32_MIN), nullptr);
    // 2^28 x 2^31 bytes: more memory than any machine has.
    EXPECT_EQ(CreateBitmapContext(INT32_MAX, INT32_MAX), nullptr);
}

// A reset context draws what a new one of that size draws, whatever it
// held: smaller, other row sizes, many row buffers, its brushes and origin.
TEST(PortableBitmap, ResetDrawsAsANewContext) {
    const auto draw = [](BitmapContext& dc, std::int32_t width, std::int32_t height) {
        const Brush white = dc.CreateSolidBrush(kWhite);
        dc.FillRect({0, 0, width, height}, white);
        for (std::int32_t y = 0; y < height; y += 3) {
            const Brush black = dc.CreateSolidBrush(kBlack);
            dc.FillRect({y % width, y, y % width + 2, y + 2}, black);
        }
        dc.MoveToEx(0, 0);
        dc.LineTo(width - 1, height - 1);
        return Convert(dc, width, height);
    };
    std::unique_ptr<BitmapContext> reused = CreateBitmapContext(300, 200);
    ASSERT_TRUE(reused);
    reused->SetWindowOrgEx(5, 7);
    draw(*reused, 300, 200);
    for (const auto& [width, height] : {std::pair{300, 200}, {33, 150}, {64, 64}, {299, 200}, {1, 1}}) {
        ASSERT_TRUE(reused->Reset(width, height)) << width << "x" << height;
        std::unique_ptr<BitmapContext> fresh = CreateBitmapContext(width, height);
        EXPECT_EQ(draw(*reused, width, height), draw(*fresh, width, height)) << width << "x" << height;
    }
    EXPECT_FALSE(reused->Reset(300, 201));  // more than the memory it was made with
    EXPECT_FALSE(reused->Reset(0, 5));
}

}  // namespace
}  // namespace ecc200::platform

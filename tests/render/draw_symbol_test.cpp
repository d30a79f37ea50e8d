// Drawing a symbol onto a device context: layout, orientations, frames.
#include "render/draw_symbol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoder/module_matrix.h"
#include "platform/portable/portable_screen.h"
#include "render/recording_context.h"
#include "support/encoded_symbol.h"
#include "support/nine_settings.h"

namespace ecc200 {
namespace {

using test::RecordingContext;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0x0000FF;

DMSettings Style(std::int32_t width, std::int32_t height, float cm = 0.2f, int orientation = 0,
                   BorderStyle border = BorderStyle::None, std::uint32_t bar = kBlack) {
    return test::NineSettings(width, height, cm, orientation, border, bar, kWhite);
}

struct Drawn {
    RecordingContext dc;
    std::int32_t modulePixels = 0;
};

class DrawSymbolTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetPortableScreenDpi(96); }
    void TearDown() override { platform::SetPortableScreenDpi(96); }

    // Draws `message` with `style`, starting from the given previous pixel size.
    void Draw(const std::string& message, const DMSettings& style, std::int32_t previousPixels = 0) {
        const test::EncodedSymbol encoded = test::Encode(message);
        ASSERT_TRUE(encoded.built);
        symbol_ = encoded.state->symbol;
        // The module size resolved as the nine DM functions resolve it.
        drawn_.modulePixels = previousPixels;
        DrawSymbol(test::NinesGeometry(style, symbol_, drawn_.modulePixels), drawn_.dc);
    }

    int DarkModules() const {
        int dark = 0;
        for (int r = 0; r < symbol_.side(); ++r)
            for (int c = 0; c < symbol_.side(); ++c) dark += symbol_.isDark(r, c) ? 1 : 0;
        return dark;
    }

    SymbolMatrix symbol_;
    Drawn drawn_;
};

TEST_F(DrawSymbolTest, DefaultPictureAt96Dpi) {
    Draw("12", Style(500, 300));
    const RecordingContext& dc = drawn_.dc;
    EXPECT_EQ(drawn_.modulePixels, 7);
    // Bar brush first, then background; both deleted at the end.
    ASSERT_EQ(dc.brushes.size(), 2u);
    EXPECT_EQ(dc.brushes[0], kBlack);
    EXPECT_EQ(dc.brushes[1], kWhite);
    EXPECT_EQ(dc.liveBrushes, 0);
    EXPECT_EQ(dc.calls.back(), "DeleteBrush");
    // The background first, then one fill per dark module and nothing else.
    ASSERT_EQ(dc.fills.size(), 1u + static_cast<std::size_t>(DarkModules()));
    EXPECT_EQ(DarkModules(), 55);
    const platform::PixelRect background = dc.fills[0].rect;
    EXPECT_EQ(std::vector<int>({background.left, background.top, background.right, background.bottom}),
              std::vector<int>({0, 0, 500, 300}));
    const platform::PixelRect first = dc.fills[1].rect;  // module (0, 0)
    EXPECT_EQ(std::vector<int>({first.left, first.top, first.right, first.bottom}), std::vector<int>({215, 115, 222, 122}));
    EXPECT_TRUE(dc.lines.empty());
    // The symbol covers x 215..284 and y 115..184 inclusive.
    const std::string text = dc.RasteriseText(500, 300, kBlack);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 500; ++x) {
            const bool inside = x >= 215 && x <= 284 && y >= 115 && y <= 184;
            const bool dark = inside && symbol_.isDark((y - 115) / 7, (x - 215) / 7);
            ASSERT_EQ(text[static_cast<std::size_t>(y * 501 + x)], dark ? '#' : '.') << x << "," << y;
        }
    }
}

TEST_F(DrawSymbolTest, At120DpiModulesAreNinePixels) {
    platform::SetPortableScreenDpi(120);
    Draw("12", Style(500, 300));
    EXPECT_EQ(drawn_.modulePixels, 9);
    const platform::PixelRect first = drawn_.dc.fills[1].rect;
    EXPECT_EQ(first.left, 205);
    EXPECT_EQ(first.top, 105);
}

TEST_F(DrawSymbolTest, ModuleSizeZeroReusesThePreviousPixels) {
    Draw("12", Style(500, 300, 0.0f), 11);
    EXPECT_EQ(drawn_.modulePixels, 11);
    EXPECT_EQ(drawn_.dc.fills[1].rect.right - drawn_.dc.fills[1].rect.left, 11);
}

TEST_F(DrawSymbolTest, BelowOnePixelDrawsBackgroundAndFrameOnly) {
    Draw("12", Style(20, 12, 0.02f, 0, BorderStyle::Solid));
    EXPECT_EQ(drawn_.modulePixels, 0);
    for (std::size_t i = 1; i < drawn_.dc.fills.size(); ++i) {
        EXPECT_EQ(drawn_.dc.fills[i].rect.left, drawn_.dc.fills[i].rect.right);
    }
    const std::string text = drawn_.dc.RasteriseText(20, 12, kBlack);
    EXPECT_EQ(text.find('#'), std::string::npos);
}

// Where module (k, l) of an R x R symbol appears, in module units from the
// picture's top left corner of the symbol, after each turn.
std::pair<int, int> TurnedCell(int orientation, int side, int k, int l) {
    switch (orientation) {
        case 1: return {k, side - 1 - l};             // counter-clockwise: row 0 becomes the left column
        case 2: return {side - 1 - l, side - 1 - k};  // half turn
        case 3: return {side - 1 - k, l};             // clockwise: row 0 becomes the right column
        default: return {l, k};
    }
}

TEST_F(DrawSymbolTest, EachOrientationTurnsTheSymbolAndPlacesItByItsOwnRule) {
    // 501 x 301 with P = 7 and 12 x 12 modules: odd free space on both axes,
    // so a half turn lies one pixel further right and a counter-clockwise
    // quarter turn one pixel lower.
    struct Expected {
        int left;
        int top;
    };
    const Expected origins[] = {{208, 108}, {208, 109}, {209, 108}, {208, 108}};
    for (int orientation = 0; orientation < 4; ++orientation) {
        drawn_ = Drawn{};
        Draw("Hello", Style(501, 301, 0.2f, orientation));
        ASSERT_EQ(symbol_.side(), 12);
        const std::string text = drawn_.dc.RasteriseText(501, 301, kBlack);
        const int side = 12;
        for (int k = 0; k < side; ++k) {
            for (int l = 0; l < side; ++l) {
                const auto [cx, cy] = TurnedCell(orientation, side, k, l);
                // Centre pixel of the module's square.
                const int x = origins[orientation].left + 7 * cx + 3;
                const int y = origins[orientation].top + 7 * cy + 3;
                ASSERT_EQ(text[static_cast<std::size_t>(y * 502 + x)], symbol_.isDark(k, l) ? '#' : '.')
                    << "orientation " << orientation << " module " << k << "," << l;
            }
        }
        // Nothing of the symbol outside its square.
        for (int y = 0; y < 301; ++y) {
            for (int x = 0; x < 501; ++x) {
                const bool inside = x >= origins[orientation].left && x < origins[orientation].left + 7 * side &&
                                    y >= origins[orientation].top && y < origins[orientation].top + 7 * side;
                if (!inside) {
                    ASSERT_EQ(text[static_cast<std::size_t>(y * 502 + x)], '.') << orientation << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(DrawSymbolTest, SolidFinderEdgesFollowTheTurn) {
    // Orientation: which picture edges of the symbol are solid dark.
    const char* solidEdges[] = {"left bottom", "bottom right", "right top", "top left"};
    for (int orientation = 0; orientation < 4; ++orientation) {
        drawn_ = Drawn{};
        Draw("12", Style(70, 70, 0.2f, orientation));  // P = 7: the symbol fills the picture exactly
        const std::string text = drawn_.dc.RasteriseText(70, 70, kBlack);
        const auto solidColumn = [&](int x) {
            for (int y = 0; y < 70; ++y)
                if (text[static_cast<std::size_t>(y * 71 + x)] != '#') return false;
            return true;
        };
        const auto solidRow = [&](int y) { return text.substr(static_cast<std::size_t>(y * 71), 70) == std::string(70, '#'); };
        std::string found;
        if (solidColumn(0)) found += "left ";
        if (solidRow(69)) found += "bottom ";
        if (solidColumn(69)) found += "right ";
        if (solidRow(0)) found += "top ";
        // Normalise the order to the table's.
        const std::string expected = solidEdges[orientation];
        for (const std::string edge : {"left", "bottom", "right", "top"}) {
            EXPECT_EQ(found.find(edge) != std::string::npos, expected.find(edge) != std::string::npos)
                << "orientation " << orientation << ": " << edge;
        }
    }
}

TEST_F(DrawSymbolTest, NegativeOffsetsAreDrawnAndClippedBySurface) {
    Draw("12", Style(51, 51));
    EXPECT_EQ(drawn_.dc.fills[1].rect.left, -9);
    EXPECT_EQ(drawn_.dc.fills[1].rect.top, -9);
}

std::string PenRow(const std::string& text, int width, int y) {
    std::string row = text.substr(static_cast<std::size_t>(y * (width + 1)), static_cast<std::size_t>(width));
    for (char& c : row) c = c == 'L' ? 'L' : '.';
    return row;
}

std::string PenColumn(const std::string& text, int width, int height, int x) {
    std::string column;
    for (int y = 0; y < height; ++y) column.push_back(text[static_cast<std::size_t>(y * (width + 1) + x)] == 'L' ? 'L' : '.');
    return column;
}

TEST_F(DrawSymbolTest, DashedFrameOn20By12) {
    Draw("12", Style(20, 12, 0.02f, 0, BorderStyle::Dashed));
    const std::string text = drawn_.dc.RasteriseText(20, 12, kBlack);
    // The upper dashes lie on y = 1; the last dash stops short of x = 19.
    EXPECT_EQ(PenRow(text, 20, 0), "....................");
    EXPECT_EQ(PenRow(text, 20, 1), "LLLL....LLLL....LLL.");
    EXPECT_EQ(PenRow(text, 20, 11), "LLLL....LLLL....LLL.");
    // W / 4 = 5 is odd, so the vertical pass starts with a gap; its one dash
    // runs from 4 to the limit 11, excluded. Column 0 also shows the two rows.
    EXPECT_EQ(PenColumn(text, 20, 12, 0), ".L..LLLLLLLL");
    EXPECT_EQ(PenColumn(text, 20, 12, 19), "....LLLLLLL.");
}

TEST_F(DrawSymbolTest, DashedFrameOn17By9) {
    Draw("12", Style(17, 9, 0.02f, 0, BorderStyle::Dashed));
    const std::string text = drawn_.dc.RasteriseText(17, 9, kBlack);
    EXPECT_EQ(PenRow(text, 17, 1), "LLLL....LLLL....L");  // x = 16 from the right edge's dash
    EXPECT_EQ(PenRow(text, 17, 8), "LLLL....LLLL.....");
    EXPECT_EQ(PenColumn(text, 17, 9, 0), "LLLL....L");
    EXPECT_EQ(PenColumn(text, 17, 9, 16), "LLLL.....");
}

TEST_F(DrawSymbolTest, DashedFrameOnTheDefaultPicture) {
    Draw("12", Style(500, 300, 0.2f, 0, BorderStyle::Dashed));
    const std::string text = drawn_.dc.RasteriseText(500, 300, kBlack);
    const std::string top = PenRow(text, 500, 1);
    EXPECT_EQ(top.substr(488), "LLLL....LLL.");  // the last dash covers 496 to 498
    EXPECT_EQ(PenRow(text, 500, 299), top);
    const std::string left = PenColumn(text, 500, 300, 0);
    EXPECT_EQ(left.substr(0, 16), ".L..LLLL....LLLL");  // y = 1 from the top row's dash
    EXPECT_EQ(left.substr(284), "LLLL....LLLLLLLL");    // the last dash runs 292 to 298, y = 299 from the bottom row
    EXPECT_EQ(PenColumn(text, 500, 300, 499).substr(284), "LLLL....LLLLLLL.");
}

TEST_F(DrawSymbolTest, SolidFrameCoversEveryEdgePixel) {
    Draw("12", Style(8, 5, 0.02f, 0, BorderStyle::Solid));
    EXPECT_EQ(drawn_.dc.RasteriseText(8, 5, kBlack),
              "LLLLLLLL\n"
              "L......L\n"
              "L......L\n"
              "L......L\n"
              "LLLLLLLL\n");
    ASSERT_EQ(drawn_.dc.lines.size(), 4u);
    // The bottom edge runs right to left and the left edge bottom to top,
    // each starting one pixel outside the picture.
    EXPECT_EQ(drawn_.dc.lines[2].x1, 8);
    EXPECT_EQ(drawn_.dc.lines[3].y1, 5);
}

TEST_F(DrawSymbolTest, FrameIsDrawnOverModulesWithThePenWhateverTheBarColour) {
    Draw("12", Style(70, 70, 0.2f, 0, BorderStyle::Solid, kRed));
    const std::string text = drawn_.dc.RasteriseText(70, 70, kRed);
    EXPECT_EQ(PenRow(text, 70, 69), std::string(70, 'L'));  // the solid finder row lies under the frame
    EXPECT_EQ(PenColumn(text, 70, 70, 0), std::string(70, 'L'));
    EXPECT_NE(text.find('#'), std::string::npos);
    EXPECT_EQ(drawn_.dc.calls.back(), "DeleteBrush");
    EXPECT_EQ(drawn_.dc.calls[drawn_.dc.calls.size() - 3], "LineTo");  // lines come after every fill
}

}  // namespace
}  // namespace ecc200

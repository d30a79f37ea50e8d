// The ZPL writer, read back by the strict reader of tests/support: every
// dark pixel of the BMP output one printed dot, in ASCII hex and in Z64,
// as a whole label and as the graphic field alone; the byte counts exact;
// pictures past ZPL's fields refused.
#include "output/zpl_label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/bmp_file.h"
#include "platform/drawing_surface.h"
#include "render/picture_geometry.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/strict_zpl.h"

namespace ecc200 {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// A picture in printer dots, drawn black on white as a label prints.
PictureGeometry PictureOf(const SymbolMatrix& symbol, std::int32_t width, std::int32_t height, std::int32_t dots,
                          int turn, BorderStyle border) {
    return PictureGeometry{&symbol, width, height, dots, turn, border, kBlack, kWhite, 203, 203, static_cast<double>(dots)};
}

// The label of a bitmap's rows handed over as one block.
std::string LabelOf(const test::DrawnBitmap& drawn, std::int32_t width, std::int32_t height, const ZplForm& form) {
    const platform::ByteSpan block{drawn.file.data() + kRowsOffset, drawn.file.size() - kRowsOffset};
    std::vector<std::uint8_t> out;
    ZplScratch scratch;
    EXPECT_TRUE(AppendZplLabel(out, {&block, 1, width, height}, form, scratch).ok());
    return Text(out);
}

// How many dots differ from the bitmap's pixels, black printed.
int DotsUnlike(const test::ZplGraphic& graphic, const test::DrawnBitmap& drawn, std::int32_t width, std::int32_t height) {
    const std::uint8_t* dib = drawn.file.data() + kRowsOffset;
    const std::size_t dibRowBytes = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    int unlike = 0;
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            const bool black = (dib[(height - 1 - y) * dibRowBytes + x / 8] >> (7 - x % 8) & 1) == 0;
            unlike += graphic.printed(x, y) != black ? 1 : 0;
        }
    }
    return unlike;
}

// Widths that are and are not whole bytes, every turn and frame: each of the
// four forms reads back strictly, with the bitmap's very pixels; the Z64
// form inflates to the hex form's bytes; rows handed over one by one make
// the same label as one block.
TEST(ZplLabel, PrintsExactlyTheBitmapsBlackPixels) {
    const test::EncodedSymbol encoded = test::Encode("ZPL dots 0123456789");
    const std::int32_t sizes[][3] = {{151, 120, 5}, {37, 53, 2}, {64, 64, 3}, {9, 200, 1}};
    for (const auto& size : sizes) {
        for (int turn = 0; turn < 4; ++turn) {
            const test::DrawnBitmap drawn = test::DrawBitmapOf(PictureOf(encoded.state->symbol, size[0], size[1], size[2], turn,
                                                                         static_cast<BorderStyle>(turn % 3)));
            std::vector<std::uint8_t> hexBytes;
            for (const ZplForm form : {ZplForm{false, false}, ZplForm{true, false}, ZplForm{false, true}, ZplForm{true, true}}) {
                SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]) + " turn " + std::to_string(turn) +
                             (form.z64 ? " Z64" : " hex") + (form.fieldOnly ? " field" : " label"));
                const test::ZplGraphic graphic = test::ReadStrictZpl(LabelOf(drawn, size[0], size[1], form));
                ASSERT_EQ(graphic.error, "");
                EXPECT_EQ(graphic.wholeLabel, !form.fieldOnly);
                EXPECT_EQ(graphic.z64, form.z64);
                ASSERT_EQ(graphic.rows, static_cast<std::size_t>(size[1]));
                ASSERT_EQ(graphic.rowBytes, static_cast<std::size_t>(size[0] + 7) / 8);
                EXPECT_EQ(DotsUnlike(graphic, drawn, size[0], size[1]), 0);
                if (hexBytes.empty()) hexBytes = graphic.bytes;
                EXPECT_TRUE(graphic.bytes == hexBytes);
            }
            const std::size_t dibRowBytes = (static_cast<std::size_t>(size[0]) + 31) / 32 * 4;
            std::vector<platform::ByteSpan> rowByRow;
            for (std::size_t y = 0; y < static_cast<std::size_t>(size[1]); ++y) {
                rowByRow.push_back({drawn.file.data() + kRowsOffset + dibRowBytes * y, dibRowBytes});
            }
            std::vector<std::uint8_t> pieces;
            ZplScratch scratch;
            ASSERT_TRUE(AppendZplLabel(pieces, {rowByRow.data(), rowByRow.size(), size[0], size[1]}, {true, false}, scratch).ok());
            EXPECT_EQ(Text(pieces), LabelOf(drawn, size[0], size[1], {true, false}));
        }
    }
}

// The strict reader refuses a label whose counts or data are one off, and a
// Z64 form whose CRC or stream does not match: the faults printers reject.
TEST(StrictZpl, RefusesCountsOneOff) {
    const test::EncodedSymbol encoded = test::Encode("off by one");
    const test::DrawnBitmap drawn = test::DrawBitmapOf(PictureOf(encoded.state->symbol, 40, 24, 2, 0, BorderStyle::None));
    const std::string hex = LabelOf(drawn, 40, 24, {false, false});
    const std::string z64 = LabelOf(drawn, 40, 24, {true, false});
    ASSERT_EQ(test::ReadStrictZpl(hex).error, "");
    ASSERT_EQ(test::ReadStrictZpl(z64).error, "");
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string faults[] = {
        replaced(hex, "^GFA,120,120,5,", "^GFA,121,120,5,"), replaced(hex, "^GFA,120,120,5,", "^GFA,120,121,5,"),
        replaced(hex, "^GFA,120,120,5,", "^GFA,119,119,5,"), replaced(hex, "^GFA,120,120,5,", "^GFA,120,120,6,"),
        replaced(hex, "^LL24", "^LL23"),  replaced(hex, "^PW40", "^PW48"),
        replaced(hex, "^FS", "00^FS"),    std::string(hex).erase(hex.find("^FS") - 2, 2),
        replaced(z64, "^GFA,120,120,", "^GFA,119,119,"), replaced(z64, "^FS", "A^FS"),
        replaced(z64, ":Z64:", ":Z64:A"),
    };
    for (const std::string& fault : faults) EXPECT_NE(test::ReadStrictZpl(fault).error, "") << fault;
}

// ^GF's counts stop at 99999 bytes, ^LL and ^FO at 32000 dots, ^PW starts
// at 2: a picture past them is refused and nothing is written; the largest
// field that fits is written and reads back.
TEST(ZplLabel, RefusesPicturesPastZplsFields) {
    const auto fits = [](std::int32_t width, std::int32_t height, ZplForm form) {
        return CheckZplExtent(width, height, form).ok();
    };
    EXPECT_TRUE(fits(800, 999, {}));       // 100 bytes x 999 rows = 99900
    EXPECT_FALSE(fits(800, 1000, {}));     // 100000
    EXPECT_FALSE(fits(800, 1000, {true, true}));
    EXPECT_FALSE(fits(1, 10, {}));         // ^PW1
    EXPECT_TRUE(fits(1, 10, {false, true}));
    EXPECT_FALSE(fits(8, 32001, {}));      // ^LL32001
    EXPECT_TRUE(fits(8, 32001, {false, true}));
    EXPECT_FALSE(fits(32001, 1, {}));      // ^PW past ^FO's coordinates
    EXPECT_FALSE(fits(0, 10, {false, true}));

    for (const std::int32_t height : {999, 1000}) {
        const std::vector<std::uint8_t> blank(100 * static_cast<std::size_t>(height), 0xFF);
        const platform::ByteSpan block{blank.data(), blank.size()};
        for (const ZplForm form : {ZplForm{false, false}, ZplForm{true, false}}) {
            std::vector<std::uint8_t> out = {'x'};
            ZplScratch scratch;
            const Outcome result = AppendZplLabel(out, {&block, 1, 800, height}, form, scratch);
            if (height == 1000) {
                EXPECT_EQ(result.failure, Failure::PictureTooLarge);
                EXPECT_EQ(result.message, "a 800 x 1000-dot picture needs a ZPL graphic field of 100000 bytes; ^GF holds 99999");
                EXPECT_EQ(Text(out), "x");
            } else {
                ASSERT_TRUE(result.ok());
                EXPECT_EQ(test::ReadStrictZpl(Text(out).substr(1)).error, "");
            }
        }
    }
    // Rows that are not height whole rows of the width.
    const std::vector<std::uint8_t> shortRows(100 * 10 - 1, 0xFF);
    const platform::ByteSpan block{shortRows.data(), shortRows.size()};
    std::vector<std::uint8_t> out;
    ZplScratch scratch;
    EXPECT_EQ(AppendZplLabel(out, {&block, 1, 800, 10}, {}, scratch).failure, Failure::InvalidArgument);
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace ecc200

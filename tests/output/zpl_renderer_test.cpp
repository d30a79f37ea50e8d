// ZPL labels on a stand-in printer: a real ZPL renderer (zpl-renderer-js,
// installed by CTest into the build folder) prints them at 8, 12 and 24
// dots/mm; each printed label has exactly the label's dots, and
// ZXingReader and dmtxread read the message back from it.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "output/bmp_file.h"
#include "output/zpl_label.h"
#include "platform/drawing_surface.h"
#include "render/picture_geometry.h"
#include "support/decoders.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/run_command.h"
#include "support/strict_zpl.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

constexpr int kQuietModules = 2;

struct Case {
    std::string message;
    int turn;
    BorderStyle border;
    double moduleMm;  // the X-dimension asked, rounded to whole dots
    bool z64;
};

struct Resolution {
    int dotsPerInch;
    int dotsPerMm;  // the renderer's, as printer heads are named
};

// How many dots the renderer printed differently from the label; -1 when
// its PNG is unreadable or of another size.
int DotsUnlike(const std::string& pngPath, const test::ZplGraphic& label) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, pngPath.c_str())) return -1;
    image.format = PNG_FORMAT_GRAY;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) ||
        image.width != static_cast<png_uint_32>(label.labelWidth) || image.height != label.rows) {
        return -1;
    }
    int unlike = 0;
    for (std::size_t y = 0; y < image.height; ++y) {
        for (std::size_t x = 0; x < image.width; ++x) unlike += (pixels[y * image.width + x] < 128) != label.printed(x, y) ? 1 : 0;
    }
    return unlike;
}

std::string LabelOf(const SymbolMatrix& symbol, const Case& c, int modulePixels) {
    const std::int32_t width = (symbol.cols() + 2 * kQuietModules) * modulePixels;
    const std::int32_t height = (symbol.rows() + 2 * kQuietModules) * modulePixels;
    const PictureGeometry picture{&symbol, width, height, modulePixels, c.turn, c.border, 0x000000, 0xFFFFFF,
                                  203, 203, static_cast<double>(modulePixels)};
    const test::DrawnBitmap drawn = test::DrawBitmapOf(picture);
    const platform::ByteSpan rows{drawn.file.data() + kRowsOffset, drawn.file.size() - kRowsOffset};
    std::vector<std::uint8_t> out;
    ZplScratch scratch;
    EXPECT_TRUE(AppendZplLabel(out, {&rows, 1, width, height}, {c.z64, false}, scratch).ok());
    return {out.begin(), out.end()};
}

// Sizes from 10 x 10 to 52 x 52, every turn, both frames, hex and Z64, at
// X-dimensions from 0.25 to 0.5 mm rounded to the head's dots.
TEST(ZplRenderer, PrintsLabelsThatReadBackAtThreeResolutions) {
    const std::vector<Case> cases = {
        {"ZPL", 0, BorderStyle::None, 0.254, false},
        {"Label printer, 300 dpi: 0123456789", 1, BorderStyle::Solid, 0.33, true},
        {std::string(60, 'Q') + "ecc200 prints in whole dots", 2, BorderStyle::Dashed, 0.254, false},
        {std::string(150, '7') + "LOT 4711 2026-12-07 ABCDEFGHIJKLMNOPQRSTUVWXYZ", 3, BorderStyle::None, 0.5, true},
    };
    const test::TempDir dir;
    for (const Resolution resolution : {Resolution{203, 8}, Resolution{300, 12}, Resolution{600, 24}}) {
        std::vector<std::string> render = {"node", ECC200_RENDER_ZPL_SCRIPT, ECC200_ZPL_RENDERER_PREFIX,
                                           std::to_string(resolution.dotsPerMm)};
        std::vector<test::ZplGraphic> labels;
        std::vector<std::string> pngs;
        std::vector<int> sides;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const test::EncodedSymbol encoded = test::Encode(cases[i].message);
            ASSERT_TRUE(encoded.built);
            const SymbolMatrix& symbol = encoded.state->symbol;
            const int dots = std::max(1, static_cast<int>(std::lround(cases[i].moduleMm * resolution.dotsPerInch / 25.4)));
            const std::string label = LabelOf(symbol, cases[i], dots);
            labels.push_back(test::ReadStrictZpl(label));
            ASSERT_EQ(labels.back().error, "");
            const std::string stem = dir.file(std::to_string(resolution.dotsPerMm) + "-" + std::to_string(i));
            test::WriteFileBytes(stem + ".zpl", label);
            render.insert(render.end(), {stem + ".zpl", stem});
            pngs.push_back(stem + "-0.png");
            sides.push_back(symbol.rows());
        }
        const test::CommandResult rendered = test::RunCommand(render);
        ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
        const auto zxing = test::ZxingReadAll(pngs);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(std::to_string(resolution.dotsPerMm) + " dots/mm, case " + std::to_string(i));
            EXPECT_EQ(DotsUnlike(pngs[i], labels[i]), 0);
            const auto read = zxing.find(pngs[i]);
            ASSERT_NE(read, zxing.end());
            EXPECT_EQ(read->second.bytes, cases[i].message);
            EXPECT_EQ(test::DmtxRead(pngs[i], sides[i]), cases[i].message);
        }
    }
}

}  // namespace
}  // namespace ecc200

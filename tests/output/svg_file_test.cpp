// The SVG writer: rendered by librsvg it shows the bitmap's pixels for
// whole-pixel modules, modules of exactly the asked size otherwise, with no
// outline a renderer could add, and LibreOffice gives it its physical size.
#include "output/svg_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "encoder/module_matrix.h"
#include "encoder/symbol_table.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"
#include "support/decoders.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::RunCommand;

std::string SvgOf(const SymbolMatrix& symbol, const SvgPicture& picture) {
    std::string svg;
    EXPECT_EQ(AppendSvgFile(svg, symbol, picture), WriteResult::Written);
    return svg;
}

// An image file thresholded to one bit per pixel, as a PBM (P4) image.
std::string OneBitPixels(const std::string& image) {
    return RunCommand({"convert", image, "-colorspace", "gray", "-threshold", "50%", "pbm:-"}).out;
}

// The SVG rendered by librsvg with `options`, as a PBM image.
std::string RenderedPixels(const test::TempDir& dir, const std::string& svg, const std::vector<std::string>& options) {
    test::WriteFileBytes(dir.file("picture.svg"), svg);
    std::vector<std::string> command = {"rsvg-convert"};
    command.insert(command.end(), options.begin(), options.end());
    command.insert(command.end(), {"-o", dir.file("rendered.png"), dir.file("picture.svg")});
    const test::CommandResult rendered = RunCommand(command);
    EXPECT_EQ(rendered.exitCode, 0) << rendered.err;
    return OneBitPixels(dir.file("rendered.png"));
}

struct DarkBox {
    int left = -1;
    int right = -1;  // excluded
    int top = -1;
    int bottom = -1;
};

// The bounding box of the black pixels of a P4 image.
DarkBox DarkBoxOf(const std::string& pbm) {
    std::istringstream header(pbm);
    std::string magic;
    int width = 0;
    int height = 0;
    header >> magic >> width >> height;
    const std::size_t rowBytes = static_cast<std::size_t>(width + 7) / 8;
    const std::size_t start = static_cast<std::size_t>(header.tellg()) + 1;
    DarkBox box;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto byte = static_cast<unsigned char>(pbm[start + static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x / 8)]);
            if ((byte >> (7 - x % 8) & 1) == 0) continue;
            if (box.left < 0 || x < box.left) box.left = x;
            if (x + 1 > box.right) box.right = x + 1;
            if (box.top < 0) box.top = y;
            box.bottom = y + 1;
        }
    }
    return box;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

TEST(SvgFile, WholePixelModulesShowTheBitmapsPixelsWithoutAnyStroke) {
    platform::SetPortableScreenDpi(96);
    const test::EncodedSymbol encoded = test::Encode("Pixels");
    const test::TempDir dir;
    for (int orientation = 0; orientation < 4; ++orientation) {
        for (const BorderStyle border : {BorderStyle::None, BorderStyle::Dashed, BorderStyle::Solid}) {
            const PictureStyle style{151, 120, 0.1f, orientation, border, 0xAA0000, 0x00FFFF};
            const test::DrawnBitmap drawn = test::DrawBitmap(encoded.state->symbol, style);
            test::WriteFileBytes(dir.file("p.bmp"), test::BmpFileOf(drawn, style.width, style.height));
            const std::string bitmap = OneBitPixels(dir.file("p.bmp"));
            ASSERT_GT(bitmap.size(), 151u * 120 / 8);
            const std::string svg = SvgOf(encoded.state->symbol, SvgPicture{151, 120, static_cast<double>(drawn.modulePixels),
                                                                            orientation, border, 0xAA0000, 0x00FFFF, 96});
            EXPECT_TRUE(RenderedPixels(dir, svg, {}) == bitmap) << "turn " << orientation << ", frame " << static_cast<int>(border);
            EXPECT_EQ(Count(svg, "stroke"), Count(svg, "stroke=\"none\""));
            EXPECT_EQ(Count(svg, "stroke=\"none\""), Count(svg, "<path"));
        }
    }
}

// Modules of 0.05 cm at 96 dpi are 1.89 pixels: rendered at 254 dpi (ten
// pixels a millimetre) the 10 x 10 symbol spans 5 mm, not the 2.6 mm of
// whole one-pixel modules.
TEST(SvgFile, FractionalModulesHaveExactlyTheAskedSize) {
    const test::EncodedSymbol encoded = test::Encode("12");
    const test::TempDir dir;
    const double modulePixels = 96 * 0.05 / 2.54;
    for (int orientation = 0; orientation < 4; ++orientation) {
        const std::string svg = SvgOf(encoded.state->symbol, SvgPicture{40, 40, modulePixels, orientation, BorderStyle::None,
                                                                        0x000000, 0xFFFFFF, 96});
        const DarkBox box = DarkBoxOf(RenderedPixels(dir, svg, {"--dpi-x", "254", "--dpi-y", "254"}));
        EXPECT_NEAR(box.right - box.left, 50, 1) << "turn " << orientation;
        EXPECT_NEAR(box.bottom - box.top, 50, 1) << "turn " << orientation;
        // Centred: the 40 pixels are 105.8 rendered ones; 27.9 free on each side.
        EXPECT_NEAR(box.left, 28, 1) << "turn " << orientation;
        EXPECT_NEAR(box.top, 28, 1) << "turn " << orientation;
    }
}

TEST(SvgFile, FractionalModulesDecodeToTheExactMessage) {
    const test::TempDir dir;
    const double modulePixels = 96 * 0.07 / 2.54;  // 2.65 pixels
    for (int i = 0; i < kSymbolSizeCount; i += 3) {
        const SymbolAttributes& size = kSquareSymbolTable[static_cast<std::size_t>(i)];
        const std::string message = test::ExactFill(size.dataCodewords, i % 3);
        const test::EncodedSymbol encoded = test::Encode(message);
        const auto side = static_cast<std::int32_t>(std::ceil((size.symbolRows + 4) * modulePixels));
        const std::string svg = SvgOf(encoded.state->symbol, SvgPicture{side, side + 7, modulePixels, i % 4,
                                                                        static_cast<BorderStyle>(i % 3), 0x000000, 0xFFFFFF, 96});
        test::WriteFileBytes(dir.file("s.svg"), svg);
        ASSERT_EQ(RunCommand({"rsvg-convert", "-o", dir.file("s.png"), dir.file("s.svg")}).exitCode, 0);
        EXPECT_EQ(test::ZxingRead(dir.file("s.png")), message) << size.symbolRows << ", turn " << i % 4;
    }
}

// "33.34 x 33.34" from pdfinfo's "Page size: 94.5071 x 94.5071 pts": the
// page's size in millimetres to two places.
std::string PageSizeMillimetres(const std::string& pdf) {
    const std::string info = RunCommand({"pdfinfo", pdf}).out;
    std::smatch match;
    if (!std::regex_search(info, match, std::regex("Page size: +([0-9.]+) x ([0-9.]+) pts"))) return "none in: " + info;
    char text[48];
    std::snprintf(text, sizeof text, "%.2f x %.2f", std::stod(match[1]) * 25.4 / 72, std::stod(match[2]) * 25.4 / 72);
    return text;
}

// LibreOffice gives the SVG the picture's physical size, as the PNG's pHYs
// gives it: 126 pixels at 96 dpi are 33.34 mm (it made 33.60 mm of a
// drawing that stays inside the viewport), 240 x 120 at 120 dpi 50.8 x
// 25.4 mm.
TEST(SvgFile, LibreOfficeSizesItAsThePixelsAtTheResolution) {
    if (RunCommand({"soffice", "--version"}).exitCode != 0 || RunCommand({"pdfinfo", "-v"}).exitCode != 0) {
        GTEST_SKIP() << "LibreOffice (soffice) or pdfinfo is not installed";
    }
    const test::EncodedSymbol encoded = test::Encode("LibreOffice");
    const test::TempDir dir;
    test::WriteFileBytes(dir.file("a.svg"), SvgOf(encoded.state->symbol, SvgPicture{126, 126, 3.0, 0, BorderStyle::None,
                                                                                   0x000000, 0xFFFFFF, 96}));
    test::WriteFileBytes(dir.file("b.svg"), SvgOf(encoded.state->symbol, SvgPicture{240, 120, 96 * 0.1 / 2.54, 1,
                                                                                   BorderStyle::Dashed, 0x000000, 0xFFFFFF, 120}));
    const test::CommandResult converted =
        RunCommand({"soffice", "-env:UserInstallation=file://" + dir.file("profile"), "--headless", "--convert-to", "pdf",
                    "--outdir", dir.file(""), dir.file("a.svg"), dir.file("b.svg")});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(PageSizeMillimetres(dir.file("a.pdf")), "33.34 x 33.34");
    EXPECT_EQ(PageSizeMillimetres(dir.file("b.pdf")), "50.80 x 25.40");
}

TEST(SvgFile, RefusesWhatDescribesNoPictureAndLeavesTheTextAsItWas) {
    const test::EncodedSymbol encoded = test::Encode("12");
    const SvgPicture good{40, 40, 2.0, 0, BorderStyle::Solid, 0, 0xFFFFFF, 96};
    std::vector<SvgPicture> refused(7, good);
    refused[0].width = 0;
    refused[1].height = -1;
    refused[2].dotsPerInch = 0;
    refused[3].orientation = 4;
    refused[4].modulePixels = -0.5;
    refused[5].modulePixels = std::nan("");
    refused[6].modulePixels = 2147483647.0 / 11;  // the 10 x 10 symbol's extent past 32 bits
    std::string svg = "kept";
    for (const SvgPicture& picture : refused) {
        EXPECT_EQ(AppendSvgFile(svg, encoded.state->symbol, picture), WriteResult::NotRepresentable);
    }
    EXPECT_EQ(svg, "kept");
    EXPECT_EQ(AppendSvgFile(svg, encoded.state->symbol, good), WriteResult::Written);
}

}  // namespace
}  // namespace ecc200

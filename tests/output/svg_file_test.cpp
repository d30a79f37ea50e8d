// The SVG writer: rendered by librsvg it shows the bitmap's pixels for
// whole-pixel modules and modules of exactly the asked size otherwise, with
// no outline a renderer could add; LibreOffice gives it its physical size.
#include "output/svg_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "encoder/module_matrix.h"
#include "support/square_sizes.h"
#include "platform/portable/portable_screen.h"
#include "render/picture_geometry.h"
#include "support/decoders.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/nine_settings.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::RunCommand;

// An image thresholded to one bit per pixel, as a PBM image.
std::string Pbm(const std::string& image) {
    return RunCommand({"convert", image, "-colorspace", "gray", "-threshold", "50%", "pbm:-"}).out;
}

// The SVG written to `name` in `dir` and rendered by librsvg with `options`
// to `name`.png; what ImageMagick then reports with `format` ("%@": the
// bounding box of the dark pixels) or, by default, its PBM.
// The picture an SVG shows: modules of exactly `modulePixels`.
PictureGeometry SvgPicture(const SymbolMatrix& symbol, std::int32_t width, std::int32_t height, double modulePixels,
                           int turn, BorderStyle border, std::uint32_t bar, std::uint32_t background, std::int32_t dpi) {
    return {&symbol, width, height, 0, turn, border, bar, background, dpi, dpi, modulePixels};
}

void WriteSvg(const test::TempDir& dir, const std::string& name, const PictureGeometry& picture) {
    std::string svg;
    EXPECT_TRUE(AppendSvgFile(svg, picture).ok());
    test::WriteFileBytes(dir.file(name), svg);
}

std::string Rendered(const test::TempDir& dir, const std::string& name, const PictureGeometry& picture,
                     const std::vector<std::string>& options = {}, const std::string& format = "") {
    WriteSvg(dir, name, picture);
    std::vector<std::string> command = {"rsvg-convert", "-o", dir.file(name + ".png"), dir.file(name)};
    command.insert(command.end(), options.begin(), options.end());
    EXPECT_EQ(RunCommand(command).exitCode, 0);
    if (!format.empty()) return RunCommand({"convert", dir.file(name + ".png"), "-threshold", "50%", "-format", format, "info:"}).out;
    return Pbm(dir.file(name + ".png"));
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
    for (int turn = 0; turn < 4; ++turn) {
        for (const BorderStyle border : {BorderStyle::None, BorderStyle::Dashed, BorderStyle::Solid}) {
            const DMSettings style = test::NineSettings(151, 120, 0.1f, turn, border, 0xAA0000, 0x00FFFF);
            const test::DrawnBitmap drawn = test::DrawBitmap(encoded.state->symbol, style);
            test::WriteFileBytes(dir.file("p.bmp"), std::string(drawn.file.begin(), drawn.file.end()));
            const std::string bitmap = Pbm(dir.file("p.bmp"));
            ASSERT_GT(bitmap.size(), 151u * 120 / 8);
            const PictureGeometry picture = SvgPicture(encoded.state->symbol, 151, 120, static_cast<double>(drawn.modulePixels),
                                                       turn, border, 0xAA0000, 0x00FFFF, 96);
            EXPECT_TRUE(Rendered(dir, "p.svg", picture) == bitmap) << turn << ", " << static_cast<int>(border);
            const std::string svg = test::ReadFileBytes(dir.file("p.svg"));
            EXPECT_EQ(Count(svg, "stroke"), Count(svg, "stroke=\"none\""));
            EXPECT_EQ(Count(svg, "stroke"), Count(svg, "<path"));
        }
    }
}

// Modules of 0.05 cm at 96 dpi are 1.89 pixels: rendered at 254 dpi (ten
// pixels a millimetre) the 10 x 10 symbol spans 5 mm (not the 2.6 mm of
// whole one-pixel modules), centred in the 40 pixels' 105.8.
TEST(SvgFile, FractionalModulesHaveExactlyTheAskedSize) {
    const test::EncodedSymbol encoded = test::Encode("12");
    const test::TempDir dir;
    for (int turn = 0; turn < 4; ++turn) {
        const PictureGeometry picture =
            SvgPicture(encoded.state->symbol, 40, 40, 96 * 0.05 / 2.54, turn, BorderStyle::None, 0x000000, 0xFFFFFF, 96);
        EXPECT_EQ(Rendered(dir, "f.svg", picture, {"-d", "254", "-p", "254"}, "%@"), "50x50+28+28") << turn;
    }
    // Fitted to the symbol and its quiet zone (14 x 1.89 pixels: 7 mm, 70
    // pixels at 254 dpi), the frame's four lines are each about a pixel at
    // 96 dpi wide (2.6 at 254) along the exact picture's edges.
    PictureGeometry framed =
        SvgPicture(encoded.state->symbol, 27, 27, 96 * 0.05 / 2.54, 0, BorderStyle::Solid, 0x000000, 0xFFFFFF, 96);
    framed.exactWidth = framed.exactHeight = 14 * framed.exactModulePixels;
    const std::string lines = Rendered(dir, "framed.svg", framed, {"-d", "254", "-p", "254"},
                                       "%w %[pixel:p{1,35}] %[pixel:p{68,35}] %[pixel:p{35,1}] %[pixel:p{35,68}] "
                                       "%[pixel:p{4,35}] %[pixel:p{65,35}]");
    EXPECT_EQ(lines, "70 srgb(0,0,0) srgb(0,0,0) srgb(0,0,0) srgb(0,0,0) srgb(255,255,255) srgb(255,255,255)");
}

TEST(SvgFile, FractionalModulesDecodeToTheExactMessage) {
    const test::TempDir dir;
    const double modulePixels = 96 * 0.07 / 2.54;  // 2.65 pixels
    for (int i = 0; i < kSymbolSizeCount; i += 3) {
        const SymbolAttributes& size = kSquareSymbolTable[static_cast<std::size_t>(i)];
        const std::string message = test::ExactFill(size.dataCodewords, i % 3);
        const auto side = static_cast<std::int32_t>(std::ceil((size.symbolRows + 4) * modulePixels));
        const test::EncodedSymbol encoded = test::Encode(message);
        Rendered(dir, "s.svg", SvgPicture(encoded.state->symbol, side, side + 7, modulePixels, i % 4,
                                          static_cast<BorderStyle>(i % 3), 0x000000, 0xFFFFFF, 96));
        EXPECT_EQ(test::ZxingRead(dir.file("s.svg.png")), message) << size.symbolRows << ", turn " << i % 4;
    }
}

// "33.34 x 33.34" (millimetres) from pdfinfo's "Page size: 94.5071 x 94.5071 pts".
std::string PageSize(const std::string& pdf) {
    std::smatch match;
    const std::string info = RunCommand({"pdfinfo", pdf}).out;
    if (!std::regex_search(info, match, std::regex("Page size: +([0-9.]+) x ([0-9.]+) pts"))) return "none in " + info;
    char text[48];
    std::snprintf(text, sizeof text, "%.2f x %.2f", std::stod(match[1]) * 25.4 / 72, std::stod(match[2]) * 25.4 / 72);
    return text;
}

// LibreOffice gives the SVG the pixels' size at the resolution, as the
// PNG's pHYs does: 126 pixels at 96 dpi are 33.34 mm (it made 33.60 mm of a
// drawing inside the viewport), 240 x 120 at 120 dpi 50.8 x 25.4 mm.
TEST(SvgFile, LibreOfficeSizesItAsThePixelsAtTheResolution) {
    if (RunCommand({"soffice", "--version"}).exitCode != 0 || RunCommand({"pdfinfo", "-v"}).exitCode != 0) {
        GTEST_SKIP() << "LibreOffice (soffice) or pdfinfo is not installed";
    }
    const test::EncodedSymbol encoded = test::Encode("LibreOffice");
    const test::TempDir dir;
    const SymbolMatrix& symbol = encoded.state->symbol;
    WriteSvg(dir, "a.svg", SvgPicture(symbol, 126, 126, 3.0, 0, BorderStyle::None, 0x000000, 0xFFFFFF, 96));
    WriteSvg(dir, "b.svg", SvgPicture(symbol, 240, 120, 96 * 0.1 / 2.54, 1, BorderStyle::Dashed, 0x000000, 0xFFFFFF, 120));
    const test::CommandResult converted = RunCommand({"soffice", "-env:UserInstallation=file://" + dir.file("profile"), "--headless",
                                                      "--convert-to", "pdf", "--outdir", dir.file(""), dir.file("a.svg"), dir.file("b.svg")});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(PageSize(dir.file("a.pdf")), "33.34 x 33.34");
    EXPECT_EQ(PageSize(dir.file("b.pdf")), "50.80 x 25.40");
}

TEST(SvgFile, RefusesWhatDescribesNoPictureAndLeavesTheTextAsItWas) {
    const test::EncodedSymbol encoded = test::Encode("12");
    // No width, no height, no resolution, a fifth turn, modules negative,
    // not a number, and past 32 bits for the 10 x 10 symbol.
    const SymbolMatrix& symbol = encoded.state->symbol;
    const PictureGeometry refused[] = {SvgPicture(symbol, 0, 40, 2.0, 0, BorderStyle::None, 0, 0xFFFFFF, 96),
                                       SvgPicture(symbol, 40, -1, 2.0, 0, BorderStyle::None, 0, 0xFFFFFF, 96),
                                       SvgPicture(symbol, 40, 40, 2.0, 0, BorderStyle::None, 0, 0xFFFFFF, 0),
                                       SvgPicture(symbol, 40, 40, 2.0, 4, BorderStyle::None, 0, 0xFFFFFF, 96),
                                       SvgPicture(symbol, 40, 40, -0.5, 0, BorderStyle::None, 0, 0xFFFFFF, 96),
                                       SvgPicture(symbol, 40, 40, std::nan(""), 0, BorderStyle::None, 0, 0xFFFFFF, 96),
                                       SvgPicture(symbol, 40, 40, 2147483647.0 / 11, 0, BorderStyle::None, 0, 0xFFFFFF, 96)};
    std::string svg = "kept";
    for (const PictureGeometry& picture : refused) {
        EXPECT_EQ(AppendSvgFile(svg, picture).failure, Failure::PictureTooLarge);
    }
    EXPECT_EQ(svg, "kept");
}

}  // namespace
}  // namespace ecc200

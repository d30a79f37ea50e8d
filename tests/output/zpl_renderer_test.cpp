// ZPL labels on a stand-in printer: a real ZPL renderer (zpl-renderer-js,
// installed by CTest into the build folder) prints them at 8, 12 and 24
// dots/mm; each printed label has exactly the label's dots, and
// ZXingReader and dmtxread read the message back from it.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
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

using test::CommandResult;

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

using test::RunTool;

// The tool's labels at the three heads: the module rounded to whole dots
// of each (0.25 mm: 2, 3 and 6 dots), a GS1 message read back as GS1, and
// a module more than 5 % off reported in mm and dots.
TEST(ZplTool, PrintsGs1LabelsInWholeDotsOfEachHead) {
    const test::TempDir dir;
    const std::string gs1 = "(01)09506000134352(21)ZPL4711";
    const CommandResult matrix = RunTool({"--gs1", "-p", "matrix", gs1});
    const long side = static_cast<long>(std::count(matrix.out.begin(), matrix.out.end(), '\n'));
    std::vector<std::string> pngs;
    for (const Resolution resolution : {Resolution{203, 8}, Resolution{300, 12}, Resolution{600, 24}}) {
        const std::string stem = dir.file("gs1-" + std::to_string(resolution.dotsPerInch));
        const CommandResult made = RunTool({"--gs1", "-d", std::to_string(resolution.dotsPerInch), "-m", "0.025", "-r", "1",
                                            "-o", stem + ".zpl", gs1});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        EXPECT_EQ(made.err, "");
        const test::ZplGraphic label = test::ReadStrictZpl(test::ReadFileBytes(stem + ".zpl"));
        ASSERT_EQ(label.error, "");
        const long dots = std::lround(0.25 * resolution.dotsPerInch / 25.4);
        EXPECT_EQ(label.labelWidth % dots, 0);
        EXPECT_EQ(label.labelWidth / dots, side + 4);  // the symbol and a quiet zone of 2 modules
        const CommandResult rendered = test::RunCommand({"node", ECC200_RENDER_ZPL_SCRIPT, ECC200_ZPL_RENDERER_PREFIX,
                                                         std::to_string(resolution.dotsPerMm), stem + ".zpl", stem});
        ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
        EXPECT_EQ(DotsUnlike(stem + "-0.png", label), 0);
        pngs.push_back(stem + "-0.png");
    }
    const auto read = test::ZxingReadAll(pngs);
    for (const std::string& png : pngs) {
        ASSERT_EQ(read.count(png), 1u) << png;
        EXPECT_EQ(read.at(png).identifier, "]d2");
        EXPECT_EQ(read.at(png).bytes, "010950600013435221ZPL4711");
    }
    const CommandResult off = RunTool({"-m", "0.03", "-o", dir.file("off.zpl"), "12"});
    EXPECT_EQ(off.exitCode, 0);
    EXPECT_NE(off.err.find("ZPL modules of 0.3 mm (2.40 dots at 203 dpi) are printed as 2 dots, 0.25 mm"),
              std::string::npos) << off.err;
}

// A batch into one file holds one label a line, in line order, a failed
// line left out and reported; the printer's one job reads back line by
// line. Standard output gets the same bytes as a file, and a label past
// ^GF's counts is refused with nothing written.
TEST(ZplTool, WritesABatchAsOneStreamOfLabelsInLineOrder) {
    const test::TempDir dir;
    const std::vector<std::string> lines = {"LOT 1", "second label", "", "3rd: 0123456789012345678901234567890", "four"};
    std::string list;
    for (const std::string& line : lines) list += line + "\n";
    test::WriteFileBytes(dir.file("lines.txt"), list);
    const CommandResult batch = RunTool({"--batch", dir.file("lines.txt"), "--zpl-z64", "-o", dir.file("labels.zpl")});
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_NE(batch.err.find("ecc200: line 3: empty line"), std::string::npos) << batch.err;
    const std::string stream = test::ReadFileBytes(dir.file("labels.zpl"));
    const std::vector<test::ZplGraphic> labels = test::ReadStrictZplLines(stream);
    ASSERT_EQ(labels.size(), 4u);
    for (const test::ZplGraphic& label : labels) EXPECT_EQ(label.error, "");
    const CommandResult rendered = test::RunCommand({"node", ECC200_RENDER_ZPL_SCRIPT, ECC200_ZPL_RENDERER_PREFIX, "8",
                                                     dir.file("labels.zpl"), dir.file("stream")});
    ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
    std::vector<std::string> pngs;
    for (int n = 0; n < 4; ++n) pngs.push_back(dir.file("stream-" + std::to_string(n) + ".png"));
    const auto read = test::ZxingReadAll(pngs);
    const std::string expected[] = {lines[0], lines[1], lines[3], lines[4]};
    for (int n = 0; n < 4; ++n) {
        ASSERT_EQ(read.count(pngs[n]), 1u) << pngs[n];
        EXPECT_EQ(read.at(pngs[n]).bytes, expected[n]);
    }

    // Through a symbolic link, the link kept; a stream the file system stops
    // after a kilobyte leaves the file as it was and nothing beside it.
    std::filesystem::create_symlink("labels.zpl", dir.file("link.zpl"));
    const auto entries = [&] {
        return std::distance(std::filesystem::directory_iterator(std::filesystem::path(dir.file("")).parent_path()), {});
    };
    const auto before = entries();
    const CommandResult stopped = test::RunCommand({"sh", "-c", "trap '' XFSZ; ulimit -f 1; exec \"$@\"", "sh",
                                                    std::getenv("ECC200_TOOL"), "--batch", dir.file("lines.txt"), "-o",
                                                    dir.file("link.zpl")});
    EXPECT_NE(stopped.err.find("cannot write " + dir.file("link.zpl")), std::string::npos) << stopped.err;
    EXPECT_EQ(test::ReadFileBytes(dir.file("labels.zpl")), stream);
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(RunTool({"--batch", dir.file("lines.txt"), "-o", dir.file("link.zpl")}).exitCode, 1);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.zpl")));
    EXPECT_EQ(test::ReadStrictZplLines(test::ReadFileBytes(dir.file("labels.zpl"))).size(), 4u);

    const CommandResult piped = RunTool({"-o", "-", "-f", "zpl", "--zpl-z64", "four"});
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.out, stream.substr(stream.rfind("^XA")));

    const CommandResult refused = RunTool({"--module-px", "40", "-o", dir.file("big.zpl"), std::string(1500, 'A')});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("needs a ZPL graphic field of"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("^GF holds 99999"), std::string::npos) << refused.err;
    EXPECT_EQ(test::RunCommand({"test", "-e", dir.file("big.zpl")}).exitCode, 1);
}

}  // namespace
}  // namespace ecc200

// The print documents read back by real renderers: poppler (pdftoppm,
// pdfinfo, pdftotext), qpdf and Ghostscript turn our PDF and EPS into
// pixels, sizes and text, and ZXingReader and dmtxread read the pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "encoder/human_readable_text.h"
#include "encoder/module_matrix.h"
#include "output/bmp_file.h"
#include "output/eps_file.h"
#include "output/pdf_file.h"
#include "output/pdf_page_reader.h"
#include "output/print_layout.h"
#include "output/print_picture.h"
#include "platform/portable/portable_screen.h"
#include "support/decoders.h"
#include "support/drawn_bitmap.h"
#include "support/encoded_symbol.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::RunCommand;

constexpr std::int32_t kDpi = 96;
constexpr double kMillimetresPerPoint = 25.4 / 72;

PrintRequest RequestOf(double moduleCentimetres, int orientation = 0, BorderStyle border = BorderStyle::None) {
    return PrintRequest{0, 0, kDpi * moduleCentimetres / 2.54, 2, orientation, border, 0x000000, 0xFFFFFF, kDpi, ""};
}

PrintPicture Laid(const SymbolMatrix& symbol, const PrintRequest& request) {
    PrintPicture picture;
    EXPECT_TRUE(LayPrintPicture(symbol, request, picture).ok());
    return picture;
}

std::string Pdf(const PrintPicture& picture) {
    std::string pdf;
    EXPECT_TRUE(AppendPdfFile(pdf, picture).ok());
    return pdf;
}

std::string Eps(const PrintPicture& picture) {
    std::string eps;
    EXPECT_TRUE(AppendEpsFile(eps, picture).ok());
    return eps;
}

// The PGM of page `page` of a PDF at `dpi`.
std::string RasterisePdf(const std::string& pdf, int dpi, int page = 1) {
    EXPECT_EQ(RunCommand({"pdftoppm", "-gray", "-r", std::to_string(dpi), "-f", std::to_string(page), "-l",
                          std::to_string(page), "-singlefile", pdf, pdf + "-" + std::to_string(page)})
                  .exitCode,
              0)
        << pdf;
    return pdf + "-" + std::to_string(page) + ".pgm";
}

std::string RasteriseEps(const std::string& eps, int dpi) {
    const std::string pgm = eps + ".pgm";
    EXPECT_EQ(RunCommand({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=pgmraw",
                          "-r" + std::to_string(dpi), "-sOutputFile=" + pgm, eps})
                  .exitCode,
              0);
    return pgm;
}

double Number(const std::string& text, const std::string& pattern) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern))) return -1;
    return std::stod(match[1]);
}

struct Case {
    const char* message;
    int orientation;
    BorderStyle border;
    std::uint32_t bar;
    std::uint32_t background;
};

TEST(PrintFiles, PdfAndEpsAreReadBackAtThreeAndSixHundredDpi) {
    const Case cases[] = {
        {"ECC 200 Data Matrix", 0, BorderStyle::None, 0x000000, 0xFFFFFF},
        {"LOT 4711, 2026-12-07 (turned)", 1, BorderStyle::Solid, 0x000080, 0xFFFFE0},
        {"0123456789012345678901234567890123456789", 2, BorderStyle::Dashed, 0x8B0000, 0xF0F0F0},
        {"A longer message, so that the symbol is larger: 1234567890 abcdefghijklmnopqrstuvwxyz", 3,
         BorderStyle::Solid, 0x000000, 0xFFFFFF},
    };
    const test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const test::EncodedSymbol encoded = test::Encode(c.message);
        ASSERT_TRUE(encoded.built);
        PrintRequest request = RequestOf(0.05, c.orientation, c.border);
        request.bar = c.bar;
        request.background = c.background;
        const PrintPicture picture = Laid(encoded.state->symbol, request);
        const std::string pdf = dir.file("case.pdf");
        const std::string eps = dir.file("case.eps");
        test::WriteFileBytes(pdf, Pdf(picture));
        test::WriteFileBytes(eps, Eps(picture));
        const test::CommandResult check = RunCommand({"qpdf", "--check", pdf});
        EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
        for (const int dpi : {300, 600}) {
            SCOPED_TRACE(dpi);
            const std::string pdfPixels = RasterisePdf(pdf, dpi);
            const std::string epsPixels = RasteriseEps(eps, dpi);
            EXPECT_EQ(test::ZxingRead(pdfPixels), c.message);
            EXPECT_EQ(test::ZxingRead(epsPixels), c.message);
            EXPECT_EQ(test::DmtxRead(pdfPixels, encoded.state->symbol.side()), c.message);
            EXPECT_EQ(test::DmtxRead(epsPixels, encoded.state->symbol.side()), c.message);
        }
    }
}

// At -m 0.05 a 22 x 22 symbol with its quiet zone of 2 is exactly 13 mm: no
// rounding to whole pixels on the way.
TEST(PrintFiles, PageIsTheSymbolAndQuietZoneAtTheModuleSizeExactly) {
    const test::TempDir dir;
    for (const double centimetres : {0.05, 0.0254, 0.2}) {
        const test::EncodedSymbol encoded = test::Encode("0123456789012345678901234567890123456789");
        ASSERT_TRUE(encoded.built);
        const double expected = (encoded.state->symbol.side() + 4) * centimetres * 10;
        const PrintPicture picture = Laid(encoded.state->symbol, RequestOf(centimetres));
        test::WriteFileBytes(dir.file("size.pdf"), Pdf(picture));
        const std::string info = RunCommand({"pdfinfo", dir.file("size.pdf")}).out;
        EXPECT_NEAR(Number(info, R"(Page size:\s+([0-9.]+) x)") * kMillimetresPerPoint, expected, 0.01) << info;
        EXPECT_NEAR(Number(info, R"(Page size:\s+[0-9.]+ x ([0-9.]+))") * kMillimetresPerPoint, expected, 0.01);
        const std::string eps = Eps(picture);
        EXPECT_NEAR(Number(eps, R"(%%HiResBoundingBox: 0 0 ([0-9.]+))") * kMillimetresPerPoint, expected, 0.01);
        EXPECT_EQ(Number(eps, R"(%%BoundingBox: 0 0 ([0-9]+))"), std::ceil(expected / kMillimetresPerPoint));
    }
}

// With whole-pixel modules the page is the BMP's drawing pixel for pixel:
// each turn puts every module where the bitmap has it, and the frame is
// DrawBorder's. The page is rendered at four times its resolution and read
// at the centre of each of its pixels, which no renderer's edge rule moves.
TEST(PrintFiles, WholePixelPageIsTheBitmapForEveryTurnAndFrame) {
    platform::SetPortableScreenDpi(kDpi);
    const test::EncodedSymbol encoded = test::Encode("Turn me");
    const SymbolMatrix& symbol = encoded.state->symbol;
    const test::TempDir dir;
    const std::int32_t side = (symbol.side() + 4) * 4;
    constexpr int kScale = 4;
    for (int orientation = 0; orientation < 4; ++orientation) {
        const BorderStyle border = orientation % 2 == 0 ? BorderStyle::Dashed : BorderStyle::Solid;
        SCOPED_TRACE(orientation);
        PrintRequest request = RequestOf(0, orientation, border);
        request.modulePixels = 4;
        test::WriteFileBytes(dir.file("turn.pdf"), Pdf(Laid(symbol, request)));
        const std::string pgm = test::ReadFileBytes(RasterisePdf(dir.file("turn.pdf"), kDpi * kScale));
        const std::int32_t scaled = side * kScale;
        const std::string header = "P5\n" + std::to_string(scaled) + " " + std::to_string(scaled) + "\n255\n";
        ASSERT_EQ(pgm.compare(0, header.size(), header), 0) << pgm.substr(0, 20);
        const test::DrawnBitmap bmp = test::DrawBitmap(
            symbol, PictureStyle{side, side, 4.5f * 2.54f / kDpi, orientation, border, 0x000000, 0xFFFFFF});
        ASSERT_EQ(bmp.modulePixels, 4);
        const std::size_t stride = (static_cast<std::size_t>(side) + 31) / 32 * 4;
        int differing = 0;
        for (std::int32_t y = 0; y < side; ++y) {
            for (std::int32_t x = 0; x < side; ++x) {
                const std::uint8_t byte = bmp.file[kRowsOffset + static_cast<std::size_t>(side - 1 - y) * stride + x / 8];
                const bool bmpDark = (byte >> (7 - x % 8) & 1) == 0;  // entry 0 is the bar colour
                const std::size_t centre = static_cast<std::size_t>(y * kScale + kScale / 2) * scaled + x * kScale + kScale / 2;
                const bool pdfDark = static_cast<std::uint8_t>(pgm[header.size() + centre]) < 128;
                differing += bmpDark != pdfDark;
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

TEST(PrintFiles, HriIsSelectableTextUnderTheSymbolAndTheSymbolStillReads) {
    const test::TempDir dir;
    std::string hri;
    ASSERT_EQ(HumanReadableText("[01]09506000134352[17]201225[10]ABC123", true, hri), "");
    EXPECT_EQ(hri, "(01)09506000134352(17)201225(10)ABC123");
    const char* message = "Serial (4711) \\ back";
    const test::EncodedSymbol encoded = test::Encode(message);
    PrintRequest request = RequestOf(0.1);
    ASSERT_EQ(HumanReadableText(message, false, request.text), "");
    const PrintPicture picture = Laid(encoded.state->symbol, request);
    const PrintPicture plain = Laid(encoded.state->symbol, RequestOf(0.1));
    EXPECT_EQ(picture.width, plain.width);
    EXPECT_GT(picture.height, plain.height);
    const std::string pdf = dir.file("hri.pdf");
    const std::string eps = dir.file("hri.eps");
    test::WriteFileBytes(pdf, Pdf(picture));
    test::WriteFileBytes(eps, Eps(picture));
    EXPECT_EQ(RunCommand({"qpdf", "--check", pdf}).exitCode, 0);
    EXPECT_NE(RunCommand({"pdftotext", pdf, "-"}).out.find(message), std::string::npos);
    EXPECT_NE(RunCommand({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite", "-sOutputFile=-", eps})
                  .out.find(message),
              std::string::npos);
    EXPECT_EQ(test::ZxingRead(RasterisePdf(pdf, 300)), message);
    EXPECT_EQ(test::ZxingRead(RasteriseEps(eps, 300)), message);
    // Messages the text cannot show are refused by name.
    EXPECT_NE(HumanReadableText("line\nbreak", false, hri).find("0x0A at 4"), std::string::npos);
    EXPECT_NE(HumanReadableText("caf\xE9", false, hri).find("0xE9 at 3"), std::string::npos);
    EXPECT_NE(HumanReadableText("", false, hri), "");
    EXPECT_EQ(hri, "");
}

// Pages drawn apart as one-page documents, read back and put together, as
// the batch does; only our own one-page documents are taken.
TEST(PrintFiles, DocumentHasOnePagePerPictureInOrder) {
    const std::vector<std::string> messages = {"label 0001", "label 0002", "a longer label 0003", "4", "label 0005"};
    std::vector<PdfPage> pages(messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const test::EncodedSymbol encoded = test::Encode(messages[i]);
        PrintRequest request = RequestOf(0.08, static_cast<int>(i % 4));
        if (i != 3) request.text = messages[i];
        std::string alone = Pdf(Laid(encoded.state->symbol, request));
        ASSERT_TRUE(ReadPdfPage(alone, pages[i]));
        alone.insert(alone.find("stream\n") + 7, " ");
        PdfPage changed;
        EXPECT_FALSE(ReadPdfPage(alone, changed));
        EXPECT_TRUE(changed.content.empty());
    }
    std::string document;
    ASSERT_TRUE(AppendPdfDocument(document, pages).ok());
    const test::TempDir dir;
    const std::string pdf = dir.file("batch.pdf");
    test::WriteFileBytes(pdf, document);
    EXPECT_EQ(RunCommand({"qpdf", "--check", pdf}).exitCode, 0);
    EXPECT_EQ(Number(RunCommand({"pdfinfo", pdf}).out, R"(Pages:\s+([0-9]+))"), 5);
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const int page = static_cast<int>(i) + 1;
        EXPECT_EQ(test::ZxingRead(RasterisePdf(pdf, 300, page)), messages[i]);
        const std::string text = RunCommand({"pdftotext", "-f", std::to_string(page), "-l", std::to_string(page), pdf, "-"}).out;
        EXPECT_EQ(text.find(messages[i]) != std::string::npos, i != 3) << text;
    }
}

TEST(PrintFiles, PicturesNoPageCanHoldAreRefusedWithNothingWritten) {
    const test::EncodedSymbol encoded = test::Encode("12");
    PrintPicture huge = Laid(encoded.state->symbol, RequestOf(30));  // 14 x 30 cm: 11,906 points
    PrintPicture past = Laid(encoded.state->symbol, RequestOf(40));  // 15,874 points
    std::string out = "kept";
    EXPECT_TRUE(AppendPdfFile(out, huge).ok());
    out = "kept";
    const Outcome tooLarge = AppendPdfFile(out, past);
    EXPECT_EQ(tooLarge.failure, Failure::PictureTooLarge);
    EXPECT_NE(tooLarge.message.find("14400 points"), std::string::npos) << tooLarge.message;
    EXPECT_TRUE(AppendEpsFile(out, past).ok());  // EPS states any size
    out = "kept";
    past.cellEdge = std::nan("");
    EXPECT_EQ(AppendEpsFile(out, past).failure, Failure::PictureTooLarge);
    huge.text.push_back({"tab\there", 1, 1, 1});
    EXPECT_EQ(AppendPdfFile(out, huge).failure, Failure::PictureTooLarge);
    EXPECT_EQ(out, "kept");
    PrintRequest bad = RequestOf(0.1);
    bad.modulePixels = -1;
    EXPECT_EQ(LayPrintPicture(encoded.state->symbol, bad, huge).failure, Failure::InvalidArgument);
}

}  // namespace
}  // namespace ecc200

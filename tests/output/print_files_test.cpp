// The print documents read back by real renderers: poppler (pdftoppm,
// pdfinfo, pdftotext), qpdf and Ghostscript turn our PDF and EPS into
// pixels, sizes and text, and ZXingReader and dmtxread read the pixels.
// The documents come through the public interface, as a user gets them.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include <ecc200.hpp>

#include "output/bmp_file.h"
#include "output/eps_file.h"
#include "output/pdf_file.h"
#include "output/pdf_page_reader.h"
#include "output/print_picture.h"
#include "support/decoders.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::RunCommand;

constexpr int kDpi = 96;
constexpr double kMillimetresPerPoint = 25.4 / 72;

ecc200::Picture PictureOf(double moduleCentimetres, int quarterTurns = 0, Border border = Border::none) {
    ecc200::Picture picture;
    picture.module_cm = moduleCentimetres;
    picture.dpi = kDpi;
    picture.quarter_turns = quarterTurns;
    picture.border = border;
    return picture;
}

std::string Rendered(const Symbol& symbol, const ecc200::Picture& picture, Format format) {
    const std::vector<std::uint8_t> bytes = render(symbol, picture, format);
    return std::string(bytes.begin(), bytes.end());
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
    Border border;
    Rgb bar;
    Rgb background;
};

TEST(PrintFiles, PdfAndEpsAreReadBackAtThreeAndSixHundredDpi) {
    const Case cases[] = {
        {"ECC 200 Data Matrix", 0, Border::none, {0, 0, 0}, {255, 255, 255}},
        {"LOT 4711, 2026-12-07 (turned)", 1, Border::solid, {0, 0, 0x80}, {0xFF, 0xFF, 0xE0}},
        {"0123456789012345678901234567890123456789", 2, Border::dashed, {0x8B, 0, 0}, {0xF0, 0xF0, 0xF0}},
        {"A longer message, so that the symbol is larger: 1234567890 abcdefghijklmnopqrstuvwxyz", 3,
         Border::solid, {0, 0, 0}, {255, 255, 255}},
    };
    const test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Symbol symbol = encode(c.message);
        ecc200::Picture picture = PictureOf(0.05, c.orientation, c.border);
        picture.bar = c.bar;
        picture.background = c.background;
        const std::string pdf = dir.file("case.pdf");
        const std::string eps = dir.file("case.eps");
        test::WriteFileBytes(pdf, Rendered(symbol, picture, Format::pdf));
        test::WriteFileBytes(eps, Rendered(symbol, picture, Format::eps));
        const test::CommandResult check = RunCommand({"qpdf", "--check", pdf});
        EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
        for (const int dpi : {300, 600}) {
            SCOPED_TRACE(dpi);
            const std::string pdfPixels = RasterisePdf(pdf, dpi);
            const std::string epsPixels = RasteriseEps(eps, dpi);
            EXPECT_EQ(test::ZxingRead(pdfPixels), c.message);
            EXPECT_EQ(test::ZxingRead(epsPixels), c.message);
            EXPECT_EQ(test::DmtxRead(pdfPixels, symbol.rows()), c.message);
            EXPECT_EQ(test::DmtxRead(epsPixels, symbol.rows()), c.message);
        }
    }
}

// At -m 0.05 a 22 x 22 symbol with its quiet zone of 2 is exactly 13 mm: no
// rounding to whole pixels on the way.
TEST(PrintFiles, PageIsTheSymbolAndQuietZoneAtTheModuleSizeExactly) {
    const test::TempDir dir;
    for (const double centimetres : {0.05, 0.0254, 0.2}) {
        const Symbol symbol = encode("0123456789012345678901234567890123456789");
        const double expected = (symbol.rows() + 4) * centimetres * 10;
        test::WriteFileBytes(dir.file("size.pdf"), Rendered(symbol, PictureOf(centimetres), Format::pdf));
        const std::string info = RunCommand({"pdfinfo", dir.file("size.pdf")}).out;
        EXPECT_NEAR(Number(info, R"(Page size:\s+([0-9.]+) x)") * kMillimetresPerPoint, expected, 0.01) << info;
        EXPECT_NEAR(Number(info, R"(Page size:\s+[0-9.]+ x ([0-9.]+))") * kMillimetresPerPoint, expected, 0.01);
        const std::string eps = Rendered(symbol, PictureOf(centimetres), Format::eps);
        EXPECT_NEAR(Number(eps, R"(%%HiResBoundingBox: 0 0 ([0-9.]+))") * kMillimetresPerPoint, expected, 0.01);
        EXPECT_EQ(Number(eps, R"(%%BoundingBox: 0 0 ([0-9]+))"), std::ceil(expected / kMillimetresPerPoint));
    }
}

// With whole-pixel modules the page is the BMP's drawing pixel for pixel:
// each turn puts every module where the bitmap has it, and the frame is
// DrawBorder's. The page is rendered at four times its resolution and read
// at the centre of each of its pixels, which no renderer's edge rule moves.
TEST(PrintFiles, WholePixelPageIsTheBitmapForEveryTurnAndFrame) {
    const Symbol symbol = encode("Turn me");
    const test::TempDir dir;
    const int side = (symbol.rows() + 4) * 4;
    constexpr int kScale = 4;
    for (int orientation = 0; orientation < 4; ++orientation) {
        SCOPED_TRACE(orientation);
        ecc200::Picture picture = PictureOf(0, orientation, orientation % 2 == 0 ? Border::dashed : Border::solid);
        picture.module_px = 4;
        test::WriteFileBytes(dir.file("turn.pdf"), Rendered(symbol, picture, Format::pdf));
        const std::string pgm = test::ReadFileBytes(RasterisePdf(dir.file("turn.pdf"), kDpi * kScale));
        const int scaled = side * kScale;
        const std::string header = "P5\n" + std::to_string(scaled) + " " + std::to_string(scaled) + "\n255\n";
        ASSERT_EQ(pgm.compare(0, header.size(), header), 0) << pgm.substr(0, 20);
        const std::string bmp = Rendered(symbol, picture, Format::bmp);
        const std::size_t stride = (static_cast<std::size_t>(side) + 31) / 32 * 4;
        ASSERT_EQ(bmp.size(), kRowsOffset + stride * side);
        int differing = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const auto byte = static_cast<std::uint8_t>(bmp[kRowsOffset + static_cast<std::size_t>(side - 1 - y) * stride + x / 8]);
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
    const char* message = "Serial (4711) \\ back";
    const Symbol symbol = encode(message);
    ecc200::Picture picture = PictureOf(0.1);
    const Layout plain = layout(symbol, picture, Format::pdf);
    picture.hri = true;
    const Layout grown = layout(symbol, picture, Format::pdf);
    EXPECT_EQ(grown.width, plain.width);
    EXPECT_GT(grown.height, plain.height);
    const std::string pdf = dir.file("hri.pdf");
    const std::string eps = dir.file("hri.eps");
    test::WriteFileBytes(pdf, Rendered(symbol, picture, Format::pdf));
    test::WriteFileBytes(eps, Rendered(symbol, picture, Format::eps));
    EXPECT_EQ(RunCommand({"qpdf", "--check", pdf}).exitCode, 0);
    EXPECT_NE(RunCommand({"pdftotext", pdf, "-"}).out.find(message), std::string::npos);
    EXPECT_NE(RunCommand({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite", "-sOutputFile=-", eps})
                  .out.find(message),
              std::string::npos);
    EXPECT_EQ(test::ZxingRead(RasterisePdf(pdf, 300)), message);
    EXPECT_EQ(test::ZxingRead(RasteriseEps(eps, 300)), message);
    // A GS1 line in round brackets, whichever form was given; the bytes of
    // every segment, one after another.
    ecc200::EncodeOptions gs1;
    gs1.gs1 = true;
    const std::string gs1Pdf = dir.file("gs1.pdf");
    test::WriteFileBytes(gs1Pdf, Rendered(encode("[01]09506000134352[17]201225[10]ABC123", gs1), picture, Format::pdf));
    EXPECT_NE(RunCommand({"pdftotext", gs1Pdf, "-"}).out.find("(01)09506000134352(17)201225(10)ABC123"),
              std::string::npos);
    test::WriteFileBytes(pdf, Rendered(encode_segments({{"caf", 0}, {"e au lait", 0}}), picture, Format::pdf));
    EXPECT_NE(RunCommand({"pdftotext", pdf, "-"}).out.find("cafe au lait"), std::string::npos);
    // Messages the text cannot show are refused by name, the byte's place
    // counted across segments.
    const auto refusal = [&](const Symbol& refused) {
        ecc200::Diagnostic diagnostic;
        EXPECT_TRUE(render(refused, picture, Format::pdf, diagnostic).empty());
        return diagnostic.message;
    };
    EXPECT_NE(refusal(encode("line\nbreak")).find("0x0A at 4"), std::string::npos);
    EXPECT_NE(refusal(encode_segments({{"ab", 0}, {"caf\xE9", 0}})).find("0xE9 at 5"), std::string::npos);
    EXPECT_NE(refusal(encode("")).find("empty"), std::string::npos);
}

// Pages drawn apart as one-page documents, read back and put together, as
// the batch does; only our own one-page documents are taken.
TEST(PrintFiles, DocumentHasOnePagePerPictureInOrder) {
    const std::vector<std::string> messages = {"label 0001", "label 0002", "a longer label 0003", "4", "label 0005"};
    std::vector<PdfPage> pages(messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
        ecc200::Picture picture = PictureOf(0.08, static_cast<int>(i % 4));
        picture.hri = i != 3;
        std::string alone = Rendered(encode(messages[i]), picture, Format::pdf);
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
    // The public call saves the same document, and refuses what is not ours.
    std::vector<std::string> alone;
    for (const std::string& message : messages) alone.push_back(Rendered(encode(message), PictureOf(0.08), Format::pdf));
    std::vector<const std::uint8_t*> data;
    std::vector<std::size_t> sizes;
    for (const std::string& page : alone) {
        data.push_back(reinterpret_cast<const std::uint8_t*>(page.data()));
        sizes.push_back(page.size());
    }
    ecc200_diagnostic diagnostic{};
    diagnostic.struct_size = sizeof diagnostic;
    EXPECT_EQ(ecc200_save_pdf_pages(data.data(), sizes.data(), data.size(), dir.file("saved.pdf").c_str(), &diagnostic), ECC200_OK);
    EXPECT_EQ(ecc200_save_pdf_pages(data.data(), sizes.data(), 0, dir.file("none.pdf").c_str(), &diagnostic),
              ECC200_INVALID_ARGUMENT);
    EXPECT_EQ(ecc200_save_pdf_pages(nullptr, sizes.data(), 1, dir.file("none.pdf").c_str(), &diagnostic),
              ECC200_INVALID_ARGUMENT);
    sizes[2] -= 1;
    EXPECT_EQ(ecc200_save_pdf_pages(data.data(), sizes.data(), data.size(), dir.file("none.pdf").c_str(), &diagnostic),
              ECC200_INVALID_ARGUMENT);
    EXPECT_STREQ(diagnostic.message, "page 3 is not a one-page PDF of ecc200_render");
    EXPECT_EQ(RunCommand({"test", "-e", dir.file("none.pdf")}).exitCode, 1);
    EXPECT_EQ(Number(RunCommand({"pdfinfo", dir.file("saved.pdf")}).out, R"(Pages:\s+([0-9]+))"), 5);
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
    const Symbol symbol = encode("12");
    std::vector<std::uint8_t> out;
    render(symbol, PictureOf(30), Format::pdf, out);  // 14 x 30 cm: 11,906 points
    Diagnostic diagnostic;
    render(symbol, PictureOf(40), Format::pdf, out, diagnostic);  // 15,874 points
    EXPECT_EQ(diagnostic.code, make_error_code(Status::picture_too_large));
    EXPECT_NE(diagnostic.message.find("14400 points"), std::string::npos) << diagnostic.message;
    render(symbol, PictureOf(40), Format::eps, out);  // EPS states any size
    // The writers refuse what they cannot write, appending nothing.
    PrintPicture picture{10, 10, 1, 0xFFFFFF, 0, 0, 0, 0, std::nan(""), {}, {}, {}};
    std::string kept = "kept";
    EXPECT_EQ(AppendEpsFile(kept, picture).failure, Failure::PictureTooLarge);
    picture.cellEdge = 1;
    picture.text.push_back({"tab\there", 1, 1, 1});
    EXPECT_EQ(AppendPdfFile(kept, picture).failure, Failure::PictureTooLarge);
    EXPECT_EQ(kept, "kept");
}

}  // namespace
}  // namespace ecc200

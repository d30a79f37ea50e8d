// The print formats through the tool, as a user runs it: PDF and EPS files
// rendered by poppler and Ghostscript and read back by ZXingReader, the
// page sizes pdfinfo gives, the human-readable text pdftotext finds, and a
// batch into one document.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include <ecc200.hpp>

#include "support/decoders.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::CommandResult;

constexpr double kMillimetresPerPoint = 25.4 / 72;

using test::RunTool;

double Number(const std::string& text, const std::string& pattern) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern))) return -1;
    return std::stod(match[1]);
}

std::string PdfPixels(const std::string& pdf, int dpi, int page = 1) {
    const std::string prefix = pdf + "-" + std::to_string(dpi) + "-" + std::to_string(page);
    EXPECT_EQ(test::RunCommand({"pdftoppm", "-gray", "-r", std::to_string(dpi), "-f", std::to_string(page), "-l",
                                std::to_string(page), "-singlefile", pdf, prefix})
                  .exitCode,
              0);
    return prefix + ".pgm";
}

std::string EpsPixels(const std::string& eps, int dpi) {
    const std::string pgm = eps + "-" + std::to_string(dpi) + ".pgm";
    EXPECT_EQ(test::RunCommand({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=pgmraw",
                                "-r" + std::to_string(dpi), "-sOutputFile=" + pgm, eps})
                  .exitCode,
              0);
    return pgm;
}

// A GS1 element string in square brackets: the symbol reads as GS1 (]d2)
// from both documents at both resolutions, and the text under it is the
// round-bracket form, found by pdftotext and by Ghostscript's text device.
TEST(PrintTool, Gs1WithHriReadsBackAsGs1AndPrintsTheRoundBracketForm) {
    const test::TempDir dir;
    const std::string hri = "(01)09506000134352(17)201225(10)ABC123";
    const CommandResult made = RunTool({"--gs1", "--hri", "-m", "0.05", "-o", dir.file("g.pdf"), "-o", dir.file("g.eps"),
                                        "[01]09506000134352[17]201225[10]ABC123"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(test::RunCommand({"qpdf", "--check", dir.file("g.pdf")}).exitCode, 0);
    EXPECT_NE(test::RunCommand({"pdftotext", dir.file("g.pdf"), "-"}).out.find(hri), std::string::npos);
    EXPECT_NE(test::RunCommand({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite", "-sOutputFile=-",
                                dir.file("g.eps")})
                  .out.find(hri),
              std::string::npos);
    for (const int dpi : {300, 600}) {
        const std::string pdf = PdfPixels(dir.file("g.pdf"), dpi);
        const std::string eps = EpsPixels(dir.file("g.eps"), dpi);
        for (const auto& [path, report] : test::ZxingReadAll({pdf, eps})) {
            EXPECT_EQ(report.identifier, "]d2") << path;
            EXPECT_EQ(report.bytes, "01095060001343521720122510ABC123") << path;
        }
        EXPECT_EQ(test::ZxingReadAll({pdf, eps}).size(), 2u) << dpi;
    }
}

// Without --size the page is the symbol and its quiet zone at the module
// asked, to the hundredth of a millimetre, in PDF, EPS and SVG alike.
TEST(PrintTool, PageIsTheSymbolAtTheModuleAskedExactly) {
    const test::TempDir dir;
    const std::string message = "0123456789012345678901234567890123456789";
    ASSERT_EQ(RunTool({"-m", "0.05", "-o", dir.file("s.pdf"), "-o", dir.file("s.eps"), "-o", dir.file("s.svg"), message})
                  .exitCode,
              0);
    const double expected = (encode(message).rows() + 4) * 0.5;
    const std::string info = test::RunCommand({"pdfinfo", dir.file("s.pdf")}).out;
    EXPECT_NEAR(Number(info, R"(Page size:\s+([0-9.]+) x)") * kMillimetresPerPoint, expected, 0.01) << info;
    const std::string eps = test::ReadFileBytes(dir.file("s.eps"));
    EXPECT_NEAR(Number(eps, R"(%%HiResBoundingBox: 0 0 ([0-9.]+))") * kMillimetresPerPoint, expected, 0.01);
    const std::string svg = test::ReadFileBytes(dir.file("s.svg"));
    EXPECT_NEAR(Number(svg, R"(width="([0-9.]+)mm")"), expected, 0.01) << svg.substr(0, 300);
    EXPECT_EQ(test::ZxingRead(PdfPixels(dir.file("s.pdf"), 300)), message);
}

// --hri is for the formats that carry text; a message it cannot print is
// refused by name, and nothing is written.
TEST(PrintTool, HriRefusalsNameTheCause) {
    const test::TempDir dir;
    const CommandResult raster = RunTool({"--hri", "-o", dir.file("h.png"), "12"});
    EXPECT_EQ(raster.exitCode, 2);
    EXPECT_NE(raster.err.find("SVG, PDF and EPS"), std::string::npos) << raster.err;
    const CommandResult control = RunTool({"--hri", "-o", dir.file("h.pdf"), "--hex", "410a42"});
    EXPECT_EQ(control.exitCode, 1);
    EXPECT_NE(control.err.find("0x0A"), std::string::npos) << control.err;
    EXPECT_EQ(test::RunCommand({"test", "-e", dir.file("h.pdf")}).exitCode, 1);
    const CommandResult svg = RunTool({"--hri", "-o", dir.file("h.svg"), "LOT 4711"});
    ASSERT_EQ(svg.exitCode, 0) << svg.err;
    EXPECT_NE(test::ReadFileBytes(dir.file("h.svg")).find(">LOT 4711</text>"), std::string::npos);
}

// A batch into an output without # is one PDF, a page per line in line
// order, each page its own symbol and text.
TEST(PrintTool, BatchIntoOnePdfHasAPagePerLine) {
    const test::TempDir dir;
    std::string lines;
    const int count = 12;
    for (int i = 1; i <= count; ++i) lines += "SERIAL-" + std::to_string(1000 + i) + (i % 5 == 0 ? " long line" : "") + "\n";
    test::WriteFileBytes(dir.file("serials.txt"), lines);
    const CommandResult batch = RunTool({"--batch", dir.file("serials.txt"), "--hri", "-o", dir.file("labels.pdf")});
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    const std::string pdf = dir.file("labels.pdf");
    EXPECT_EQ(test::RunCommand({"qpdf", "--check", pdf}).exitCode, 0);
    EXPECT_EQ(Number(test::RunCommand({"pdfinfo", pdf}).out, R"(Pages:\s+([0-9]+))"), count);
    std::vector<std::string> pictures;
    for (int page = 1; page <= count; ++page) pictures.push_back(PdfPixels(pdf, 300, page));
    const auto reports = test::ZxingReadAll(pictures);
    for (int page = 1; page <= count; ++page) {
        const std::string line = "SERIAL-" + std::to_string(1000 + page) + (page % 5 == 0 ? " long line" : "");
        const auto report = reports.find(pictures[static_cast<std::size_t>(page - 1)]);
        ASSERT_NE(report, reports.end()) << page;
        EXPECT_EQ(report->second.bytes, line);
        const std::string text =
            test::RunCommand({"pdftotext", "-f", std::to_string(page), "-l", std::to_string(page), pdf, "-"}).out;
        EXPECT_NE(text.find(line), std::string::npos) << page << text;
    }
}

}  // namespace
}  // namespace ecc200

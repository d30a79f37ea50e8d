// The ecc200 command-line tool, run as a separate program: the path comes
// from ECC200_TOOL, which the build sets for every test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <ecc200.hpp>

#include "support/square_sizes.h"
#include "support/decoders.h"
#include "support/encoded_symbol.h"
#include "support/matrix_text.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::CommandResult;

using test::RunTool;

std::string CodewordLine(const test::EncodedState& state) {
    std::ostringstream line;
    for (std::size_t k = 0; k < state.stream.size(); ++k) line << (k > 0 ? " " : "") << int{state.stream[k]};
    line << '\n';
    return line.str();
}

// What --print codewords / data print for the public interface's symbol.
std::string CodewordLine(const std::vector<std::uint8_t>& codewords) {
    std::ostringstream line;
    for (std::size_t k = 0; k < codewords.size(); ++k) line << (k > 0 ? " " : "") << int{codewords[k]};
    line << '\n';
    return line.str();
}

// What --print matrix prints for the public interface's symbol.
std::string MatrixText(const Symbol& symbol) {
    std::string text;
    for (int row = 0; row < symbol.rows(); ++row) {
        for (int col = 0; col < symbol.columns(); ++col) text.push_back(symbol.dark(row, col) ? '1' : '0');
        text.push_back('\n');
    }
    return text;
}

std::string Hex(const std::string& bytes, const char* digits) {
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 15]);
    }
    return hex;
}

TEST(Tool, PrintsTheCodewordsOfTheReferenceMessage) {
    const CommandResult result = RunTool({"--print", "codewords", "12"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "142 129 70 199 165 81 164 113\n");
    EXPECT_EQ(result.err, "");
}

// By default the public interface's symbol (automatic encodation); with
// --encodation ascii the nine DM functions' symbol, module for module.
TEST(Tool, PrintsTheMatrixAndCodewordsThatTheEncoderBuilds) {
    const std::string messages[] = {"123456", std::string(60, 'x'), std::string(200, '#'), std::string(1500, 'Z')};
    const int asciiSides[] = {10, 32, 52, 144};
    for (int i = 0; i < 4; ++i) {
        const Symbol automatic = encode(messages[i]);
        EXPECT_EQ(RunTool({"--print", "matrix", messages[i]}).out, MatrixText(automatic)) << i;
        EXPECT_EQ(RunTool({"--print", "codewords", messages[i]}).out, CodewordLine(automatic.codewords())) << i;

        const test::EncodedSymbol nine = test::Encode(messages[i]);
        ASSERT_TRUE(nine.built);
        ASSERT_EQ(nine.state->symbol.side(), asciiSides[i]);
        const CommandResult matrix = RunTool({"--encodation", "ascii", "--print", "matrix", messages[i]});
        EXPECT_EQ(matrix.exitCode, 0) << matrix.err;
        EXPECT_EQ(matrix.out, test::SymbolToText(nine.state->symbol)) << asciiSides[i];
        const CommandResult codewords = RunTool({"--encodation", "ascii", "--print", "codewords", messages[i]});
        EXPECT_EQ(codewords.out, CodewordLine(*nine.state)) << asciiSides[i];
    }
}

TEST(Tool, TakesTheSameBytesFromHexStandardInputAndAFile) {
    const std::string message = "Ab 12\n\x80\xFF\x01~\r\t";
    const std::string expected = CodewordLine(encode(message).codewords());
    const test::TempDir dir;
    const std::string file = dir.file("message.bin");
    test::WriteFileBytes(file, message);
    const std::vector<std::vector<std::string>> sources = {
        {"--hex", Hex(message, "0123456789ABCDEF")},
        {"--hex", Hex(message, "0123456789abcdef")},
        {"--message-file", "-"},
        {"--message-file", file},
    };
    for (std::vector<std::string> args : sources) {
        args.insert(args.end(), {"--print", "codewords"});
        const CommandResult result = RunTool(args, message);
        EXPECT_EQ(result.exitCode, 0) << args[0] << ' ' << args[1] << ": " << result.err;
        EXPECT_EQ(result.out, expected) << args[0] << ' ' << args[1];
    }
}

// In the user's terms: the bytes, the data codewords they need against what
// the largest allowed symbol holds, and about how many bytes to cut (ASCII:
// one codeword a letter, two a byte above 127).
TEST(Tool, RefusesMessagesTooLongForAnySize) {
    std::string high;
    for (int i = 0; i < 1999; ++i) high.push_back(static_cast<char>(0x80 + i % 128));
    struct Case {
        std::vector<std::string> args;
        std::string need;      // what the line starts with after "the message is "
        std::string capacity;  // and names later
    };
    const Case cases[] = {
        {{"--print", "matrix", std::string(1559, 'A')}, "1559 bytes and needs 1559 data codewords", "(144x144) holds 1558: cut about 1 byte"},
        {{"-p", "codewords", "--hex", Hex(high, "0123456789ABCDEF")}, "1999 bytes and needs 3998 data codewords", "(144x144) holds 1558: cut about 1220 bytes"},
        {{std::string(1558, 'A') + "\xFF"}, "1559 bytes and needs 1560 data codewords", "(144x144) holds 1558: cut about "},
        {{"--symbol-size", "16x48", std::string(50, 'A')}, "50 bytes and needs 50 data codewords", "16x48 symbol holds 49: cut about 1 byte"},
        {{"--shape", "rectangle", std::string(60, 'A')}, "60 bytes and needs 60 data codewords", "(16x48) holds 49: cut about 11 bytes"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--encodation", "ascii"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CommandResult result = RunTool(args);
        EXPECT_EQ(result.exitCode, 1) << c.need;
        EXPECT_EQ(result.out, "") << c.need;
        EXPECT_EQ(result.err.rfind("ecc200: the message is " + c.need + "; ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.capacity), std::string::npos) << result.err;
    }
}

// Messages are bytes with a length: a zero byte and more than the first
// release's 1999 bytes are data like any other.
TEST(Tool, EncodesZeroBytesAndLongMessagesThatFit) {
    const test::TempDir dir;
    const std::string digits(3000, '5');
    const std::string zero("A\0B", 3);
    test::WriteFileBytes(dir.file("zero.bin"), zero);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{digits}, digits}, {{"--hex", "410042"}, zero}, {{"--message-file", dir.file("zero.bin")}, zero}};
    for (const auto& [args, message] : cases) {
        std::vector<std::string> withOutput = args;
        withOutput.insert(withOutput.end(), {"-o", dir.file("m.png"), "-p", "codewords"});
        const CommandResult result = RunTool(withOutput);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, CodewordLine(encode(message).codewords())) << message.size();
        EXPECT_EQ(test::ZxingRead(dir.file("m.png")), message) << message.size();
    }
    EXPECT_EQ(RunTool({"-p", "codewords"}, zero).out, CodewordLine(encode(zero).codewords()));
}

// An empty message, or none, never becomes a picture of a default message;
// the preview alone may show its demonstration.
TEST(Tool, RefusesAnEmptyOrMissingMessageForAPicture) {
    const test::TempDir dir;
    const std::string png = dir.file("serial.png");
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"-o", png}, "the message is empty: standard input gave no bytes"},  // nothing piped
        {{"-o", png, ""}, "the message is empty"},
        {{"-o", "-", "-f", "bmp", "--hex", ""}, "the message is empty"},
        {{"-p", "codewords", ""}, "the message is empty"},
    };
    for (const auto& c : cases) {
        const CommandResult result = RunTool(c.args);
        EXPECT_EQ(result.exitCode, 1) << c.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "ecc200: " + c.err + "\n");
    }
    EXPECT_THROW(test::ReadFileBytes(png), std::exception);
}

TEST(Tool, PrintsTheDataCodewordsBeforePadding) {
    EXPECT_EQ(RunTool({"--print", "data", "123456"}).out, "142 164 186\n");  // digit pairs 130 + 12, 34, 56
    EXPECT_EQ(RunTool({"--print", "data", "--hex", "41FF"}).out, "66 235 128\n");  // 'A' + 1; upper shift, 255 - 127
}

TEST(Tool, RejectsBadOptionsWithAUsageLine) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"}, {"--print", "bogus"}, {"--print"}, {"--hex", "0"}, {"--hex", "zz"}, {"abc", "def"}, {"--hex", "41", "abc"},
        {"--size", "0x5"}, {"--size", "12"}, {"--module", "-1"}, {"--orientation", "4"}, {"--border", "dotted"},
        {"--bar", "12345"}, {"--dpi", "0"}, {"-o", "a.txt"}, {"-o", "-"}, {"-o", "a.bmp", "--format", "gif"},
        {"--batch", "list", "-o", "a.bmp"}, {"--batch", "list", "12"}, {"-o", "-", "-f", "bmp", "-p", "matrix"},
        {"--module-px", "0"}, {"-m", "0.1", "--module-px", "3"}, {"--encodation", "morse"}, {"--shape", "round"},
        {"--symbol-size", "12"}, {"--symbol-size", "7x10"}, {"--eci", "0"}, {"--structured-append", "1/2"},
        {"--structured-append", "3/2", "--file-id", "1"}, {"--structured-append", "1/17", "--file-id", "1"},
        {"--file-id", "5"}, {"--structured-append", "1/2", "--file-id", "64517"},
    };
    for (const std::vector<std::string>& args : cases) {
        const CommandResult result = RunTool(args);
        EXPECT_EQ(result.exitCode, 2) << args[0];
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_TRUE(result.err.rfind("usage:", 0) == 0 || result.err.find("\nusage:") != std::string::npos) << result.err;
    }
}

// The encoder's options reach the library from every message source alike
// (standard input too): the symbol the public interface encodes with the
// same options, or the library's one-line refusal with nothing written.
TEST(Tool, EveryMessageSourceTakesEveryEncoderOption) {
    const test::TempDir dir;
    const std::string message = "ENCODE 0123456789";
    test::WriteFileBytes(dir.file("m.txt"), message);
    const std::vector<std::pair<std::vector<std::string>, std::function<void(EncodeOptions&)>>> options = {
        {{"--encodation", "c40"}, [](EncodeOptions& o) { o.encodation = Encodation::c40; }},
        {{"--encodation", "base256"}, [](EncodeOptions& o) { o.encodation = Encodation::base256; }},
        {{"--shape", "any"}, [](EncodeOptions& o) { o.shape = Shape::any; }},
        {{"--dmre", "--shape", "rectangle"}, [](EncodeOptions& o) { o.dmre = true, o.shape = Shape::rectangle; }},
        {{"--symbol-size", "16x16"}, [](EncodeOptions& o) { o.rows = o.columns = 16; }},
        {{"--gs1"}, [](EncodeOptions& o) { o.gs1 = true; }},
        {{"--eci", "26"}, [](EncodeOptions& o) { o.eci = 26; }},
        {{"--reader-init"}, [](EncodeOptions& o) { o.reader_init = true; }},
        {{"--structured-append", "2/3", "--file-id", "300"}, [](EncodeOptions& o) { o.structured_append = {2, 3, 300}; }},
        {{"--iso144"}, [](EncodeOptions& o) { o.iso144 = true; }},
        {{"--seamless"}, [](EncodeOptions&) {}},
    };
    const std::vector<std::vector<std::string>> sources = {
        {message}, {"--hex", Hex(message, "0123456789abcdef")}, {"--message-file", dir.file("m.txt")}, {"--message-file", "-"}, {}};
    for (const auto& [option, set] : options) {
        EncodeOptions encoding;
        set(encoding);
        std::error_code refused;
        const Symbol expected = encode(message, encoding, refused);
        for (const std::vector<std::string>& source : sources) {
            std::vector<std::string> args = option;
            args.insert(args.end(), source.begin(), source.end());
            args.insert(args.end(), {"-o", dir.file("e.emf"), "-p", "matrix"});
            const CommandResult result = RunTool(args, message);
            const std::string label = option[0] + " " + (source.empty() ? "stdin" : source[0]);
            EXPECT_EQ(result.exitCode, refused ? 1 : 0) << label << ": " << result.err;
            EXPECT_EQ(result.out, refused ? "" : MatrixText(expected)) << label;
            EXPECT_EQ(result.err.find('\n'), refused ? result.err.size() - 1 : std::string::npos) << label << ": " << result.err;
            EXPECT_EQ(std::remove(dir.file("e.emf").c_str()) == 0, !refused) << label;
        }
    }
}

// The preview, without a terminal: half blocks whose ink is light, two module
// rows per line, the symbol inside a quiet zone of two modules.
TEST(Tool, PreviewShowsTheSymbolInsideAQuietZone) {
    const Symbol symbol = encode("preview");
    const CommandResult result = RunTool({"preview"});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    std::string drawn;
    for (int row = 0; row < symbol.rows() + 4; row += 2) {
        for (int col = 0; col < symbol.columns() + 4; ++col) {
            const bool top = symbol.dark(row - 2, col - 2);
            const bool bottom = symbol.dark(row - 1, col - 2);
            drawn += top ? (bottom ? " " : "\u2584") : (bottom ? "\u2580" : "\u2588");
        }
        drawn += '\n';
    }
    EXPECT_EQ(result.out, drawn);
}

}  // namespace
}  // namespace ecc200

namespace ecc200 {
namespace {

TEST(ToolOutputs, WritesEveryOutputAskedForAndNothingOnFailure) {
    const test::TempDir dir;
    const std::string bmp = dir.file("a.bmp");
    const std::string wmf = dir.file("a.wmf");
    const std::string emf = dir.file("a.emf");
    const CommandResult written = RunTool({"--bmp", bmp, "--wmf", wmf, "--emf", emf, "--size", "500x300", "12"});
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.out, "");  // outputs given: no preview unless asked
    EXPECT_EQ(test::ReadFileBytes(bmp).size(), 19262u);
    EXPECT_EQ(test::ReadFileBytes(wmf).size(), 2028u);
    EXPECT_EQ(test::ReadFileBytes(emf).size(), 7188u);

    // --dpi sets the screen the picture is laid out for.
    const std::string wmf120 = dir.file("b.wmf");
    EXPECT_EQ(RunTool({"--dpi", "120", "--wmf", wmf120, "-s", "500x300", "12"}).exitCode, 0);
    EXPECT_EQ(test::ReadFileBytes(wmf120).substr(14, 2), std::string("\x78\x00", 2));  // units per inch

    // Failures from the system are named by their cause, on one line.
    const struct {
        std::vector<std::string> args;
        std::string err;
    } failures[] = {
        {{"--bmp", dir.file("missing/a.bmp"), "12"}, "cannot write " + dir.file("missing/a.bmp") + ": No such file or directory"},
        {{"--message-file", "/"}, "cannot read message file /: Is a directory"},
        {{"--message-file", "/no/such/file"}, "cannot read message file /no/such/file: No such file or directory"},
        {{"--batch", "/no/such/file", "-o", "#.bmp"}, "cannot read batch file /no/such/file: No such file or directory"},
        {{"-o", dir.file("a.png"), "--clipboard"}, "no system clipboard on this platform; use -o FILE.emf"},
        {{"-s", "99999x99999", "-o", dir.file("a.wmf"), "12"}, "a 99999 x 99999 picture is too large for a WMF file"},
    };
    for (const auto& failure : failures) {
        const CommandResult result = RunTool(failure.args);
        EXPECT_EQ(result.exitCode, 1) << failure.err;
        EXPECT_EQ(result.err, "ecc200: " + failure.err + "\n");
    }
    EXPECT_THROW(test::ReadFileBytes(dir.file("a.png")), std::exception);  // nothing before the clipboard's refusal

    const std::string untouched = dir.file("c.bmp");
    const CommandResult tooLong = RunTool({"--bmp", untouched, "--encodation", "ascii", std::string(1559, 'A')});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_THROW(test::ReadFileBytes(untouched), std::exception);
}

}  // namespace
}  // namespace ecc200

namespace ecc200 {
namespace {

std::string BmpWidthField(const std::string& bmp) { return bmp.substr(18, 4); }

std::string Le32(int value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    return bytes;
}

// The picture thresholded to one bit per pixel, as a PBM image; SVG rendered
// by librsvg at `zoom` first.
std::string OneBitPixels(const test::TempDir& dir, const std::string& picture, double zoom = 1) {
    std::string raster = picture;
    if (picture.size() > 4 && picture.substr(picture.size() - 4) == ".svg") {
        raster = dir.file("rendered.png");
        const CommandResult rendered = test::RunCommand({"rsvg-convert", "-z", std::to_string(zoom), "-o", raster, picture});
        EXPECT_EQ(rendered.exitCode, 0) << rendered.err;
    }
    return test::RunCommand({"convert", raster, "-colorspace", "gray", "-threshold", "50%", "pbm:-"}).out;
}

TEST(Tool, HelpAndVersionGoToStandardOutput) {
    for (const char* help : {"-h", "--help"}) {
        const CommandResult result = RunTool({help});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.out.find("-o,--output FILE"), std::string::npos) << result.out;
        EXPECT_EQ(result.err, "");
    }
    for (const char* version : {"-V", "--version"}) {
        const CommandResult result = RunTool({version});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out.rfind("ecc200 1.", 0), 0u) << result.out;
    }
}

TEST(Tool, ReadsAPipedMessageAndTheDefaultWhenNothingIsPiped) {
    const std::string piped = "piped\r\n\xE9";
    EXPECT_EQ(RunTool({"-p", "codewords"}, piped).out, CodewordLine(encode(piped).codewords()));
    EXPECT_EQ(RunTool({"-p", "codewords"}, "").out, CodewordLine(encode("12").codewords()));
}

TEST(ToolOutputs, ShortAndLongFormsAndStandardOutputGiveTheSameBytes) {
    const test::TempDir dir;
    const CommandResult longForms = RunTool({"--size", "120x101", "--module", "0.1", "--orientation", "1", "--dpi", "120",
                                             "--border", "solid", "--output", dir.file("long.bmp"), "--hex", "4142"});
    ASSERT_EQ(longForms.exitCode, 0) << longForms.err;
    const std::string expected = test::ReadFileBytes(dir.file("long.bmp"));
    EXPECT_EQ(RunTool({"-s120x101", "-m0.1", "-r", "1", "-d120", "--border=solid", "-o", dir.file("short.bmp"), "AB"}).exitCode, 0);
    EXPECT_EQ(test::ReadFileBytes(dir.file("short.bmp")), expected);
    EXPECT_EQ(RunTool({"-s", "120x101", "-m", "0.1", "-r", "1", "-d", "120", "--border", "solid", "-o", "-", "-f", "BMP", "AB"}).out, expected);

    // The plain `-o FILE MESSAGE` command line, read without CLI11, gives
    // what CLI11 gives for the same outputs and message written otherwise.
    ASSERT_EQ(RunTool({"AB", "--output", dir.file("plain.bmp"), "-o", dir.file("plain.png")}).exitCode, 0);
    ASSERT_EQ(RunTool({"--output=" + dir.file("cli.bmp"), "-o" + dir.file("cli.png"), "--", "AB"}).exitCode, 0);
    for (const char* format : {".bmp", ".png"}) {
        EXPECT_EQ(test::ReadFileBytes(dir.file(std::string("plain") + format)),
                  test::ReadFileBytes(dir.file(std::string("cli") + format)));
    }

    // Every format: the file named by its extension or by --format, and the
    // same bytes on standard output.
    for (const char* format : {"bmp", "wmf", "emf", "png", "svg"}) {
        const std::string named = dir.file(std::string("a.") + format);
        const std::string forced = dir.file(std::string("a.") + format + ".out");
        ASSERT_EQ(RunTool({"-o", named, "Formats"}).exitCode, 0) << format;
        ASSERT_EQ(RunTool({"-o", forced, "--format", format, "Formats"}).exitCode, 0) << format;
        const std::string bytes = test::ReadFileBytes(named);
        EXPECT_EQ(test::ReadFileBytes(forced), bytes) << format;
        EXPECT_EQ(RunTool({"-o", "-", "-f", format, "Formats"}).out, bytes) << format;
    }
}

// Without --size the picture is the symbol and two modules of quiet zone;
// a size that cuts the symbol is refused unless cropping is allowed.
TEST(ToolOutputs, ThePictureFitsTheSymbolUnlessASizeCutsIt) {
    const test::TempDir dir;
    const std::string bmp = dir.file("a.bmp");
    ASSERT_EQ(RunTool({"-o", bmp, "--encodation", "ascii", std::string(1550, 'L')}).exitCode, 0);
    EXPECT_EQ(BmpWidthField(test::ReadFileBytes(bmp)), Le32((144 + 4) * 7));
    ASSERT_EQ(RunTool({"-o", bmp, "--quiet-zone", "0", "-m", "0.1", "12"}).exitCode, 0);
    EXPECT_EQ(BmpWidthField(test::ReadFileBytes(bmp)), Le32(10 * 3));

    const std::string cut = dir.file("cut.bmp");
    const CommandResult refused = RunTool({"-o", cut, "--size", "500x60", "12"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "ecc200: the symbol needs 70x70 pixels; --size 500x60 cuts it (--size 98x98 fits it with its "
                           "quiet zone; --allow-crop draws it cut)\n");
    EXPECT_THROW(test::ReadFileBytes(cut), std::exception);
    EXPECT_EQ(RunTool({"-o", cut, "--size", "500x60", "--allow-crop", "12"}).exitCode, 0);
    EXPECT_EQ(test::ReadFileBytes(cut).size(), 62u + 64 * 60);
}

// Modules are whole pixels in BMP, WMF, EMF and PNG: one drawn more than
// 10 % below the size asked is reported and still written; --module-px asks
// for pixels, and SVG keeps the size asked.
TEST(ToolOutputs, SaysWhenAModuleIsDrawnSmallerThanAsked) {
    const test::TempDir dir;
    const std::string bmp = dir.file("a.bmp");
    const CommandResult shrunk = RunTool({"-m", "0.05", "-o", bmp, "-o", dir.file("a.emf"), "12"});
    EXPECT_EQ(shrunk.exitCode, 0);
    EXPECT_EQ(shrunk.err, "ecc200: warning: modules of 0.05 cm are drawn as 1 pixel at 96 dpi, 0.0264583 cm (47 % "
                          "smaller); --module-px N sets the pixels, --dpi N the resolution\n");
    EXPECT_EQ(BmpWidthField(test::ReadFileBytes(bmp)), Le32(14 * 1));
    const std::vector<std::string> unremarked[] = {
        {"-m", "0.05", "-d", "600", "-o", bmp},  // 11.8 pixels drawn as 11: 7 % below
        {"-m", "0.05", "-o", dir.file("a.svg")},
        {"--module-px", "5", "-o", bmp},
    };
    for (std::vector<std::string> args : unremarked) {
        args.push_back("12");
        const CommandResult result = RunTool(args);
        EXPECT_EQ(result.exitCode, 0) << args[1];
        EXPECT_EQ(result.err, "") << args[1];
    }
    EXPECT_EQ(BmpWidthField(test::ReadFileBytes(bmp)), Le32(14 * 5));
}

// PNG, and SVG of whole-pixel modules, show the very pixels of the BMP in
// every turn and frame, with the resolution recorded (pHYs in pixels per
// metre; millimetres).
TEST(ToolOutputs, PngAndSvgShowTheBitmapsPixels) {
    const test::TempDir dir;
    for (int orientation = 0; orientation < 4; ++orientation) {
        for (const char* border : {"none", "dashed", "solid"}) {
            const std::vector<std::string> style = {"-r", std::to_string(orientation), "--border", border, "-s", "151x120",
                                                    "--bar", "0000AA", "--background", "FFFF00", "--module-px", "3", "Pixels"};
            std::vector<std::string> args = style;
            for (const char* name : {"p.bmp", "p.png", "p.svg"}) args.insert(args.end(), {"-o", dir.file(name)});
            ASSERT_EQ(RunTool(args).exitCode, 0);
            const std::string bitmap = OneBitPixels(dir, dir.file("p.bmp"));
            ASSERT_GT(bitmap.size(), 151u * 120 / 8);
            EXPECT_TRUE(OneBitPixels(dir, dir.file("p.png")) == bitmap) << "PNG, turn " << orientation << ", " << border;
            EXPECT_TRUE(OneBitPixels(dir, dir.file("p.svg")) == bitmap) << "SVG, turn " << orientation << ", " << border;
        }
    }
    ASSERT_EQ(RunTool({"-d", "120", "-s", "240x120", "-o", dir.file("r.png"), "-o", dir.file("r.svg"), "12"}).exitCode, 0);
    const std::string png = test::ReadFileBytes(dir.file("r.png"));
    const std::size_t phys = png.find("pHYs");
    ASSERT_NE(phys, std::string::npos);
    EXPECT_EQ(png.substr(phys + 4, 9), std::string("\0\0\x12\x74\0\0\x12\x74\1", 9));  // 4724 per metre: 120 dpi
    EXPECT_NE(test::ReadFileBytes(dir.file("r.svg")).find("width=\"50.799788mm\" height=\"25.399788mm\" viewBox=\"0 0 240 120\""),
              std::string::npos);
}

TEST(ToolOutputs, PngAndSvgOfEverySizeDecodeToTheExactMessage) {
    const test::TempDir dir;
    const double zooms[] = {0.75, 1, 2.5};
    for (int i = 0; i < kSymbolSizeCount; ++i) {
        const SymbolAttributes& size = kSquareSymbolTable[static_cast<std::size_t>(i)];
        const std::string message = test::ExactFill(size.dataCodewords, i % 3);
        const std::string png = dir.file("s.png");
        const std::string svg = dir.file("s.svg");
        ASSERT_EQ(RunTool({"--encodation", "ascii", "-r", std::to_string(i % 4), "-m", "0.1", "-o", png, "-o", svg, "--hex",
                           Hex(message, "0123456789abcdef")}).exitCode, 0);
        const int side = size.symbolRows;
        EXPECT_EQ(test::ZxingRead(png), message) << side;
        if (side < 144) {  // libdmtx reads only the plain 144 x 144 check order
            EXPECT_EQ(test::DmtxRead(png, side), message) << side;
        }
        const double zoom = zooms[i % 3];
        const std::string rendered = dir.file("svg.png");
        ASSERT_EQ(test::RunCommand({"rsvg-convert", "-z", std::to_string(zoom), "-o", rendered, svg}).exitCode, 0);
        EXPECT_EQ(test::ZxingRead(rendered), message) << side << " at zoom " << zoom;
    }
}

TEST(ToolBatch, WritesEveryLineAndReportsTheFailedOnesByNumber) {
    const test::TempDir dir;
    const std::string lines = "first\r\nsecond\n\n" + std::string(3200, 'A') + "\nfifth";
    test::WriteFileBytes(dir.file("list.txt"), lines);
    const std::string pattern = dir.file("out-##");
    const CommandResult batch = RunTool({"--batch", dir.file("list.txt"), "-o", pattern + ".bmp", "-o", pattern + ".svg"});
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_NE(batch.err.find("ecc200: line 3: empty line\n"), std::string::npos) << batch.err;
    EXPECT_NE(batch.err.find("ecc200: line 4: the message is 3200 bytes and needs "), std::string::npos) << batch.err;
    EXPECT_NE(batch.err.find("ecc200: 5 lines, 3 written, 2 failed, in "), std::string::npos) << batch.err;
    const test::TempDir single;
    const std::pair<const char*, const char*> written[] = {{"01", "first"}, {"02", "second"}, {"05", "fifth"}};
    for (const auto& [number, message] : written) {
        ASSERT_EQ(RunTool({"-o", single.file("a.bmp"), "-o", single.file("a.svg"), message}).exitCode, 0);
        EXPECT_EQ(test::ReadFileBytes(pattern.substr(0, pattern.size() - 2) + number + ".bmp"), test::ReadFileBytes(single.file("a.bmp")));
        EXPECT_EQ(test::ReadFileBytes(pattern.substr(0, pattern.size() - 2) + number + ".svg"), test::ReadFileBytes(single.file("a.svg")));
    }
    EXPECT_THROW(test::ReadFileBytes(dir.file("out-03.bmp")), std::exception);

    // From standard input, with more lines than the run of # has digits.
    std::string many;
    for (int i = 1; i <= 12; ++i) many += "m" + std::to_string(i) + "\n";
    const CommandResult piped = RunTool({"--batch", "-", "-o", dir.file("m#.png")}, many);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(test::ZxingRead(dir.file("m12.png")), "m12");
    EXPECT_EQ(test::ZxingRead(dir.file("m7.png")), "m7");
}

// A folder that cannot take the files fails the batch once, before any
// line is drawn.
TEST(ToolBatch, AMissingFolderFailsOnceBeforeAnythingIsDrawn) {
    const test::TempDir dir;
    test::WriteFileBytes(dir.file("list.txt"), "a\nb\nc\n");
    const CommandResult result =
        RunTool({"--batch", dir.file("list.txt"), "-o", dir.file("ok-#.bmp"), "-o", dir.file("missing/l-#.png")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "ecc200: cannot write in folder " + dir.file("missing") + ": No such file or directory\n");
    EXPECT_THROW(test::ReadFileBytes(dir.file("ok-1.bmp")), std::exception);
}

// Each encoder option, checked in what it draws (the matrix's shape) and in
// what ZXingReader reads back: the bytes, GS1's symbology identifier ]d2,
// the ECI; in one run and in a batch.
TEST(ToolEncoding, DecodersReadWhatEachOptionAsksFor) {
    const test::TempDir dir;
    struct Case {
        std::vector<std::string> args;
        std::string message, decoded, identifier;  // identifier "": not checked
        std::string shape;                          // "square", "rectangle" or ROWSxCOLUMNS
        int minColumns = 0;                         // a rectangle's: more than this
    };
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC";
    const std::string digits(120, '7');  // 60 codewords: more than any ISO/IEC 16022 rectangle holds (49)
    const Case cases[] = {
        {{"--gs1"}, "(01)09506000134352(17)201225(10)ABC123", "01095060001343521720122510ABC123", "]d2", "square"},
        {{"--eci", "26"}, utf8, utf8, "]d1", "square"},
        {{"--shape", "rectangle"}, "Hello, rectangle", "Hello, rectangle", "]d1", "rectangle"},
        {{"--dmre", "--shape", "rectangle"}, digits, digits, "", "rectangle", 48},  // wider than 16x48
        {{"--symbol-size", "16x48"}, "Hello", "Hello", "]d1", "16x48"},
        {{"--encodation", "x12"}, "X12 DATA*>0123", "X12 DATA*>0123", "]d1", "square"},
    };
    std::vector<std::string> pictures;
    for (const Case& c : cases) {
        pictures.push_back(dir.file("e" + std::to_string(pictures.size()) + ".png"));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--module-px", "4", "-o", pictures.back(), "-p", "matrix", c.message});
        const CommandResult result = RunTool(args);
        ASSERT_EQ(result.exitCode, 0) << c.args[0] << ": " << result.err;
        const int rows = static_cast<int>(std::count(result.out.begin(), result.out.end(), '\n'));
        const int columns = static_cast<int>(result.out.find('\n'));
        const std::string size = std::to_string(rows) + "x" + std::to_string(columns);
        const bool drawn = c.shape == "square" ? rows == columns : c.shape == "rectangle" ? rows < columns && columns > c.minColumns : size == c.shape;
        EXPECT_TRUE(drawn) << c.args[0] << ": " << size;
    }
    test::WriteFileBytes(dir.file("gs1.txt"), "(01)09506000134352(10)A1\n(01)09506000134353\n");
    const CommandResult batch = RunTool({"--batch", dir.file("gs1.txt"), "--gs1", "-o", dir.file("b#.png")});
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_NE(batch.err.find("ecc200: line 2: AI (01): check digit 3"), std::string::npos) << batch.err;
    pictures.push_back(dir.file("b1.png"));

    const std::map<std::string, test::ZxingReport> reports = test::ZxingReadAll(pictures);
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto report = reports.find(pictures[k]);
        ASSERT_NE(report, reports.end()) << cases[k].args[0];
        EXPECT_EQ(report->second.bytes, cases[k].decoded) << cases[k].args[0];
        if (!cases[k].identifier.empty()) {
            EXPECT_EQ(report->second.identifier, cases[k].identifier) << cases[k].args[0];
        }
        EXPECT_EQ(report->second.hasEci, cases[k].args[0] == "--eci") << cases[k].args[0];
    }
    ASSERT_EQ(reports.count(pictures.back()), 1u);
    EXPECT_EQ(reports.at(pictures.back()).bytes, "0109506000134352" "10A1");
    EXPECT_EQ(reports.at(pictures.back()).identifier, "]d2");

    EncodeOptions c40;
    c40.encodation = Encodation::c40;
    EXPECT_EQ(RunTool({"--encodation", "c40", "--print", "data", "C40 TEXT"}).out, CodewordLine(encode("C40 TEXT", c40).data_codewords()));
}

// What the library refuses, it explains on one line naming the cause; no
// picture is written.
TEST(ToolEncoding, RefusalsNameTheirCauseAndWriteNothing) {
    const test::TempDir dir;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--gs1", "(01)09506000134353(17)201225"}, "AI (01): check digit 3 is wrong"},
        {{"--encodation", "x12", "X12abc"}, "('a') cannot be encoded in X12"},
        {{"--symbol-size", "10x10", "ABCDEFGHIJ"}, "10x10 symbol holds 3: cut about "},
    };
    for (const auto& [args, cause] : cases) {
        std::vector<std::string> withOutput = args;
        withOutput.insert(withOutput.end(), {"-o", dir.file("r.png")});
        const CommandResult result = RunTool(withOutput);
        EXPECT_EQ(result.exitCode, 1) << cause;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        EXPECT_NE(result.err.find(cause), std::string::npos) << result.err;
        EXPECT_THROW(test::ReadFileBytes(dir.file("r.png")), std::exception) << cause;
    }
}

// --seamless: the dark modules as one filled shape, a single META_POLYPOLYGON
// (0x0538) in the placeable WMF and a single EMR_POLYPOLYGON16 (91) in the
// EMF, where the default draws none.
std::uint32_t Le(const std::string& bytes, std::size_t offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

int WmfRecords(const std::string& wmf, std::uint32_t function) {
    constexpr std::size_t kPlaceableHeader = 22;
    if (wmf.size() < kPlaceableHeader + 18 || Le(wmf, 0, 4) != 0x9AC6CDD7) return -1;  // the placeable key
    int count = 0;
    for (std::size_t at = kPlaceableHeader + 2 * Le(wmf, kPlaceableHeader + 2, 2); at + 6 <= wmf.size();) {
        const std::size_t words = Le(wmf, at, 4);
        count += Le(wmf, at + 4, 2) == function ? 1 : 0;
        if (words < 3) break;
        at += 2 * words;
    }
    return count;
}

int EmfRecords(const std::string& emf, std::uint32_t type) {
    if (emf.size() < 88 || Le(emf, 0, 4) != 1 || emf.substr(40, 4) != " EMF") return -1;  // EMR_HEADER, its signature
    int count = 0;
    for (std::size_t at = 0; at + 8 <= emf.size();) {
        count += Le(emf, at, 4) == type ? 1 : 0;
        const std::size_t size = Le(emf, at + 4, 4);
        if (size < 8) break;
        at += size;
    }
    return count;
}

TEST(ToolOutputs, SeamlessMetafilesAreOneFilledShape) {
    const test::TempDir dir;
    for (const bool seamless : {false, true}) {
        std::vector<std::string> args = {"-o", dir.file("s.wmf"), "-o", dir.file("s.emf"), "Seamless"};
        if (seamless) args.push_back("--seamless");
        ASSERT_EQ(RunTool(args).exitCode, 0);
        EXPECT_EQ(WmfRecords(test::ReadFileBytes(dir.file("s.wmf")), 0x0538), seamless ? 1 : 0);
        EXPECT_EQ(EmfRecords(test::ReadFileBytes(dir.file("s.emf")), 91), seamless ? 1 : 0);
    }
}

}  // namespace
}  // namespace ecc200

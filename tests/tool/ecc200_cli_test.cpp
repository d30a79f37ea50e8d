// The ecc200 command-line tool, run as a separate program: the path comes
// from ECC200_TOOL, which the build sets for every test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/encoded_symbol.h"
#include "support/matrix_text.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::CommandResult;

CommandResult RunTool(std::vector<std::string> args, const std::string& input = "") {
    const char* tool = std::getenv("ECC200_TOOL");
    if (tool == nullptr) {
        ADD_FAILURE() << "ECC200_TOOL is not set";
        return {};
    }
    args.insert(args.begin(), tool);
    return test::RunCommand(args, input);
}

std::string CodewordLine(const EncoderWorkingState& state) {
    std::ostringstream line;
    for (std::int32_t k = 0; k < state.stream.count; ++k) line << (k > 0 ? " " : "") << state.stream.codewords[static_cast<std::size_t>(k)];
    line << '\n';
    return line.str();
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

TEST(Tool, PrintsTheMatrixAndCodewordsThatTheEncoderBuilds) {
    const std::string messages[] = {"123456", std::string(60, 'x'), std::string(200, '#'), std::string(1500, 'Z')};
    const int sides[] = {10, 32, 52, 144};
    for (int i = 0; i < 4; ++i) {
        const test::EncodedSymbol expected = test::Encode(messages[i]);
        ASSERT_TRUE(expected.built);
        ASSERT_EQ(expected.state->symbol.side(), sides[i]);
        const CommandResult matrix = RunTool({"--print", "matrix", messages[i]});
        EXPECT_EQ(matrix.exitCode, 0) << matrix.err;
        EXPECT_EQ(matrix.out, test::SymbolToText(expected.state->symbol)) << sides[i] << "x" << sides[i];
        const CommandResult codewords = RunTool({"--print", "codewords", messages[i]});
        EXPECT_EQ(codewords.exitCode, 0) << codewords.err;
        EXPECT_EQ(codewords.out, CodewordLine(*expected.state)) << sides[i] << "x" << sides[i];
    }
}

TEST(Tool, TakesTheSameBytesFromHexStandardInputAndAFile) {
    const std::string message = "Ab 12\n\x80\xFF\x01~\r\t";
    const std::string expected = CodewordLine(*test::Encode(message).state);
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

TEST(Tool, RefusesMessagesTooLongForAnySize) {
    std::string high;
    for (int i = 0; i < 1999; ++i) high.push_back(static_cast<char>(0x80 + i % 128));
    struct Case {
        std::vector<std::string> args;
        std::string codewords;
    };
    const Case cases[] = {
        {{"--print", "matrix", std::string(1559, 'A')}, "1559"},
        {{"--print", "codewords", "--hex", Hex(high, "0123456789ABCDEF")}, "3998"},
        {{std::string(1558, 'A') + "\xFF"}, "1560"},
        {{std::string(2000, 'A')}, "2000"},  // past the byte limit too: the codewords are what count
    };
    for (const Case& c : cases) {
        const CommandResult result = RunTool(c.args);
        EXPECT_EQ(result.exitCode, 1) << c.codewords;
        EXPECT_EQ(result.out, "") << c.codewords;
        EXPECT_NE(result.err.find(c.codewords), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("1558"), std::string::npos) << result.err;
    }
}

TEST(Tool, RefusesMessagesTheLibraryCannotHoldAsGiven) {
    // 2000 digits fit a symbol but not the library's 1999-byte message.
    const CommandResult longDigits = RunTool({"--print", "codewords", std::string(2000, '5')});
    EXPECT_EQ(longDigits.exitCode, 1);
    EXPECT_EQ(longDigits.out, "");
    EXPECT_NE(longDigits.err.find("1999"), std::string::npos) << longDigits.err;
    const CommandResult zero = RunTool({"--hex", "410042"});
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_NE(zero.err.find("zero byte"), std::string::npos) << zero.err;
}

TEST(Tool, RejectsBadOptionsWithAUsageLine) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"}, {"--print", "bogus"}, {"--print"}, {"--hex", "0"}, {"--hex", "zz"}, {"abc", "def"}, {"--hex", "41", "abc"},
        {"--message-file", "/"}, {"--message-file", "/no/such/file"}, {"--size", "0x5"}, {"--size", "12"},
        {"--module", "-1"}, {"--orientation", "4"}, {"--border", "dotted"}, {"--bar", "12345"}, {"--dpi", "0"},
    };
    for (const std::vector<std::string>& args : cases) {
        const CommandResult result = RunTool(args);
        EXPECT_EQ(result.exitCode, 2) << args[0];
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_TRUE(result.err.rfind("usage:", 0) == 0 || result.err.find("\nusage:") != std::string::npos) << result.err;
    }
}

// The preview, without a terminal: half blocks whose ink is light, two module
// rows per line, the symbol inside a quiet zone of two modules.
TEST(Tool, PreviewShowsTheSymbolInsideAQuietZone) {
    const test::EncodedSymbol expected = test::Encode("preview");
    ASSERT_TRUE(expected.built);
    const SymbolMatrix& symbol = expected.state->symbol;
    const CommandResult result = RunTool({"preview"});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const int side = symbol.side() + 4;
    const auto dark = [&](int row, int col) {
        row -= 2;
        col -= 2;
        return row >= 0 && col >= 0 && row < symbol.side() && col < symbol.side() && symbol.isDark(row, col);
    };
    std::string drawn;
    for (int row = 0; row < side; row += 2) {
        for (int col = 0; col < side; ++col) {
            const bool top = dark(row, col);
            const bool bottom = dark(row + 1, col);
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
    const CommandResult written = RunTool({"--bmp", bmp, "--wmf", wmf, "--emf", emf, "--clipboard", "12"});
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.out, "");  // outputs given: no preview unless asked
    EXPECT_EQ(test::ReadFileBytes(bmp).size(), 19262u);
    EXPECT_EQ(test::ReadFileBytes(wmf).size(), 2028u);
    EXPECT_EQ(test::ReadFileBytes(emf).size(), 7188u);

    // --dpi sets the screen the picture is laid out for.
    const std::string wmf120 = dir.file("b.wmf");
    EXPECT_EQ(RunTool({"--dpi", "120", "--wmf", wmf120, "12"}).exitCode, 0);
    EXPECT_EQ(test::ReadFileBytes(wmf120).substr(14, 2), std::string("\x78\x00", 2));  // units per inch

    const CommandResult unwritable = RunTool({"--bmp", dir.file("missing/a.bmp")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(std::count(unwritable.err.begin(), unwritable.err.end(), '\n'), 1) << unwritable.err;

    const std::string untouched = dir.file("c.bmp");
    const CommandResult tooLong = RunTool({"--bmp", untouched, std::string(1559, 'A')});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_THROW(test::ReadFileBytes(untouched), std::exception);
}

}  // namespace
}  // namespace ecc200

// libdmtx's encoder as an independent reference: restricted to ASCII
// encodation and square sizes (dmtxwrite -e a -s s), it must make the same
// symbol as ours, module for module, for every size whose check codewords
// both place in the plain interleaved order (all but 144 x 144). The
// decoders of the round-trip tests correct errors, so only a comparison like
// this one catches a wrong check codeword.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/square_sizes.h"
#include "support/encoded_symbol.h"
#include "support/matrix_text.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::RunCommand;

// Digits, letters, punctuation and bytes above 127, in runs, so that digit
// pairs, single digits and Upper Shift pairs all occur.
std::string RandomMessage(std::mt19937& random, int length) {
    std::string message;
    while (static_cast<int>(message.size()) < length) {
        const int kind = static_cast<int>(random() % 4);
        const int run = 1 + static_cast<int>(random() % 5);
        for (int i = 0; i < run && static_cast<int>(message.size()) < length; ++i) {
            if (kind == 0) message.push_back(static_cast<char>('0' + random() % 10));
            if (kind == 1) message.push_back(static_cast<char>('A' + random() % 26));
            if (kind == 2) message.push_back(static_cast<char>(' ' + random() % 95));
            if (kind == 3) message.push_back(static_cast<char>(128 + random() % 128));
        }
    }
    return message;
}

// dmtxwrite's symbol of `message` as text, one pixel per module.
std::string ReferenceSymbol(const test::TempDir& dir, const std::string& message, int side) {
    const std::string png = dir.file("reference.png");
    const std::string gray = dir.file("reference.gray");
    const test::CommandResult written =
        RunCommand({"dmtxwrite", "-e", "a", "-s", "s", "-d", "1", "-m", "1", "-o", png}, message);
    if (written.exitCode != 0) return "dmtxwrite failed: " + written.err;
    if (RunCommand({"convert", png, "-depth", "8", "gray:" + gray}).exitCode != 0) return "convert failed";
    const std::string pixels = test::ReadFileBytes(gray);
    const int width = side + 2;  // one module of margin on each side
    if (pixels.size() != static_cast<std::size_t>(width * width)) return "unexpected size " + std::to_string(pixels.size());
    std::string text;
    for (int row = 1; row <= side; ++row) {
        for (int col = 1; col <= side; ++col) {
            text.push_back(static_cast<unsigned char>(pixels[static_cast<std::size_t>(row * width + col)]) < 128 ? '1' : '0');
        }
        text.push_back('\n');
    }
    return text;
}

TEST(LibdmtxReference, SameSymbolForRandomMessagesOfEverySizeBelow144) {
    const test::TempDir dir;
    std::mt19937 random(16022);
    int sizesSeen[kSymbolSizeCount] = {};
    for (int i = 0; i < 60; ++i) {
        // Lengths spread over the sizes from 10 x 10 to 132 x 132.
        const int length = 1 + static_cast<int>(random() % (i < 30 ? 60 : 1300));
        const std::string message = RandomMessage(random, length);
        const test::EncodedSymbol ours = test::Encode(message);
        if (!ours.built || ours.state->symbol.side() == 144) continue;
        for (int s = 0; s < kSymbolSizeCount; ++s) {
            if (kSquareSymbolTable[static_cast<std::size_t>(s)].symbolRows == ours.state->symbol.side()) ++sizesSeen[s];
        }
        EXPECT_EQ(test::SymbolToText(ours.state->symbol), ReferenceSymbol(dir, message, ours.state->symbol.side()))
            << "message " << i << " of " << message.size() << " bytes";
    }
    int distinctSizes = 0;
    for (const int seen : sizesSeen) distinctSizes += seen > 0 ? 1 : 0;
    EXPECT_GE(distinctSizes, 15);
}

TEST(LibdmtxReference, SameSymbolAtEveryCapacityBelow144) {
    const test::TempDir dir;
    for (const SymbolAttributes& size : kSquareSymbolTable) {
        if (size.symbolRows == 144) continue;
        const std::string message(static_cast<std::size_t>(size.dataCodewords), 'x');
        const test::EncodedSymbol ours = test::Encode(message);
        ASSERT_TRUE(ours.built);
        EXPECT_EQ(test::SymbolToText(ours.state->symbol), ReferenceSymbol(dir, message, size.symbolRows))
            << size.symbolRows << "x" << size.symbolRows;
    }
}

}  // namespace
}  // namespace ecc200

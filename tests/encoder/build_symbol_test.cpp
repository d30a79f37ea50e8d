// The encoder as a whole: the size a message gets, the reference symbols, and
// round trips through two independent Data Matrix readers, zxing-cpp's
// ZXingReader and libdmtx's dmtxread.
#include "encoder/encode_segments.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "encoder/encoder_workspace.h"
#include "support/encoded_symbol.h"
#include "support/matrix_text.h"
#include "support/pgm_image.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

using test::Encode;
using test::EncodedSymbol;

std::vector<int> FinalStream(const test::EncodedState& state) { return std::vector<int>(state.stream.begin(), state.stream.end()); }

bool SameSymbol(const SymbolMatrix& a, const SymbolMatrix& b) {
    if (a.side() != b.side()) return false;
    for (int row = 0; row < a.side(); ++row) {
        for (int col = 0; col < a.side(); ++col) {
            if (a.at(row, col) != b.at(row, col)) return false;
        }
    }
    return true;
}

TEST(BuildSymbol, EncodesTheReferenceMessages) {
    struct Case {
        std::string message;
        std::vector<int> stream;
    };
    const Case cases[] = {
        {"12", {142, 129, 70, 199, 165, 81, 164, 113}},
        {"", {129, 175, 70, 33, 1, 170, 139, 55}},
        {"123456", {142, 164, 186, 114, 25, 5, 88, 102}},
    };
    for (const Case& c : cases) {
        const EncodedSymbol encoded = Encode(c.message);
        ASSERT_TRUE(encoded.built) << c.message;
        EXPECT_EQ(encoded.state->symbol.side(), 10) << c.message;
        EXPECT_EQ(FinalStream(*encoded.state), c.stream) << c.message;
    }
}

TEST(BuildSymbol, SelectsTheSizeWhoseCapacityTheMessageFills) {
    for (std::size_t i = 0; i < test::kSquareSizeCount; ++i) {
        const int capacity = kSymbolSizes[i].dataCodewords;
        const EncodedSymbol exact = Encode(std::string(static_cast<std::size_t>(capacity), 'A'));
        ASSERT_TRUE(exact.built) << capacity << " codewords";
        EXPECT_EQ(exact.state->symbol.side(), kSymbolSizes[i].rows) << capacity << " codewords";
        EXPECT_EQ(static_cast<int>(exact.state->stream.size()), capacity + kSymbolSizes[i].checkCodewords);

        const EncodedSymbol above = Encode(std::string(static_cast<std::size_t>(capacity + 1), 'A'));
        EXPECT_EQ(above.state->messageCodewords, capacity + 1);
        if (i + 1 < test::kSquareSizeCount) {
            ASSERT_TRUE(above.built) << capacity + 1 << " codewords";
            EXPECT_EQ(above.state->symbol.side(), kSymbolSizes[i + 1].rows) << capacity + 1 << " codewords";
        } else {
            EXPECT_FALSE(above.built) << "1559 codewords fit no size";
        }
    }
}

TEST(BuildSymbol, RefusesLongMessagesWithoutOverrunningItsStorage) {
    std::string high;
    for (int i = 0; i < 1999; ++i) high.push_back(static_cast<char>(0x80 + i % 128));
    const EncodedSymbol refused = Encode(high);
    EXPECT_FALSE(refused.built);
    EXPECT_EQ(refused.state->messageCodewords, 3998);

    const EncodedSymbol digits = Encode(std::string(1999, '5'));  // 1000 codewords
    ASSERT_TRUE(digits.built);
    EXPECT_EQ(digits.state->symbol.side(), 120);
}

TEST(BuildSymbol, GivesTheSameSymbolOnAReusedWorkingState) {
    const EncodedSymbol fresh = Encode("123456");
    const auto workspace = std::make_unique<EncoderWorkspace>();
    const auto reused = std::make_unique<ecc200::EncodedSymbol>();
    const auto encode = [&](const std::string& message) {
        const Segment segment{message, 0};
        return EncodeSegments(&segment, 1, LiteralAsciiRequest(), *workspace, *reused).ok();
    };
    ASSERT_TRUE(encode(std::string(1558, '%')));
    ASSERT_FALSE(encode(std::string(1559, '%')));
    ASSERT_TRUE(encode("123456"));
    EXPECT_TRUE(SameSymbol(reused->matrix, fresh.state->symbol)) << test::SymbolToText(reused->matrix);
    EXPECT_EQ(std::vector<int>(reused->codewords.begin(), reused->codewords.begin() + reused->codewordCount),
              FinalStream(*fresh.state));
}

// ---- Round trips through the readers ------------------------------------

// What a reader made of an image: the decoded bytes, or why there are none.
struct Reading {
    bool found = false;
    std::string bytes;
    std::string diagnostics;
};

// ZXingReader prints the decoded bytes in hexadecimal on its "Bytes:" line.
// That line follows the "Text:" line, which may itself contain line breaks,
// so the last line starting with "Bytes:" is the real one.
Reading ReadWithZxing(const std::string& image) {
    const test::CommandResult result = test::RunCommand({"ZXingReader", "-format", "DataMatrix", image});
    Reading reading;
    reading.diagnostics = "ZXingReader exit " + std::to_string(result.exitCode) + "\n" + result.out + result.err;
    constexpr std::string_view kLabel = "\nBytes:";
    const std::size_t bytesLine = result.out.rfind(kLabel);
    if (result.exitCode != 0 || result.out.find("\nFormat:     DataMatrix") == std::string::npos || bytesLine == std::string::npos) {
        return reading;
    }
    const std::size_t begin = bytesLine + kLabel.size();
    std::istringstream hex(result.out.substr(begin, result.out.find('\n', begin) - begin));
    for (unsigned byte = 0; hex >> std::hex >> byte;) reading.bytes.push_back(static_cast<char>(byte));
    reading.found = true;
    return reading;
}

// dmtxread prints the decoded bytes as they are and exits with 1 when it
// finds no symbol.
Reading ReadWithDmtx(const std::string& image) {
    const test::CommandResult result = test::RunCommand({"dmtxread", "-N1", "-m5000", image});
    Reading reading;
    reading.found = result.exitCode == 0;
    reading.bytes = result.out;
    reading.diagnostics = "dmtxread exit " + std::to_string(result.exitCode) + "\n" + result.err;
    return reading;
}

std::string Printable(const std::string& bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    return text;
}

std::string Range(int first, int last) {
    std::string bytes;
    for (int b = first; b <= last; ++b) bytes.push_back(static_cast<char>(b));
    return bytes;
}

// Each kind of message draws its bytes from one alphabet and is cut to a
// length whose codeword count is the target for the size under test: its
// capacity (exact fits), one more than the size below (the most pads), or
// half way between.
enum class Target { Capacity, JustAboveSmallerSize, Middle };

struct MessageKind {
    const char* name;
    std::string alphabet;
    Target target;
};

const MessageKind kMessageKinds[] = {
    {"digits", "0123456789", Target::Capacity},
    {"text", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz 0123456789", Target::Capacity},
    {"punctuation", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\t\n\r\x01\x1B\x7F", Target::JustAboveSmallerSize},
    {"bytes 128-255", Range(128, 255), Target::Capacity},
    {"bytes 1-255", Range(1, 255), Target::Middle},
};

int CodewordCount(std::string_view message) { return Encode(message).state->messageCodewords; }

// The longest random message of the alphabet (at most 1999 bytes) that needs
// at most `target` codewords; nothing when that falls below `least`. The count
// never decreases as the message grows, so a binary search finds the length.
std::optional<std::string> MessageFor(const MessageKind& kind, int least, int target, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes;
    for (int i = 0; i < 1999; ++i) bytes.push_back(kind.alphabet[random() % kind.alphabet.size()]);
    std::size_t low = 0;
    std::size_t high = bytes.size();
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (CodewordCount(std::string_view(bytes).substr(0, mid)) <= target) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    bytes.resize(low);
    if (CodewordCount(bytes) < least) return std::nullopt;
    return bytes;
}

struct TestMessage {
    std::string kind;
    std::string bytes;
};

std::vector<TestMessage> MessagesForSize(int index) {
    const int capacity = kSymbolSizes[static_cast<std::size_t>(index)].dataCodewords;
    const int least = index == 0 ? 1 : kSymbolSizes[static_cast<std::size_t>(index - 1)].dataCodewords + 1;
    std::vector<TestMessage> messages;
    if (index == 0) messages.push_back({"empty", ""});
    unsigned seed = 1000u * static_cast<unsigned>(index);
    for (const MessageKind& kind : kMessageKinds) {
        const int target = kind.target == Target::Capacity               ? capacity
                           : kind.target == Target::JustAboveSmallerSize ? least
                                                                         : (least + capacity) / 2;
        // 1999 digits need only 1000 codewords, too few for the two largest sizes.
        if (std::optional<std::string> message = MessageFor(kind, least, target, ++seed)) {
            messages.push_back({kind.name, *message});
        }
    }
    return messages;
}

class RoundTrip : public testing::TestWithParam<int> {};

TEST_P(RoundTrip, BothReadersDecodeTheMessageExactly) {
    const SymbolSize& size = kSymbolSizes[static_cast<std::size_t>(GetParam())];
    const test::TempDir dir;
    const std::string image = dir.file("symbol.pgm");
    const std::vector<TestMessage> messages = MessagesForSize(GetParam());
    ASSERT_GE(messages.size(), 4u);
    for (const TestMessage& message : messages) {
        SCOPED_TRACE(message.kind + " message of " + std::to_string(message.bytes.size()) + " bytes: " + Printable(message.bytes));
        const EncodedSymbol encoded = Encode(message.bytes);
        ASSERT_TRUE(encoded.built);
        ASSERT_EQ(encoded.state->symbol.side(), size.rows);
        if (message.kind == "text") {
            ASSERT_EQ(encoded.state->messageCodewords, size.dataCodewords) << "not an exact fit";
        }
        test::WritePgm(image, encoded.state->symbol, 4, 4);

        const Reading zxing = ReadWithZxing(image);
        ASSERT_TRUE(zxing.found && zxing.bytes == message.bytes)
            << "ZXingReader decoded " << Printable(zxing.bytes) << "\n" << zxing.diagnostics << "\nmatrix:\n"
            << test::SymbolToText(encoded.state->symbol);
        // dmtxread reads the 144 x 144 check codewords only in the plain
        // interleaved order, not the order this size is built in.
        if (size.rows == 144) continue;
        const Reading dmtx = ReadWithDmtx(image);
        ASSERT_TRUE(dmtx.found && dmtx.bytes == message.bytes)
            << "dmtxread decoded " << Printable(dmtx.bytes) << "\n" << dmtx.diagnostics << "\nmatrix:\n"
            << test::SymbolToText(encoded.state->symbol);
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizes, RoundTrip, testing::Range(0, test::kSquareSizeCount), [](const testing::TestParamInfo<int>& info) {
    const SymbolSize& size = kSymbolSizes[static_cast<std::size_t>(info.param)];
    return std::to_string(size.rows) + "x" + std::to_string(size.cols);
});

}  // namespace
}  // namespace ecc200

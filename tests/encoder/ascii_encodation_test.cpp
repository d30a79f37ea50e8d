// ASCII encodation, ISO/IEC 16022 5.2.3: digit pairs, single bytes and
// Upper Shift, as the encoder writes a message forced into ASCII.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "encoder/encode_segments.h"
#include "encoder/encoder_workspace.h"

namespace ecc200 {
namespace {

constexpr int kUpperShiftCodeword = 235;

// One workspace and symbol for the many encodings of a test.
struct AsciiEncoder {
    std::unique_ptr<EncoderWorkspace> workspace = std::make_unique<EncoderWorkspace>();
    std::unique_ptr<EncodedSymbol> symbol = std::make_unique<EncodedSymbol>();
    Outcome outcome;

    // The data codewords of the message, every byte as it is.
    std::vector<int> Codewords(std::string_view message) {
        const Segment segment{message, 0};
        outcome = EncodeSegments(&segment, 1, LiteralAsciiRequest(), *workspace, *symbol);
        if (!outcome.ok()) return {};
        return std::vector<int>(symbol->codewords.begin(), symbol->codewords.begin() + symbol->dataCount);
    }

    // How many data codewords the message needs, whether a symbol holds them or not.
    int Needed(std::string_view message) {
        const std::vector<int> codewords = Codewords(message);
        return outcome.ok() ? static_cast<int>(codewords.size()) : outcome.codewordsNeeded;
    }
};

std::vector<int> Codewords(std::string_view message) { return AsciiEncoder().Codewords(message); }

// The inverse of the encodation table, written from the standard rather than
// from the encoder: 1 to 128 a byte, 130 to 229 a digit pair, 235 a shifted
// byte. Anything else cannot come out of the encoder.
std::string Decode(const std::vector<int>& codewords) {
    std::string bytes;
    for (std::size_t i = 0; i < codewords.size(); ++i) {
        const int c = codewords[i];
        if (c >= 1 && c <= 128) {
            bytes.push_back(static_cast<char>(c - 1));
        } else if (c >= 130 && c <= 229) {
            bytes.push_back(static_cast<char>('0' + (c - 130) / 10));
            bytes.push_back(static_cast<char>('0' + (c - 130) % 10));
        } else if (c == 235 && i + 1 < codewords.size() && codewords[i + 1] <= 128) {
            bytes.push_back(static_cast<char>(codewords[++i] + 127));
        } else {
            return "<codeword " + std::to_string(c) + " at " + std::to_string(i) + ">";
        }
    }
    return bytes;
}

TEST(EncodeMessage, EncodesTheReferenceMessages) {
    struct Case {
        std::string message;
        std::vector<int> codewords;
    };
    const Case cases[] = {
        {"", {}},
        {"12", {142}},
        {"123456", {142, 164, 186}},
        {"12345", {142, 164, 54}},  // odd run: the last digit stands alone
        {"123", {142, 52}},
        {"9", {58}},
        {"1A", {50, 66}},           // a digit before a non-digit stands alone
        {"A1", {66, 50}},
        {"00", {130}},
        {"99", {229}},
        {"/0 9:", {48, 49, 33, 58, 59}},  // the neighbours of '0' and '9' are no digits
        {"A", {66}},
        {"Hello", {73, 102, 109, 109, 112}},
        {"~", {127}},               // no escape characters
        {"\x01", {2}},
        {"\x7F", {128}},
        {"\x80", {235, 1}},
        {"\xE9", {235, 106}},
        {"\xFF", {235, 128}},
        {"1\xB2" "3", {50, 235, 51, 52}},  // a shifted byte breaks a digit run
    };
    for (const Case& c : cases) EXPECT_EQ(Codewords(c.message), c.codewords) << "message \"" << c.message << '"';
}

TEST(EncodeMessage, EveryPairOfBytesYieldsOnlyAsciiCodewordsThatDecodeBack) {
    AsciiEncoder encoder;
    for (int first = 1; first <= 255; ++first) {
        for (int second = 0; second <= 255; ++second) {
            std::string message(1, static_cast<char>(first));
            if (second != 0) message.push_back(static_cast<char>(second));
            const std::vector<int> codewords = encoder.Codewords(message);
            ASSERT_EQ(Decode(codewords), message) << "bytes " << first << ", " << second;
        }
    }
}

TEST(EncodeMessage, CountsLongMessagesWithoutWritingPastTheStream) {
    AsciiEncoder encoder;
    EXPECT_EQ(encoder.Needed(std::string(1999, '7')), 1000);  // 999 pairs and one digit
    EXPECT_EQ(encoder.Needed(std::string(1999, 'x')), 1999);

    std::string high;
    for (int i = 0; i < 1999; ++i) high.push_back(static_cast<char>(0x80 + i % 128));
    EXPECT_EQ(encoder.Needed(high), 3998);
    EXPECT_EQ(encoder.outcome.failure, Failure::MessageTooLong);
    // The largest symbol holds 779 of them: 1558 codewords, each byte shifted.
    const std::vector<int> held = encoder.Codewords(high.substr(0, 779));
    ASSERT_EQ(held.size(), 1558u);
    for (std::size_t i = 0; i < held.size(); i += 2) {
        ASSERT_EQ(held[i], kUpperShiftCodeword);
        ASSERT_EQ(held[i + 1], 1 + static_cast<int>(i / 2) % 128);
    }
}

}  // namespace
}  // namespace ecc200

// Size selection and padding: ISO/IEC 16022 Table 7 (square sizes), 5.2.3.3
// and Annex B.1, through the encoder with every byte in ASCII.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "encoder/codeword_values.h"
#include "encoder/encode_segments.h"
#include "encoder/symbol_error_correction.h"
#include "support/encoded_symbol.h"
#include "support/encoding.h"

namespace ecc200 {
namespace {

constexpr int kSymbolSizeCount = test::kSquareSizeCount;

// Symbol side and data capacity of the square sizes, ISO/IEC 16022 Table 7.
constexpr std::pair<int, int> kSideAndCapacity[kSymbolSizeCount] = {
    {10, 3},    {12, 5},    {14, 8},    {16, 12},   {18, 18},   {20, 22},   {22, 30},   {24, 36},
    {26, 44},   {32, 62},   {36, 86},   {40, 114},  {44, 144},  {48, 174},  {52, 204},  {64, 280},
    {72, 368},  {80, 456},  {88, 576},  {96, 696},  {104, 816}, {120, 1050}, {132, 1304}, {144, 1558}};

// The size the encoder selects for `count` codewords ('A' is one each).
std::optional<SymbolSize> SelectSymbolSize(int count) {
    const test::EncodedSymbol encoded = test::Encode(std::string(static_cast<std::size_t>(count), 'A'));
    if (!encoded.built) return std::nullopt;
    return encoded.state->attributes;
}

int SelectedSide(int count) {
    const std::optional<SymbolSize> size = SelectSymbolSize(count);
    return size ? size->rows : 0;
}

TEST(SelectSymbolSize, ChoosesTheSmallestSizeThatHoldsTheCount) {
    EXPECT_EQ(SelectedSide(0), 10);
    for (int i = 0; i < kSymbolSizeCount; ++i) {
        const auto [side, capacity] = kSideAndCapacity[i];
        EXPECT_EQ(SelectedSide(capacity), side) << "exact fit";
        const int previousCapacity = i == 0 ? 0 : kSideAndCapacity[i - 1].second;
        EXPECT_EQ(SelectedSide(previousCapacity + 1), side) << "one above the size below";
        EXPECT_EQ(SelectedSide(capacity + 1), i + 1 < kSymbolSizeCount ? kSideAndCapacity[i + 1].first : 0);
    }
}

TEST(SelectSymbolSize, CopiesTheWholeRow) {
    for (int i = 0; i < kSymbolSizeCount; ++i) {
        const SymbolSize& row = kSymbolSizes[static_cast<std::size_t>(i)];
        const test::EncodedSymbol encoded = test::Encode(std::string(static_cast<std::size_t>(row.dataCodewords), 'A'));
        ASSERT_TRUE(encoded.built);
        EXPECT_EQ(encoded.state->symbol.rows(), row.rows);
        EXPECT_EQ(encoded.state->symbol.cols(), row.cols);
        EXPECT_EQ(static_cast<int>(encoded.state->stream.size()), row.dataCodewords + row.checkCodewords);
    }
}

TEST(RandomizePad, GivesThePadsByPosition) {
    const int expected[] = {175, 70, 220, 115, 11, 161, 56, 206, 101, 251, 147};  // positions 2 to 12
    for (int position = 2; position <= 12; ++position) {
        EXPECT_EQ(RandomizePad(kPadCodeword, position), expected[position - 2]) << "position " << position;
    }
    for (int position = 1; position <= kMaxDataCodewords; ++position) {
        const int pad = RandomizePad(kPadCodeword, position);
        ASSERT_TRUE(pad >= 1 && pad <= 254 && pad != kPadCodeword) << "position " << position << " gives " << pad;
    }
}

// Pads a stream whose first `count` entries are message codewords, of the
// size the encoder selects for them, and returns the size's data codewords;
// entries from the capacity on must keep the marker they were given.
struct Padded {
    int side = 0;
    std::vector<int> data;
};

Padded Pad(const std::vector<int>& message) {
    constexpr std::uint8_t kUntouched = 255;
    auto stream = std::make_unique<std::array<std::uint8_t, kMaxSymbolCodewords>>();
    stream->fill(kUntouched);
    for (std::size_t k = 0; k < message.size(); ++k) (*stream)[k] = static_cast<std::uint8_t>(message[k]);
    const std::optional<SymbolSize> size = SelectSymbolSize(static_cast<int>(message.size()));
    if (!size) return {};
    PadDataCodewords(*size, static_cast<int>(message.size()), stream->data());
    const auto end = stream->begin() + size->dataCodewords;
    for (auto it = end; it != stream->end(); ++it) EXPECT_EQ(*it, kUntouched);
    return {size->rows, std::vector<int>(stream->begin(), end)};
}

// The encoder's own padding: the 144 x 144 size in the ISO order keeps the
// padded data codewords first, and every smaller size has them first too
// when it has one block; the messages below stay in those.
Padded PadMessage(std::string_view message) {
    EncodeRequest request = LiteralAsciiRequest();
    request.iso144 = true;
    const test::Encoding encoding = test::EncodeWith({Segment{message, 0}}, request);
    if (!encoding.symbol) return {};
    const SymbolSize* size = nullptr;
    for (const SymbolSize& s : kSymbolSizes) {
        if (s.rows == encoding.symbol->matrix.rows() && s.cols == encoding.symbol->matrix.cols()) size = &s;
    }
    const std::vector<std::uint8_t> codewords = encoding.codewords();
    return {size->rows, std::vector<int>(codewords.begin(), codewords.begin() + size->dataCodewords)};
}

Padded PadCount(int count) { return Pad(std::vector<int>(static_cast<std::size_t>(count), 66)); }

std::vector<int> Tail(const std::vector<int>& data, std::size_t from) {
    return std::vector<int>(data.begin() + static_cast<std::ptrdiff_t>(std::min(from, data.size())), data.end());
}

TEST(PadCodewordStream, FillsTheReferenceMessages) {
    EXPECT_EQ(PadMessage("").data, (std::vector<int>{129, 175, 70}));
    EXPECT_EQ(PadMessage("12").data, (std::vector<int>{142, 129, 70}));
    EXPECT_EQ(PadMessage("A").data, (std::vector<int>{66, 129, 70}));
    EXPECT_EQ(PadMessage("123456").data, (std::vector<int>{142, 164, 186}));
    const Padded letters = PadMessage("ABCDEFGHI");
    EXPECT_EQ(letters.side, 16);
    EXPECT_EQ(Tail(letters.data, 9), (std::vector<int>{129, 251, 147}));
}

TEST(PadCodewordStream, PadsFromTheMessageCountToTheCapacity) {
    struct Case {
        int count;
        int side;
        std::vector<int> pads;  // the entries from index `count` on
    };
    const Case cases[] = {
        {3, 10, {}},
        {4, 12, {129}},
        {6, 14, {129, 56}},
        {1304, 132, {}},
        {1558, 144, {}},
    };
    for (const Case& c : cases) {
        const Padded padded = PadCount(c.count);
        EXPECT_EQ(padded.side, c.side) << c.count << " codewords";
        EXPECT_EQ(Tail(padded.data, static_cast<std::size_t>(c.count)), c.pads) << c.count << " codewords";
    }
    const Padded justAbove = PadCount(1305);
    EXPECT_EQ(justAbove.side, 144);
    EXPECT_EQ(Tail(justAbove.data, 1305).size(), 253u);
    EXPECT_EQ(std::vector<int>(justAbove.data.begin() + 1305, justAbove.data.begin() + 1310),
              (std::vector<int>{129, 62, 212, 107, 3}));
    EXPECT_EQ(PadCount(1559).side, 0);
}

}  // namespace
}  // namespace ecc200

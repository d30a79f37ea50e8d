// Symbol character placement, ISO/IEC 16022 5.8 and Annex F.
#include "encoder/placement.h"
#include "support/matrix_text.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "encoder/encode_segments.h"
#include "encoder/symbol_sizes.h"
#include "support/encoded_symbol.h"
#include "support/encoding.h"
#include "support/square_sizes.h"
#include "support/decoders.h"
#include "support/pgm_image.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

std::unique_ptr<MappingMatrix> Place(int side) {
    auto mapping = std::make_unique<MappingMatrix>();
    PlaceModules(side, side, *mapping);
    return mapping;
}

TEST(PlaceModules, Lays8x8OutAsTheStandardShows) {
    // k.b written as 10 * k + b.
    constexpr std::int16_t kExpected[8][8] = {
        {21, 22, 36, 37, 38, 43, 44, 45},
        {23, 24, 25, 51, 52, 46, 47, 48},
        {26, 27, 28, 53, 54, 55, 11, 12},
        {15, 61, 62, 56, 57, 58, 13, 14},
        {18, 63, 64, 65, 81, 82, 16, 17},
        {72, 66, 67, 68, 83, 84, 85, 71},
        {74, 75, 31, 32, 86, 87, 88, 73},
        {77, 78, 33, 34, 35, 41, 42, 76},
    };
    // Placed over the largest matrix, to show that only 8 x 8 cells count.
    const std::unique_ptr<MappingMatrix> mapping = Place(132);
    PlaceModules(8, 8, *mapping);
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            EXPECT_EQ(mapping->at(row, col), kExpected[row][col]) << "(" << row << ", " << col << ")";
        }
    }
}

TEST(PlaceModule, WrapsPositionsAboveAndLeftOfTheMatrix) {
    struct Case {
        int side, row, col, expectedRow, expectedCol;
    };
    const Case cases[] = {
        {8, -1, 3, 7, 3},     // side mod 8 = 0: no shift
        {10, -1, 3, 9, 1},    // mod 8 = 2: shift -2
        {12, -2, 3, 10, 7},   // mod 8 = 4: shift +4
        {14, -1, 3, 13, 5},   // mod 8 = 6: shift +2
        {10, 4, -1, 2, 9},    // a column to the left shifts the row
        {8, -1, -1, 7, 7},
        {10, -1, -2, 7, 6},   // the row wrap pushes the column further left
        {12, -1, -1, 11, 3},  // the row wrap brings the column back in
    };
    for (const Case& c : cases) {
        const auto mapping = std::make_unique<MappingMatrix>();
        mapping->reset(c.side, c.side);
        PlaceModule(*mapping, c.row, c.col, 7, 3);
        EXPECT_EQ(mapping->at(c.expectedRow, c.expectedCol), BitRef(7, 3))
            << c.side << "x" << c.side << " (" << c.row << ", " << c.col << ")";
    }
}

using Position = std::array<int, 2>;
using CornerShape = std::array<Position, 8>;

// The corner shapes, Figures F.3 to F.6: positions of bits 1 to 8.
CornerShape CornerPositions(int shape, int n) {
    switch (shape) {
        case 1: return {{{n - 1, 0}, {n - 1, 1}, {n - 1, 2}, {0, n - 2}, {0, n - 1}, {1, n - 1}, {2, n - 1}, {3, n - 1}}};
        case 2: return {{{n - 3, 0}, {n - 2, 0}, {n - 1, 0}, {0, n - 4}, {0, n - 3}, {0, n - 2}, {0, n - 1}, {1, n - 1}}};
        case 3: return {{{n - 3, 0}, {n - 2, 0}, {n - 1, 0}, {0, n - 2}, {0, n - 1}, {1, n - 1}, {2, n - 1}, {3, n - 1}}};
        default: return {{{n - 1, 0}, {n - 1, n - 1}, {0, n - 3}, {0, n - 2}, {0, n - 1}, {1, n - 3}, {1, n - 2}, {1, n - 1}}};
    }
}

// The codeword whose eight bits lie exactly on the corner shape, or 0.
int CodewordOnCorner(const MappingMatrix& mapping, int shape) {
    const CornerShape positions = CornerPositions(shape, mapping.rows());
    const int codeword = CodewordOf(mapping.at(positions[0][0], positions[0][1]));
    for (int bit = 1; bit <= 8; ++bit) {
        const Position& at = positions[static_cast<std::size_t>(bit - 1)];
        if (mapping.at(at[0], at[1]) != BitRef(codeword, bit)) return 0;
    }
    return codeword;
}

TEST(PlaceCorner, LaysEachCornerShapeOnItsPositions) {
    void (*const placers[])(MappingMatrix&, int) = {PlaceCorner1, PlaceCorner2, PlaceCorner3, PlaceCorner4};
    for (int shape = 1; shape <= 4; ++shape) {
        for (const int side : {12, 14, 16}) {
            const auto mapping = std::make_unique<MappingMatrix>();
            mapping->reset(side, side);
            placers[shape - 1](*mapping, 9);
            EXPECT_EQ(CodewordOnCorner(*mapping, shape), 9) << "shape " << shape << " in " << side << "x" << side;
        }
    }
}

// Which corner shape carries which codeword in each size, and whether the
// fixed 2 x 2 pattern fills the last corner.
struct SizeLayout {
    int side;       // of the mapping matrix
    int codewords;  // placed in it
    int shape;      // 0 when no corner shape is used
    int cornerCodeword;
    bool finalFill;
};
constexpr std::array<SizeLayout, kSymbolSizeCount> kLayouts = {{
    {8, 8, 0, 0, false},        {10, 12, 0, 0, true},        {12, 18, 1, 8, false},      {14, 24, 2, 8, true},
    {16, 32, 0, 0, false},      {18, 40, 0, 0, true},        {20, 50, 1, 23, false},     {22, 60, 2, 23, true},
    {24, 72, 0, 0, false},      {28, 98, 1, 46, false},      {32, 128, 0, 0, false},     {36, 162, 1, 77, false},
    {40, 200, 0, 0, false},     {44, 242, 1, 116, false},    {48, 288, 0, 0, false},     {56, 392, 0, 0, false},
    {64, 512, 0, 0, false},     {72, 648, 0, 0, false},      {80, 800, 0, 0, false},     {88, 968, 0, 0, false},
    {96, 1152, 0, 0, false},    {108, 1458, 1, 716, false},  {120, 1800, 0, 0, false},   {132, 2178, 1, 1073, false},
}};

TEST(PlaceModules, UsesTheCornerShapesAndFinalFillOfEachSize) {
    for (std::size_t i = 0; i < kLayouts.size(); ++i) {
        const SizeLayout& layout = kLayouts[i];
        SCOPED_TRACE(std::to_string(layout.side) + "x" + std::to_string(layout.side));
        ASSERT_EQ(kSquareSymbolTable[i].mappingRows, layout.side);
        EXPECT_EQ(kSquareSymbolTable[i].dataCodewords + kSquareSymbolTable[i].checkCodewords, layout.codewords);
        const std::unique_ptr<MappingMatrix> mapping = Place(layout.side);
        for (int shape = 1; shape <= 4; ++shape) {
            EXPECT_EQ(CodewordOnCorner(*mapping, shape), shape == layout.shape ? layout.cornerCodeword : 0) << "shape " << shape;
        }
        EXPECT_EQ(mapping->at(layout.side - 1, layout.side - 1) == kFixedDark, layout.finalFill);
    }
}

// ISO/IEC 16022 5.8's invariant, in all 48 sizes: every bit of the
// rows * cols / 8 codewords placed once, and the fixed 2 x 2 corner the only
// other cells, in the sizes whose area is not a multiple of 8.
TEST(PlaceModules, PlacesEveryBitOnceAndFillsOnlyTheFixedCornerInEverySize) {
    for (const SymbolSize& size : kSymbolSizes) {
        SCOPED_TRACE(std::to_string(size.rows) + "x" + std::to_string(size.cols));
        const int rows = size.mappingRows();
        const int cols = size.mappingCols();
        const int codewords = size.dataCodewords + size.checkCodewords;
        const bool finalFill = rows * cols % 8 != 0;
        const auto mapping = std::make_unique<MappingMatrix>();
        PlaceModules(rows, cols, *mapping);
        std::vector<int> seen(static_cast<std::size_t>(10 * codewords + 9), 0);
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < cols; ++col) {
                const std::int16_t cell = mapping->at(row, col);
                if (!IsBitRef(cell)) {
                    const bool corner = row >= rows - 2 && col >= cols - 2;
                    const int expected = corner && (row - col == rows - cols) ? kFixedDark : 0;
                    ASSERT_TRUE(finalFill && corner && cell == expected) << "cell " << cell << " at (" << row << ", " << col << ")";
                    continue;
                }
                ASSERT_TRUE(CodewordOf(cell) <= codewords && BitOf(cell) >= 1 && BitOf(cell) <= 8) << cell;
                ASSERT_EQ(++seen[static_cast<std::size_t>(cell)], 1) << CodewordOf(cell) << '.' << BitOf(cell) << " placed twice";
            }
        }
        for (int k = 1; k <= codewords; ++k) {
            for (int b = 1; b <= 8; ++b) ASSERT_EQ(seen[static_cast<std::size_t>(BitRef(k, b))], 1) << k << '.' << b;
        }
    }
}

// zint's symbol of `size` for the message, in SymbolToText's form. zint numbers
// the 48 sizes 1 to 48 in the order of kSymbolSizes; --dump writes each row
// in hexadecimal, four modules a digit, the last digits padded with light.
std::string ZintMatrixText(const SymbolSize& size, const std::string& message) {
    const int version = static_cast<int>(&size - kSymbolSizes.data()) + 1;
    std::istringstream dump(test::RunCommand({"zint", "-b", "71", "--dmre", "--vers=" + std::to_string(version), "--dump", "-d", message}).out);
    std::string text, line;
    while (std::getline(dump, line)) {
        std::string row;
        for (const char digit : line) {
            if (digit == ' ') continue;
            const int value = std::stoi(std::string(1, digit), nullptr, 16);
            for (int weight = 8; weight > 0; weight /= 2) row.push_back((value & weight) != 0 ? '1' : '0');
        }
        text += row.substr(0, static_cast<std::size_t>(size.cols)) + '\n';
    }
    return text;
}

std::unique_ptr<SymbolMatrix> EncodeAtSize(const SymbolSize& size, const std::string& message) {
    EncodeRequest request;
    request.encodation = Encodation::Ascii;
    request.dmre = true;
    request.rows = size.rows;
    request.cols = size.cols;
    const test::Encoding encoding = test::EncodeWith({Segment{message, 0}}, request);
    return encoding.symbol ? std::make_unique<SymbolMatrix>(encoding.symbol->matrix) : nullptr;
}

// Digit pairs are one ASCII codeword each in our encodation and in zint's
// minimal one, so both symbols carry the same codewords and must agree module
// for module: the placement, frames and fixed corner of every size against
// an independent encoder. Messages fill the capacity with digit pairs "00",
// "77" and random ones, so that every mapping cell shows both values.
TEST(PlaceModules, AgreesWithZintModuleForModuleInEverySize) {
    std::mt19937 random(21471);
    for (const SymbolSize& size : kSymbolSizes) {
        SCOPED_TRACE(std::to_string(size.rows) + "x" + std::to_string(size.cols));
        const std::size_t digits = 2 * static_cast<std::size_t>(size.dataCodewords);
        std::string shuffled(digits, '0');
        for (char& digit : shuffled) digit = static_cast<char>('0' + random() % 10);
        for (const std::string& message : {std::string(digits, '0'), std::string(digits, '7'), shuffled}) {
            const std::unique_ptr<SymbolMatrix> ours = EncodeAtSize(size, message);
            ASSERT_NE(ours, nullptr);
            ASSERT_EQ(test::SymbolToText(*ours), ZintMatrixText(size, message)) << message;
        }
    }
}

// The two DMRE sizes whose walk needs the wrap below the last row, read back
// by zxing-cpp.
TEST(PlaceModules, DmreSizesWrappingBelowTheLastRowReadBackExactly) {
    const test::TempDir dir;
    for (const SymbolSize& size : kSymbolSizes) {
        if (size.mappingRows() % 8 != 0 || size.mappingCols() % 8 != 4) continue;
        SCOPED_TRACE(std::to_string(size.rows) + "x" + std::to_string(size.cols));
        const std::string message = test::ExactFill(size.dataCodewords, 0);
        const std::unique_ptr<SymbolMatrix> ours = EncodeAtSize(size, message);
        ASSERT_NE(ours, nullptr);
        const std::string image = dir.file("dmre.pgm");
        test::WritePgm(image, *ours, 4, 2);
        EXPECT_EQ(test::ZxingRead(image), message);
    }
}

}  // namespace
}  // namespace ecc200

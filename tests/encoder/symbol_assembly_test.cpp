// Finder patterns, alignment patterns and the copy of the mapping matrix into
// the data regions, ISO/IEC 16022 5.8.1 and Figure 5.
#include "encoder/symbol_assembly.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "encoder/placement.h"
#include "encoder/placement_map.h"
#include "encoder/oracles/plain_symbol_assembly.h"

namespace ecc200 {
namespace {

constexpr std::int16_t kUnwritten = -1;

struct Assembled {
    std::unique_ptr<MappingMatrix> mapping = std::make_unique<MappingMatrix>();
    std::unique_ptr<SymbolMatrix> symbol = std::make_unique<SymbolMatrix>();
    std::vector<std::uint8_t> stream;
};

// Runs the finder patterns, the placement and the copy in the encoder's order
// on a symbol matrix whose every cell starts out as kUnwritten.
Assembled Assemble(const SymbolAttributes& size, const std::vector<int>& codewords) {
    Assembled a;
    a.symbol->resizeForOverwrite(size.symbolRows, size.symbolRows);
    for (int row = 0; row < size.symbolRows; ++row) {
        for (int col = 0; col < size.symbolRows; ++col) a.symbol->set(row, col, kUnwritten);
    }
    for (int codeword : codewords) a.stream.push_back(static_cast<std::uint8_t>(codeword));
    DrawFinderPatterns(size, *a.symbol);
    PlaceModules(size.mappingRows, size.mappingColumns, *a.mapping);
    CopyMappingToSymbol(size, *a.mapping, a.stream.data(), *a.symbol);
    return a;
}

std::vector<int> Repeated(const SymbolAttributes& size, int value) {
    return std::vector<int>(static_cast<std::size_t>(size.dataCodewords + size.checkCodewords), value);
}

const SymbolAttributes& SizeWithSide(int side) {
    for (const SymbolAttributes& size : kSquareSymbolTable) {
        if (size.symbolRows == side) return size;
    }
    throw std::invalid_argument("no such size");
}

TEST(CopyMappingToSymbol, Builds10x10ForTheStreamOf123456) {
    constexpr std::int16_t kExpected[10][10] = {
        {1, 0, 1, 0, 1, 0, 1, 0, 1, 0},
        {1, 128, 0, 0, 2, 0, 32, 16, 0, 1},
        {1, 32, 0, 0, 0, 0, 0, 2, 0, 0},
        {1, 4, 0, 0, 0, 16, 8, 128, 0, 1},
        {1, 8, 0, 0, 0, 0, 1, 0, 0, 0},
        {1, 0, 0, 0, 0, 0, 64, 4, 2, 1},
        {1, 64, 4, 0, 1, 32, 0, 0, 0, 0},
        {1, 16, 8, 128, 0, 4, 2, 0, 0, 1},
        {1, 0, 0, 32, 16, 8, 0, 64, 0, 0},
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    };
    const Assembled a = Assemble(SizeWithSide(10), {142, 164, 186, 114, 25, 5, 88, 102});
    ASSERT_EQ(a.symbol->side(), 10);
    for (int row = 0; row < 10; ++row) {
        for (int col = 0; col < 10; ++col) EXPECT_EQ(a.symbol->at(row, col), kExpected[row][col]) << "(" << row << ", " << col << ")";
    }
}

TEST(CopyMappingToSymbol, PutsTheFixedCornerOf12x12AtTheLowerRightOfTheData) {
    const Assembled a = Assemble(SizeWithSide(12), Repeated(SizeWithSide(12), 0xFF));
    EXPECT_EQ(a.symbol->at(9, 9), 1);
    EXPECT_EQ(a.symbol->at(10, 10), 1);
    EXPECT_EQ(a.symbol->at(9, 10), 0);
    EXPECT_EQ(a.symbol->at(10, 9), 0);
}

TEST(DrawFinderPatterns, Frames32x32AsFourRegions) {
    const Assembled a = Assemble(SizeWithSide(32), Repeated(SizeWithSide(32), 0xFF));
    const SymbolMatrix& s = *a.symbol;
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(s.at(0, i), 1 - i % 2) << "row 0, col " << i;
        EXPECT_EQ(s.at(15, i), 1) << "row 15, col " << i;
        EXPECT_EQ(s.at(16, i), 1 - i % 2) << "row 16, col " << i;
        EXPECT_EQ(s.at(31, i), 1) << "row 31, col " << i;
        EXPECT_EQ(s.at(i, 0), 1) << "col 0, row " << i;
        EXPECT_EQ(s.at(i, 15), i % 2) << "col 15, row " << i;
        EXPECT_EQ(s.at(i, 16), 1) << "col 16, row " << i;
        EXPECT_EQ(s.at(i, 31), i % 2) << "col 31, row " << i;
    }
    // Mapping rows and columns 0 to 13 land on 1 to 14, 14 to 27 on 17 to 30.
    const int landings[][2] = {{0, 1}, {13, 14}, {14, 17}, {27, 30}};
    for (const auto& r : landings) {
        for (const auto& c : landings) {
            EXPECT_EQ(s.at(r[1], c[1]), BitMask(BitOf(a.mapping->at(r[0], c[0])))) << "mapping (" << r[0] << ", " << c[0] << ")";
        }
    }
}

// Every cell of every size: the frame of its region, or the bit of the mapping
// cell that the region's interior shows, with its weight.
TEST(AssembledSymbol, HasFramesAndDataWhereTheyBelongInEverySize) {
    std::mt19937 random(16022);
    for (const SymbolAttributes& size : kSquareSymbolTable) {
        SCOPED_TRACE(std::to_string(size.symbolRows) + "x" + std::to_string(size.symbolColumns));
        std::vector<int> codewords = Repeated(size, 0);
        for (int& c : codewords) c = static_cast<int>(random() % 256);
        const Assembled a = Assemble(size, codewords);
        ASSERT_EQ(a.symbol->side(), size.symbolRows);
        const int height = size.regionRows + 2;
        const int width = size.regionColumns + 2;
        // The matrix has no cells outside the symbol: a write past it is
        // out of its storage, which the sanitize preset reports.
        ASSERT_EQ(a.symbol->cols(), size.symbolColumns);
        for (int row = 0; row < size.symbolRows; ++row) {
            for (int col = 0; col < size.symbolColumns; ++col) {
                const int value = a.symbol->at(row, col);
                const int r = row % height;
                const int c = col % width;
                int expected = 0;
                if (r == height - 1 || c == 0) {
                    expected = 1;  // solid finder edges
                } else if (r == 0) {
                    expected = c % 2 == 0 ? 1 : 0;  // clock track, dark at the left
                } else if (c == width - 1) {
                    expected = r % 2 == 1 ? 1 : 0;  // clock track, light at the top
                } else {
                    const int mr = row / height * size.regionRows + r - 1;
                    const int mc = col / width * size.regionColumns + c - 1;
                    const std::int16_t cell = a.mapping->at(mr, mc);
                    expected = IsBitRef(cell) ? codewords[static_cast<std::size_t>(CodewordOf(cell) - 1)] & BitMask(BitOf(cell)) : cell;
                }
                ASSERT_EQ(value, expected) << "(" << row << ", " << col << ")";
            }
        }
    }
}

TEST(FillSymbolFromMap, GivesTheSymbolOfTheDefinitionStepsInEverySize) {
    std::mt19937 random(16022);
    for (const SymbolAttributes& size : kSquareSymbolTable) {
        SCOPED_TRACE(std::to_string(size.symbolRows) + "x" + std::to_string(size.symbolColumns));
        for (int round = 0; round < 3; ++round) {
            std::vector<int> codewords = Repeated(size, 0);
            for (int& codeword : codewords) codeword = static_cast<int>(random() % 256);
            const Assembled a = Assemble(size, codewords);
            const auto mapped = std::make_unique<SymbolMatrix>();
            mapped->resizeForOverwrite(size.symbolRows, size.symbolColumns);
            for (int row = 0; row < size.symbolRows; ++row) {
                for (int col = 0; col < size.symbolColumns; ++col) mapped->set(row, col, kUnwritten);
            }
            FillSymbolFromMap(PlacementMapFor(SizeOf(size)), a.stream.data(), *mapped);
            ASSERT_EQ(mapped->side(), size.symbolRows);
            ASSERT_EQ(mapped->cols(), size.symbolColumns);
            for (int row = 0; row < size.symbolRows; ++row) {
                for (int col = 0; col < size.symbolColumns; ++col) {
                    ASSERT_EQ(mapped->at(row, col), a.symbol->at(row, col)) << "(" << row << ", " << col << ")";
                }
            }
        }
    }
}

}  // namespace
}  // namespace ecc200

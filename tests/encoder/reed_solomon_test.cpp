// Reed-Solomon error correction and interleaving, ISO/IEC 16022 5.7 and
// Annex E. The reference arithmetic below works bit by bit on polynomials
// and shares nothing with the encoder's tables.
#include "encoder/reed_solomon.h"
#include "encoder/reed_solomon_products.h"
#include "encoder/oracles/plain_reed_solomon.h"
#include "encoder/symbol_error_correction.h"
#include "support/square_sizes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace ecc200 {
namespace {

// Product in GF(256) by shift-and-add, reduced by x^8 + x^5 + x^3 + x^2 + 1.
int SlowMultiply(int a, int b) {
    int product = 0;
    for (; b != 0; b >>= 1) {
        if (b & 1) product ^= a;
        a <<= 1;
        if (a & 0x100) a ^= 301;
    }
    return product;
}

int SlowPower(int exponent) {
    int value = 1;
    for (int i = 0; i < exponent; ++i) value = SlowMultiply(value, 2);
    return value;
}

// (x + a^1)(x + a^2)...(x + a^n), highest power first, leading 1 included.
std::vector<int> SlowGenerator(int n) {
    std::vector<int> g = {1};
    for (int root = 1; root <= n; ++root) {
        std::vector<int> next(g.size() + 1, 0);
        for (std::size_t i = 0; i < g.size(); ++i) {
            next[i] ^= g[i];                                    // times x
            next[i + 1] ^= SlowMultiply(g[i], SlowPower(root));  // times a^root
        }
        g = next;
    }
    return g;
}

// The remainder of x^n D(x) divided by the generator, by long division.
std::vector<int> SlowEcc(const std::vector<int>& data, int n) {
    const std::vector<int> g = SlowGenerator(n);
    std::vector<int> work(data);
    work.resize(data.size() + static_cast<std::size_t>(n), 0);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int factor = work[i];
        for (std::size_t j = 0; j < g.size(); ++j) work[i + j] ^= SlowMultiply(factor, g[j]);
    }
    return std::vector<int>(work.end() - n, work.end());
}

std::vector<int> RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int> bytes(count);
    for (int& byte : bytes) byte = static_cast<int>(random() % 256);
    return bytes;
}

TEST(GaloisTables, EqualTheFieldOfPolynomial301) {
    for (int i = 0; i < 255; ++i) {
        ASSERT_EQ(kGalois.antilog[static_cast<std::size_t>(i)], SlowPower(i)) << "antilog " << i;
        ASSERT_EQ(kGalois.log[static_cast<std::size_t>(SlowPower(i))], i) << "log of a^" << i;
    }
    EXPECT_EQ(kGalois.antilog[255], 0);
    EXPECT_EQ(kGalois.log[0], 0);
    const int head[] = {1, 2, 4, 8, 16, 32, 64, 128, 45, 90, 180, 69};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(kGalois.antilog[static_cast<std::size_t>(i)], head[i]);
    EXPECT_EQ(kGalois.antilog[253], 75);
    EXPECT_EQ(kGalois.antilog[254], 150);
    EXPECT_EQ(kGalois.log[45], 8);
    EXPECT_EQ(kGalois.log[150], 254);
}

TEST(GfMultiply, AgreesWithShiftAndAddForAllPairs) {
    EXPECT_EQ(GfMultiply(0, 7), 0);
    EXPECT_EQ(GfMultiply(7, 0), 0);
    EXPECT_EQ(GfMultiply(1, 77), 77);
    EXPECT_EQ(GfMultiply(2, 128), 45);
    EXPECT_EQ(GfMultiply(150, 2), 1);     // logarithms add up to 255
    EXPECT_EQ(GfMultiply(150, 150), 75);  // logarithms add up to 508
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) ASSERT_EQ(GfMultiply(a, b), SlowMultiply(a, b)) << a << " * " << b;
    }
}

TEST(GeneratorCoefficient, EqualsTheMultipliedOutGenerators) {
    for (const int n : kCheckCodewordCounts) {
        const std::vector<int> g = SlowGenerator(n);
        for (int j = 0; j < n; ++j) {
            ASSERT_EQ(GeneratorCoefficient(n, j), g[static_cast<std::size_t>(j + 1)]) << "n " << n << ", j " << j;
        }
    }
    const int five[] = {62, 111, 15, 48, 228};
    const int seven[] = {254, 92, 240, 134, 144, 68, 23};
    for (int j = 0; j < 5; ++j) EXPECT_EQ(GeneratorCoefficient(5, j), five[j]);
    for (int j = 0; j < 7; ++j) EXPECT_EQ(GeneratorCoefficient(7, j), seven[j]);
    EXPECT_EQ(GeneratorCoefficient(62, 0), 204);
    EXPECT_EQ(GeneratorCoefficient(62, 61), 242);
    EXPECT_EQ(GeneratorCoefficient(68, 0), 186);
    EXPECT_EQ(GeneratorCoefficient(68, 67), 220);
}

std::vector<int> BlockEcc(const std::vector<int>& data, int checkCount) {
    const auto block = std::make_unique<std::array<std::uint16_t, kMaxBlockLength>>();
    block->fill(0xFFFF);  // the check area must be cleared by the call
    for (std::size_t i = 0; i < data.size(); ++i) (*block)[i] = static_cast<std::uint16_t>(data[i]);
    ComputeBlockEcc(*block, static_cast<std::int32_t>(data.size()), checkCount);
    const auto first = block->begin() + static_cast<std::ptrdiff_t>(data.size());
    return std::vector<int>(first, first + checkCount);
}

TEST(ComputeBlockEcc, GivesTheReferenceCheckCodewords) {
    EXPECT_EQ(BlockEcc({142, 164, 186}, 5), (std::vector<int>{114, 25, 5, 88, 102}));  // "123456"
    EXPECT_EQ(BlockEcc({142, 129, 70}, 5), (std::vector<int>{199, 165, 81, 164, 113}));  // "12"
    EXPECT_EQ(BlockEcc({129, 175, 70}, 5), (std::vector<int>{33, 1, 170, 139, 55}));     // empty message
}

TEST(ComputeBlockEcc, EqualsLongDivisionForEveryBlockShape) {
    for (const SymbolAttributes& size : kSquareSymbolTable) {
        const std::vector<int> data = RandomBytes(static_cast<std::size_t>(size.blockDataCodewords), size.symbolRows);
        EXPECT_EQ(BlockEcc(data, size.blockCheckCodewords), SlowEcc(data, size.blockCheckCodewords))
            << size.symbolRows << "x" << size.symbolColumns;
    }
}

TEST(GeneratorProducts, HoldEveryProductOfAByteWithEachCoefficient) {
    for (const int n : kCheckCodewordCounts) {
        const GeneratorProducts products = GeneratorProductsFor(n);
        ASSERT_EQ(products.checkCount(), n);
        for (int v = 0; v < 256; ++v) {
            for (int j = 0; j < n; ++j) {
                ASSERT_EQ(products.product(v, j), SlowMultiply(v, GeneratorCoefficient(n, j))) << n << ": " << v << " x g" << j;
                const int next = j + 1 < n ? SlowMultiply(v, GeneratorCoefficient(n, j + 1)) : 0;
                ASSERT_EQ(products.movedProduct(v, j), next) << n << ": " << v << " x g" << j + 1;
            }
        }
    }
}

TEST(ComputeBlockEccByTable, EqualsComputeBlockEccForEveryBlockShape) {
    for (const SymbolAttributes& size : kSquareSymbolTable) {
        for (unsigned seed = 0; seed < 4; ++seed) {
            const std::vector<int> data = RandomBytes(static_cast<std::size_t>(size.blockDataCodewords), 100 * seed + size.symbolRows);
            const auto block = std::make_unique<std::array<std::uint16_t, kMaxBlockLength>>();
            block->fill(0xFFFF);
            std::copy(data.begin(), data.end(), block->begin());
            ComputeBlockEccByTable(*block, size.blockDataCodewords, GeneratorProductsFor(size.blockCheckCodewords));
            const auto first = block->begin() + size.blockDataCodewords;
            EXPECT_EQ(std::vector<int>(first, first + size.blockCheckCodewords), BlockEcc(data, size.blockCheckCodewords))
                << size.symbolRows << "x" << size.symbolColumns;
        }
    }
}

// The final stream built the way the standard describes it: blocks dealt
// round-robin, the data codewords in stream order, then check codeword j of
// every block for j = 0, 1, ... In the 144 x 144 size blocks 8 and 9 run one
// check codeword ahead of blocks 0 to 7.
std::vector<int> ExpectedStream(const SymbolAttributes& size, const std::vector<int>& data) {
    const int blocks = size.blockCount;
    std::vector<std::vector<int>> blockData(static_cast<std::size_t>(blocks));
    for (std::size_t k = 0; k < data.size(); ++k) blockData[k % static_cast<std::size_t>(blocks)].push_back(data[k]);
    std::vector<std::vector<int>> checks;
    for (const std::vector<int>& block : blockData) checks.push_back(SlowEcc(block, size.blockCheckCodewords));

    std::vector<int> stream(data);
    const auto appendCheck = [&](int block, int j) { stream.push_back(checks[static_cast<std::size_t>(block)][static_cast<std::size_t>(j)]); };
    if (size.symbolRows != 144) {
        for (int j = 0; j < size.blockCheckCodewords; ++j) {
            for (int b = 0; b < blocks; ++b) appendCheck(b, j);
        }
        return stream;
    }
    appendCheck(8, 0);
    appendCheck(9, 0);
    for (int j = 0; j < 61; ++j) {
        for (int b = 0; b < 8; ++b) appendCheck(b, j);
        appendCheck(8, j + 1);
        appendCheck(9, j + 1);
    }
    for (int b = 0; b < 8; ++b) appendCheck(b, 61);
    return stream;
}

struct Corrected {
    std::vector<std::uint8_t> stream = std::vector<std::uint8_t>(kMaxSymbolCodewords);
    std::unique_ptr<BlockBuffers> buffers = std::make_unique<BlockBuffers>();
    std::vector<int> data;
    int count = 0;  // data and check codewords of the size

    int at(int position) const { return stream[static_cast<std::size_t>(position)]; }
    int block(int b, int position) const { return buffers->blocks[static_cast<std::size_t>(b)][static_cast<std::size_t>(position)]; }
};

// The size's data codewords through AddCheckCodewords in the library's
// order (the order of the nine's symbols).
Corrected Correct(const SymbolAttributes& size) {
    Corrected result;
    result.data = RandomBytes(static_cast<std::size_t>(size.dataCodewords), 7 + size.symbolRows);
    for (std::size_t k = 0; k < result.data.size(); ++k) result.stream[k] = static_cast<std::uint8_t>(result.data[k]);
    AddCheckCodewords(SizeOf(size), false, *result.buffers, result.stream.data());
    result.count = size.dataCodewords + size.checkCodewords;
    return result;
}

TEST(AddErrorCorrection, InterleavesEverySizeInTheStandardsOrder) {
    for (const SymbolAttributes& size : kSquareSymbolTable) {
        const Corrected corrected = Correct(size);
        const std::vector<int> expected = ExpectedStream(size, corrected.data);
        const auto begin = corrected.stream.begin();
        EXPECT_EQ(std::vector<int>(begin, begin + corrected.count), expected)
            << size.symbolRows << "x" << size.symbolColumns;
    }
}

TEST(AddErrorCorrection, AlternatesTheTwoBlocksOf52x52) {
    const SymbolAttributes& size = kSquareSymbolTable[14];
    ASSERT_EQ(size.symbolRows, 52);
    const Corrected c = Correct(size);
    EXPECT_EQ(c.count, 288);
    for (int i = 0; i < 102; ++i) {
        ASSERT_EQ(c.block(0, i), c.data[static_cast<std::size_t>(2 * i)]);
        ASSERT_EQ(c.block(1, i), c.data[static_cast<std::size_t>(2 * i + 1)]);
    }
    for (int j = 0; j < 42; ++j) {
        ASSERT_EQ(c.at(204 + 2 * j), c.block(0, 102 + j));
        ASSERT_EQ(c.at(205 + 2 * j), c.block(1, 102 + j));
    }
}

TEST(AddErrorCorrection, PlacesTheCheckCodewordsOf144x144InTheFieldOrder) {
    const SymbolAttributes& size = kSquareSymbolTable[23];
    ASSERT_EQ(size.symbolRows, 144);
    const Corrected c = Correct(size);
    ASSERT_EQ(c.count, 2178);
    for (int b = 0; b < 10; ++b) {
        const int dataCount = b < 8 ? 156 : 155;
        EXPECT_EQ(SizeOf(size).blockDataCodewords(b), dataCount) << "block " << b;
        std::vector<int> data;
        for (int i = 0; i < dataCount; ++i) data.push_back(c.block(b, i));
        std::vector<int> checks;
        for (int j = 0; j < 62; ++j) checks.push_back(c.block(b, dataCount + j));
        EXPECT_EQ(checks, SlowEcc(data, 62)) << "block " << b;
    }
    EXPECT_EQ(c.at(1557), c.data[1557]);
    EXPECT_EQ(c.at(1557), c.block(7, 155));
    EXPECT_EQ(c.at(1558), c.block(8, 155));  // check codeword 0 of block 8
    EXPECT_EQ(c.at(1559), c.block(9, 155));
    EXPECT_EQ(c.at(1560), c.block(0, 156));  // check codeword 0 of block 0
    for (int b = 0; b < 8; ++b) EXPECT_EQ(c.at(2170 + b), c.block(b, 156 + 61)) << "check codeword 61 of block " << b;
}

}  // namespace
}  // namespace ecc200

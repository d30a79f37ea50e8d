#include "encoder/reed_solomon_products.h"

#include <array>
#include <atomic>
#include <cassert>
#include <cstddef>
#include <mutex>
#include <vector>

namespace ecc200 {
namespace {

constexpr int WordsPerRow(int checkCount) { return (checkCount + 7) / 8; }

// The 256 rows of packed products for one generator, each row followed by
// its moved row. Row 0 and its moved row hold only zero products. A moved
// row is its row shifted down by one byte across the words, the top byte of
// its last word zero: a built row costs no second packing of its products.
std::vector<std::uint64_t> BuildProductRows(const GeneratorPolynomial& g) {
    const auto rowWords = static_cast<std::size_t>(WordsPerRow(g.degree));
    std::vector<std::uint64_t> words(2 * 256 * rowWords, 0);
    for (int v = 1; v < 256; ++v) {
        std::uint64_t* row = &words[2 * rowWords * static_cast<std::size_t>(v)];
        for (int j = 0; j < g.degree; ++j) {
            const std::uint64_t product = GfMultiply(v, g.coefficients[static_cast<std::size_t>(j)]);
            row[j / 8] |= product << (8 * (j % 8));
        }
        std::uint64_t* moved = row + rowWords;
        for (std::size_t w = 0; w < rowWords; ++w) moved[w] = (row[w] >> 8) | (w + 1 < rowWords ? row[w + 1] << 56 : 0);
    }
    return words;
}

// The table of each check count, looked up instead of searched per symbol.
constexpr std::array<std::uint8_t, kMaxCheckCodewords + 1> MakeTableOfCount() {
    std::array<std::uint8_t, kMaxCheckCodewords + 1> table{};
    for (std::size_t t = 0; t < kCheckCodewordCounts.size(); ++t) {
        table[static_cast<std::size_t>(kCheckCodewordCounts[t])] = static_cast<std::uint8_t>(t);
    }
    return table;
}
constexpr std::array<std::uint8_t, kMaxCheckCodewords + 1> kTableOfCount = MakeTableOfCount();

}  // namespace

GeneratorProducts GeneratorProductsFor(int checkCount) {
    // A count's table is built on its first use (the sizes a program draws
    // need only theirs) and published once complete; after that a call costs
    // one atomic load. The first callers build it under the lock.
    static std::array<std::atomic<const std::uint64_t*>, kCheckCodewordCounts.size()> published{};
    static std::array<std::vector<std::uint64_t>, kCheckCodewordCounts.size()> tables;
    static std::mutex building;
    assert(checkCount >= 0 && checkCount <= kMaxCheckCodewords && "no symbol size uses this many check codewords");
    const std::size_t t = kTableOfCount[static_cast<std::size_t>(checkCount)];
    assert(kCheckCodewordCounts[t] == checkCount && "no symbol size uses this many check codewords");
    const std::uint64_t* rows = published[t].load(std::memory_order_acquire);
    if (rows == nullptr) {
        const std::lock_guard<std::mutex> lock(building);
        rows = published[t].load(std::memory_order_relaxed);
        if (rows == nullptr) {
            tables[t] = BuildProductRows(kGenerators[t]);
            rows = tables[t].data();
            published[t].store(rows, std::memory_order_release);
        }
    }
    return GeneratorProducts(rows, kCheckCodewordCounts[t]);
}

namespace {

// The division register of ComputeBlockEcc, R[j] in bits 8 (j mod 8) and up
// of word j / 8, with a zero word behind the last. A step
// R[j] = R[j + 1] ^ row[j] moves every entry down by one place: each word
// shifts right by a byte and takes the lowest byte of the next word on top.
// The entries past R[n - 1] stay zero, as the rows' are.
//
// Two steps at once: with a = d_i ^ R[0] and b = d_(i+1) ^ R[1] ^ row(a)[0],
// R[j] becomes R[j + 2] ^ row(a)[j + 1] ^ row(b)[j], the middle term being
// the moved row of a.
using DivisionRegister = std::array<std::uint64_t, (kMaxCheckCodewords + 7) / 8 + 1>;

int Feedback(std::uint16_t codeword, std::uint64_t registerBits) { return static_cast<int>((codeword ^ registerBits) & 0xFF); }

// Divides kBlocks blocks of the same length side by side: their steps are
// independent, so the processor overlaps one block's table look-ups with
// the others'.
template <int kBlocks, typename Codeword>
void DivideBlocks(const std::array<Codeword*, kBlocks>& blocks, std::int32_t dataCount,
                  const GeneratorProducts& products) {
    const int words = products.wordsPerRow();
    std::array<DivisionRegister, kBlocks> r{};
    std::int32_t i = 0;
    for (; i + 1 < dataCount; i += 2) {
        std::array<const std::uint64_t*, kBlocks> movedA{};
        std::array<const std::uint64_t*, kBlocks> rowB{};
        for (int n = 0; n < kBlocks; ++n) {
            const std::uint64_t first = r[n][0];
            const int a = Feedback(blocks[n][i], first);
            const int b = Feedback(blocks[n][i + 1], (first >> 8) ^ products.row(a)[0]);
            movedA[n] = products.movedRow(a);
            rowB[n] = products.row(b);
        }
        for (int w = 0; w < words; ++w) {
            const auto at = static_cast<std::size_t>(w);
            for (int n = 0; n < kBlocks; ++n) r[n][at] = ((r[n][at] >> 16) | (r[n][at + 1] << 48)) ^ movedA[n][w] ^ rowB[n][w];
        }
    }
    for (int n = 0; n < kBlocks; ++n) {
        if (i < dataCount) {
            const std::uint64_t* rowA = products.row(Feedback(blocks[n][i], r[n][0]));
            for (int w = 0; w < words; ++w) {
                const auto at = static_cast<std::size_t>(w);
                r[n][at] = ((r[n][at] >> 8) | (r[n][at + 1] << 56)) ^ rowA[w];
            }
        }
        for (int j = 0; j < products.checkCount(); ++j) {
            blocks[n][dataCount + j] = static_cast<Codeword>((r[n][static_cast<std::size_t>(j / 8)] >> (8 * (j % 8))) & 0xFF);
        }
    }
}

}  // namespace

void ComputeBlockEccByTable(std::array<std::uint16_t, kMaxBlockLength>& block, std::int32_t dataCount,
                            const GeneratorProducts& products) {
    DivideBlocks<1, std::uint16_t>({block.data()}, dataCount, products);
}

void ComputeStreamEccByTable(std::uint8_t* codewords, std::int32_t dataCount, const GeneratorProducts& products) {
    DivideBlocks<1, std::uint8_t>({codewords}, dataCount, products);
}

void ComputeBlockPairEccByTable(std::array<std::uint16_t, kMaxBlockLength>& first,
                                std::array<std::uint16_t, kMaxBlockLength>& second, std::int32_t dataCount,
                                const GeneratorProducts& products) {
    DivideBlocks<2, std::uint16_t>({first.data(), second.data()}, dataCount, products);
}

}  // namespace ecc200

#include "encoder/reed_solomon_products.h"

#include <cassert>
#include <cstddef>
#include <vector>

namespace ecc200 {
namespace {

constexpr int WordsPerRow(int checkCount) { return (checkCount + 7) / 8; }

constexpr int TotalWordsPerFeedback() {
    int total = 0;
    for (int n : kCheckCodewordCounts) total += WordsPerRow(n);
    return total;
}

// All tables in one block, the counts in the order of kCheckCodewordCounts,
// each as 256 rows of packed products.
struct ProductTables {
    std::vector<std::uint64_t> words;
    std::array<std::size_t, kCheckCodewordCounts.size()> offsets{};

    ProductTables() : words(static_cast<std::size_t>(256 * TotalWordsPerFeedback())) {
        std::size_t offset = 0;
        for (std::size_t t = 0; t < kGenerators.size(); ++t) {
            const GeneratorPolynomial& g = kGenerators[t];
            offsets[t] = offset;
            for (int v = 0; v < 256; ++v) {
                for (int j = 0; j < g.degree; ++j) {
                    const std::uint64_t product = GfMultiply(v, g.coefficients[static_cast<std::size_t>(j)]);
                    words[offset + static_cast<std::size_t>(j / 8)] |= product << (8 * (j % 8));
                }
                offset += static_cast<std::size_t>(WordsPerRow(g.degree));
            }
        }
    }
};

const ProductTables& Tables() {
    static const ProductTables tables;  // built once; initialisation is thread-safe
    return tables;
}

}  // namespace

GeneratorProducts GeneratorProductsFor(int checkCount) {
    const ProductTables& tables = Tables();
    for (std::size_t t = 0; t < kCheckCodewordCounts.size(); ++t) {
        if (kCheckCodewordCounts[t] == checkCount) return GeneratorProducts(tables.words.data() + tables.offsets[t], checkCount);
    }
    assert(false && "no square size uses this many check codewords");
    return GeneratorProducts(tables.words.data(), kCheckCodewordCounts[0]);
}

void ComputeBlockEccByTable(std::array<std::uint16_t, kMaxBlockLength>& block, std::int32_t dataCount,
                            const GeneratorProducts& products) {
    // The division register of ComputeBlockEcc, R[j] in bits 8 (j mod 8) and
    // up of word j / 8, with a zero word behind the last. A step
    // R[j] = R[j + 1] ^ row[j] moves every entry down by one place: each word
    // shifts right by a byte and takes the lowest byte of the next word on
    // top. The entries past R[n - 1] stay zero, as the row's are.
    const int words = products.wordsPerRow();
    std::array<std::uint64_t, (kMaxCheckCodewords + 7) / 8 + 1> r{};
    for (std::int32_t i = 0; i < dataCount; ++i) {
        const int feedback = static_cast<int>((block[static_cast<std::size_t>(i)] ^ r[0]) & 0xFF);
        const std::uint64_t* row = products.row(feedback);
        for (int w = 0; w < words; ++w) {
            const auto at = static_cast<std::size_t>(w);
            r[at] = ((r[at] >> 8) | (r[at + 1] << 56)) ^ row[w];
        }
    }
    for (int j = 0; j < products.checkCount(); ++j) {
        block[static_cast<std::size_t>(dataCount + j)] = static_cast<std::uint16_t>((r[static_cast<std::size_t>(j / 8)] >> (8 * (j % 8))) & 0xFF);
    }
}

}  // namespace ecc200

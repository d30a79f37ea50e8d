#include "encoder/reed_solomon_products.h"

#include <cassert>
#include <cstddef>
#include <cstring>
#include <vector>

namespace ecc200 {
namespace {

constexpr int TotalCheckCodewords() {
    int total = 0;
    for (int n : kCheckCodewordCounts) total += n;
    return total;
}

// The division reads and writes eight bytes at a time; the register and the
// tables carry this many bytes of slack beyond their last entry.
constexpr std::size_t kWordBytes = 8;

// All tables in one block, the counts in the order of kCheckCodewordCounts,
// each as 256 rows of n products.
struct ProductTables {
    std::vector<std::uint8_t> products;
    std::array<std::size_t, kCheckCodewordCounts.size()> offsets{};

    ProductTables() : products(static_cast<std::size_t>(256 * TotalCheckCodewords()) + kWordBytes) {
        std::size_t offset = 0;
        for (std::size_t t = 0; t < kGenerators.size(); ++t) {
            const GeneratorPolynomial& g = kGenerators[t];
            offsets[t] = offset;
            for (int v = 0; v < 256; ++v) {
                for (int j = 0; j < g.degree; ++j) {
                    products[offset++] = static_cast<std::uint8_t>(GfMultiply(v, g.coefficients[static_cast<std::size_t>(j)]));
                }
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
        if (kCheckCodewordCounts[t] == checkCount) return GeneratorProducts(tables.products.data() + tables.offsets[t], checkCount);
    }
    assert(false && "no square size uses this many check codewords");
    return GeneratorProducts(tables.products.data(), kCheckCodewordCounts[0]);
}

void ComputeBlockEccByTable(std::array<std::uint16_t, kMaxBlockLength>& block, std::int32_t dataCount,
                            const GeneratorProducts& products) {
    const int n = products.checkCount();
    // The division register, R[0] first, as in ComputeBlockEcc. Each step
    // R[j] = R[j + 1] ^ row[j] runs over eight entries at once (the bytes
    // are independent, so the host's byte order does not matter); what it
    // writes from R[n - 1] on is overwritten or never read.
    std::array<std::uint8_t, kMaxCheckCodewords + 2 * kWordBytes> r{};
    for (std::int32_t i = 0; i < dataCount; ++i) {
        const std::uint8_t* row = products.row((block[static_cast<std::size_t>(i)] ^ r[0]) & 0xFF);
        for (int j = 0; j < n - 1; j += static_cast<int>(kWordBytes)) {
            std::uint64_t next = 0;
            std::uint64_t product = 0;
            std::memcpy(&next, r.data() + j + 1, kWordBytes);
            std::memcpy(&product, row + j, kWordBytes);
            next ^= product;
            std::memcpy(r.data() + j, &next, kWordBytes);
        }
        r[static_cast<std::size_t>(n - 1)] = row[n - 1];
    }
    for (int j = 0; j < n; ++j) block[static_cast<std::size_t>(dataCount + j)] = r[static_cast<std::size_t>(j)];
}

}  // namespace ecc200

// Product tables for the Reed-Solomon division of ISO/IEC 16022, 5.7: for
// each of the 25 check-codeword counts n of the symbol sizes, and for every
// feedback byte v, the row v * g_j (j = 0 .. n - 1) of products with the
// generator's coefficients. One division step of ComputeBlockEcc then
// becomes one row look-up and n / 8 word operations instead of n GF(256)
// multiplications.
//
// The tables (256 x 2 rows per count, 4 to 36 KB each, 424 KB for all 25)
// are derived from kGenerators and built once per count, on first use, from
// the same GfMultiply; they are immutable afterwards and safe to read from
// any thread. The tests check ComputeBlockEccByTable against the plain
// division, ComputeBlockEcc (tests/encoder/oracles/plain_reed_solomon.h).
#pragma once

#include <array>
#include <cstdint>

#include "encoder/reed_solomon.h"

namespace ecc200 {

// The rows for n check codewords. A row holds its n products packed eight
// to a 64-bit word, product j in bits 8 (j mod 8) to 8 (j mod 8) + 7 of
// word j / 8, the bits beyond product n - 1 zero; so the division shifts
// and XORs whole words, whatever the host's byte order. Behind each row
// lies the same row moved down by one product (product j + 1 at place j),
// which lets the division take two data codewords per step.
class GeneratorProducts {
public:
    GeneratorProducts(const std::uint64_t* rows, int checkCount)
        : rows_(rows), checkCount_(checkCount), wordsPerRow_((checkCount + 7) / 8) {}
    int checkCount() const { return checkCount_; }
    int wordsPerRow() const { return wordsPerRow_; }
    const std::uint64_t* row(int feedback) const { return rows_ + 2 * feedback * wordsPerRow_; }
    const std::uint64_t* movedRow(int feedback) const { return row(feedback) + wordsPerRow_; }
    // GfMultiply(feedback, g_j).
    int product(int feedback, int j) const { return static_cast<int>((row(feedback)[j / 8] >> (8 * (j % 8))) & 0xFF); }
    // GfMultiply(feedback, g_(j + 1)), 0 for j = n - 1.
    int movedProduct(int feedback, int j) const {
        return static_cast<int>((movedRow(feedback)[j / 8] >> (8 * (j % 8))) & 0xFF);
    }

private:
    const std::uint64_t* rows_;
    int checkCount_;
    int wordsPerRow_;
};

// The products for n check codewords, n one of kCheckCodewordCounts.
GeneratorProducts GeneratorProductsFor(int checkCount);

// ComputeBlockEcc through the product rows: the same check codewords behind
// the block's first dataCount codewords.
void ComputeBlockEccByTable(std::array<std::uint16_t, kMaxBlockLength>& block, std::int32_t dataCount,
                            const GeneratorProducts& products);

// The same for a symbol of one block, in its own stream: the check
// codewords written behind its first dataCount codewords.
void ComputeStreamEccByTable(std::uint8_t* codewords, std::int32_t dataCount, const GeneratorProducts& products);

// ComputeBlockEccByTable of two blocks with the same data count at once.
void ComputeBlockPairEccByTable(std::array<std::uint16_t, kMaxBlockLength>& first,
                                std::array<std::uint16_t, kMaxBlockLength>& second, std::int32_t dataCount,
                                const GeneratorProducts& products);

}  // namespace ecc200

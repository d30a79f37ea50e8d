// Product tables for the Reed-Solomon division of ISO/IEC 16022, 5.7: for
// each of the 15 check-codeword counts n of the square sizes, and for every
// feedback byte v, the row v * g_j (j = 0 .. n - 1) of products with the
// generator's coefficients. One division step of ComputeBlockEcc then
// becomes one row look-up and n XORs instead of n GF(256) multiplications.
//
// The tables (450 rows of 256 bytes, 115 KB) are derived from kGenerators
// and built once, on first use, from the same GfMultiply; they are
// immutable afterwards and safe to read from any thread. ComputeBlockEcc
// stays the definition that ComputeBlockEccByTable is checked against.
#pragma once

#include <array>
#include <cstdint>

#include "encoder/reed_solomon.h"

namespace ecc200 {

// The rows for n check codewords: row(v)[j] = GfMultiply(v, g_j).
class GeneratorProducts {
public:
    GeneratorProducts(const std::uint8_t* rows, int checkCount) : rows_(rows), checkCount_(checkCount) {}
    int checkCount() const { return checkCount_; }
    const std::uint8_t* row(int feedback) const { return rows_ + feedback * checkCount_; }

private:
    const std::uint8_t* rows_;
    int checkCount_;
};

// The products for n check codewords, n one of kCheckCodewordCounts.
GeneratorProducts GeneratorProductsFor(int checkCount);

// ComputeBlockEcc through the product rows: the same check codewords behind
// the block's first dataCount codewords.
void ComputeBlockEccByTable(std::array<std::uint16_t, kMaxBlockLength>& block, std::int32_t dataCount,
                            const GeneratorProducts& products);

}  // namespace ecc200

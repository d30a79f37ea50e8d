// The plain Reed-Solomon division of ISO/IEC 16022 Annex E, one GF(256)
// multiplication per generator coefficient and data codeword: the
// definition that the product-table division production runs
// (reed_solomon_products.h) is checked against. Tests and benchmarks only.
#pragma once

#include <array>
#include <cstdint>

#include "encoder/reed_solomon.h"

namespace ecc200 {

// Entry j of the generator table for n check codewords, n one of
// kCheckCodewordCounts and j in 0 to n - 1.
std::uint16_t GeneratorCoefficient(int n, int j);

// Writes the checkCount check codewords of the block's first dataCount
// codewords behind them: the remainder of x^checkCount * D(x) by g(x).
void ComputeBlockEcc(std::array<std::uint16_t, kMaxBlockLength>& block, std::int32_t dataCount, std::int32_t checkCount);

}  // namespace ecc200

#include "encoder/oracles/plain_reed_solomon.h"

#include <cstddef>
#include <stdexcept>

namespace ecc200 {
namespace {

constexpr std::size_t Index(std::int32_t i) { return static_cast<std::size_t>(i); }

const GeneratorPolynomial& GeneratorFor(int n) {
    for (const GeneratorPolynomial& g : kGenerators) {
        if (g.degree == n) return g;
    }
    throw std::invalid_argument("no symbol size uses this many check codewords");
}

}  // namespace

std::uint16_t GeneratorCoefficient(int n, int j) { return GeneratorFor(n).coefficients[Index(j)]; }

void ComputeBlockEcc(std::array<std::uint16_t, kMaxBlockLength>& block, std::int32_t dataCount, std::int32_t checkCount) {
    const GeneratorPolynomial& g = GeneratorFor(checkCount);
    // The check area doubles as the division register, R[0] first.
    std::uint16_t* r = block.data() + dataCount;
    for (std::int32_t j = 0; j < checkCount; ++j) r[j] = 0;
    for (std::int32_t i = 0; i < dataCount; ++i) {
        const int feedback = block[Index(i)] ^ r[0];
        for (std::int32_t j = 0; j < checkCount - 1; ++j) {
            r[j] = static_cast<std::uint16_t>(r[j + 1] ^ GfMultiply(feedback, g.coefficients[Index(j)]));
        }
        r[checkCount - 1] = GfMultiply(feedback, g.coefficients[Index(checkCount - 1)]);
    }
}

}  // namespace ecc200

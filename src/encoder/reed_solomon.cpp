#include "encoder/reed_solomon.h"

#include <cassert>
#include <cstddef>

#include "encoder/reed_solomon_products.h"

namespace ecc200 {
namespace {

constexpr std::size_t Index(std::int32_t i) { return static_cast<std::size_t>(i); }

const GeneratorPolynomial& GeneratorFor(int n) {
    for (const GeneratorPolynomial& g : kGenerators) {
        if (g.degree == n) return g;
    }
    assert(false && "no symbol size uses this many check codewords");
    return kGenerators.front();
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

void AddErrorCorrection(const SymbolAttributes& symbol, CodewordStream& stream, BlockBuffers& buffers) {
    const std::int32_t blocks = symbol.blockCount;
    // Codeword k goes to block k mod B at position k div B (5.7.2).
    for (std::int32_t b = 0; b < blocks; ++b) {
        std::uint16_t* block = buffers.blocks[Index(b)].data();
        for (std::int32_t k = b; k < symbol.dataCodewords; k += blocks) *block++ = stream.codewords[Index(k)];
    }
    // Through the product rows: the same codewords as ComputeBlockEcc.
    const GeneratorProducts products = GeneratorProductsFor(symbol.blockCheckCodewords);
    for (std::int32_t b = 0; b < blocks; ++b) {
        buffers.lengths[Index(b)] = BlockDataCodewords(symbol, b) + symbol.blockCheckCodewords;
    }
    // Blocks of equal length two at a time.
    std::int32_t b = 0;
    for (; b + 1 < blocks && buffers.lengths[Index(b)] == buffers.lengths[Index(b + 1)]; b += 2) {
        ComputeBlockPairEccByTable(buffers.blocks[Index(b)], buffers.blocks[Index(b + 1)], BlockDataCodewords(symbol, b), products);
    }
    for (; b < blocks; ++b) ComputeBlockEccByTable(buffers.blocks[Index(b)], BlockDataCodewords(symbol, b), products);
    // Read the blocks back position by position. Data and check codewords go
    // in one pass, so in the 144 x 144 size the check codewords of blocks 8
    // and 9, which hold one data codeword fewer, run one position ahead: the
    // order that scanners in the field read for this size.
    // Up to the end of the shortest block's data, reading back puts every
    // codeword where the dealing took it from: those positions stay as
    // they are.
    const std::int32_t unchanged = BlockDataCodewords(symbol, blocks - 1);
    stream.count = unchanged * blocks;
    for (std::int32_t k = unchanged; k < buffers.lengths[0]; ++k) {
        for (std::int32_t b = 0; b < blocks; ++b) {
            if (k < buffers.lengths[Index(b)]) stream.codewords[Index(stream.count++)] = buffers.blocks[Index(b)][Index(k)];
        }
    }
}

}  // namespace ecc200

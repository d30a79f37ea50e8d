#include "encoder/reed_solomon.h"

#include <cstddef>

#include "encoder/reed_solomon_products.h"

namespace ecc200 {
namespace {

constexpr std::size_t Index(std::int32_t i) { return static_cast<std::size_t>(i); }

}  // namespace

void AddErrorCorrection(const SymbolAttributes& symbol, CodewordStream& stream, BlockBuffers& buffers) {
    const std::int32_t blocks = symbol.blockCount;
    // Codeword k goes to block k mod B at position k div B (5.7.2).
    for (std::int32_t b = 0; b < blocks; ++b) {
        std::uint16_t* block = buffers.blocks[Index(b)].data();
        for (std::int32_t k = b; k < symbol.dataCodewords; k += blocks) *block++ = stream.codewords[Index(k)];
    }
    // Through the product rows: the remainder of x^n D(x) by g(x) (Annex E).
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

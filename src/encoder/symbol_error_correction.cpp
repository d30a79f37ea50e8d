#include "encoder/symbol_error_correction.h"

#include <array>

#include "encoder/codeword_values.h"
#include "encoder/reed_solomon.h"
#include "encoder/reed_solomon_products.h"

namespace ecc200 {
namespace {

// Every size's block check count has its generator and product table.
constexpr bool EveryCheckCountHasAGenerator() {
    for (const SymbolSize& size : kSymbolSizes) {
        bool found = false;
        for (int n : kCheckCodewordCounts) found = found || n == size.blockCheckCodewords();
        if (!found) return false;
    }
    return true;
}
static_assert(EveryCheckCountHasAGenerator(), "a symbol size's check codeword count is missing from kCheckCodewordCounts");
static_assert(kMaxSymbolCodewords >= 1558 + 620 && kMaxBlocks >= 10, "the buffers hold the 144 x 144 size");

// Codeword k goes to block k mod B (5.7.2); each block gets its check
// codewords behind its data, the remainder of x^n D(x) divided by the
// generator (Annex E), through the product rows. Blocks of equal length
// are divided two at a time.
void ProtectBlocks(const SymbolSize& size, const std::uint8_t* data, BlockBuffers& buffers) {
    const int blocks = size.blockCount;
    for (int b = 0; b < blocks; ++b) {
        std::uint16_t* block = buffers.blocks[static_cast<std::size_t>(b)].data();
        for (int k = b; k < size.dataCodewords; k += blocks) *block++ = data[k];
    }
    const GeneratorProducts products = GeneratorProductsFor(size.blockCheckCodewords());
    int b = 0;
    for (; b + 1 < blocks && size.blockDataCodewords(b) == size.blockDataCodewords(b + 1); b += 2) {
        ComputeBlockPairEccByTable(buffers.blocks[static_cast<std::size_t>(b)], buffers.blocks[static_cast<std::size_t>(b + 1)],
                                   size.blockDataCodewords(b), products);
    }
    for (; b < blocks; ++b) ComputeBlockEccByTable(buffers.blocks[static_cast<std::size_t>(b)], size.blockDataCodewords(b), products);
}

}  // namespace

int RandomizePad(int value, int position) {
    const int pseudoRandom = ((149 * position) % 253) + 1;
    const int randomised = value + pseudoRandom;
    return randomised <= 254 ? randomised : randomised - 254;
}

void PadDataCodewords(const SymbolSize& size, int count, std::uint8_t* codewords) {
    for (int k = count; k < size.dataCodewords; ++k) {
        const int pad = k == count ? kPadCodeword : RandomizePad(kPadCodeword, k + 1);
        codewords[k] = static_cast<std::uint8_t>(pad);
    }
}

void AddCheckCodewords(const SymbolSize& size, bool iso144, BlockBuffers& buffers, std::uint8_t* stream) {
    // One block (every size up to 44 x 44 and most rectangles) is its own
    // stream: nothing to deal or interleave.
    if (size.blockCount == 1) {
        ComputeStreamEccByTable(stream, size.dataCodewords, GeneratorProductsFor(size.blockCheckCodewords()));
        return;
    }
    // ProtectBlocks writes each block's data and check codewords, and only
    // those are read below.
    ProtectBlocks(size, stream, buffers);
    const int blocks = size.blockCount;
    const int checks = size.blockCheckCodewords();
    if (iso144) {
        // The data stay where they are; the check codewords follow them.
        std::uint8_t* out = stream + size.dataCodewords;
        for (int j = 0; j < checks; ++j) {
            for (int b = 0; b < blocks; ++b) {
                *out++ = static_cast<std::uint8_t>(buffers.blocks[static_cast<std::size_t>(b)][static_cast<std::size_t>(size.blockDataCodewords(b) + j)]);
            }
        }
        return;
    }
    // Position by position over whole blocks, data and check codewords
    // alike: entry k of block b goes to k B + b. The blocks that are one
    // codeword shorter (144 x 144's last two) end one position earlier, so
    // the last position holds the longer blocks alone, in front: the same
    // formula. Up to the end of the shortest block's data this puts every
    // codeword back where the dealing took it from, so those stay.
    const int unchanged = size.blockDataCodewords(blocks - 1);
    for (int b = 0; b < blocks; ++b) {
        const std::uint16_t* block = buffers.blocks[static_cast<std::size_t>(b)].data();
        const int end = size.blockDataCodewords(b) + checks;
        std::uint8_t* out = stream + unchanged * blocks + b;
        for (int k = unchanged; k < end; ++k, out += blocks) *out = static_cast<std::uint8_t>(block[k]);
    }
}

}  // namespace ecc200

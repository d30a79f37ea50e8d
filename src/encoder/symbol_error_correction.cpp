#include "encoder/symbol_error_correction.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "encoder/reed_solomon.h"
#include "encoder/reed_solomon_products.h"
#include "encoder/symbol_table.h"

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
void ProtectBlocks(const SymbolSize& size, const std::vector<std::uint8_t>& data, BlockBuffers& buffers) {
    const int blocks = size.blockCount;
    std::size_t k = 0;
    for (std::size_t at = 0; k < data.size(); ++at) {
        for (std::size_t b = 0; b < static_cast<std::size_t>(blocks) && k < data.size(); ++b, ++k) buffers.blocks[b][at] = data[k];
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

void PadDataCodewords(const SymbolSize& size, std::vector<std::uint8_t>& codewords) {
    const std::size_t first = codewords.size();
    for (std::size_t k = first; k < static_cast<std::size_t>(size.dataCodewords); ++k) {
        const int pad = k == first ? kPadCodeword : RandomizePad(kPadCodeword, static_cast<int>(k) + 1);
        codewords.push_back(static_cast<std::uint8_t>(pad));
    }
}

std::vector<std::uint8_t> AddCheckCodewords(const SymbolSize& size, const std::vector<std::uint8_t>& data, bool iso144) {
    assert(data.size() == static_cast<std::size_t>(size.dataCodewords) && "the data are padded to the size's capacity");
    // ProtectBlocks writes each block's data and check codewords, and only
    // those are read below.
    BlockBuffers buffers{BlockBuffers::Unfilled{}};
    ProtectBlocks(size, data, buffers);
    const std::size_t blocks = static_cast<std::size_t>(size.blockCount);
    const std::size_t checks = static_cast<std::size_t>(size.blockCheckCodewords());
    std::array<std::size_t, kMaxBlocks> dataCounts{};
    for (std::size_t b = 0; b < blocks; ++b) dataCounts[b] = static_cast<std::size_t>(size.blockDataCodewords(static_cast<int>(b)));
    std::vector<std::uint8_t> stream(static_cast<std::size_t>(size.dataCodewords + size.checkCodewords));
    std::uint8_t* out = stream.data();
    if (iso144) {
        out = std::copy(data.begin(), data.end(), out);
        for (std::size_t j = 0; j < checks; ++j) {
            for (std::size_t b = 0; b < blocks; ++b) *out++ = static_cast<std::uint8_t>(buffers.blocks[b][dataCounts[b] + j]);
        }
        return stream;
    }
    // Position by position over whole blocks, data and check codewords alike.
    const std::size_t longest = dataCounts[0] + checks;
    for (std::size_t k = 0; k < longest; ++k) {
        for (std::size_t b = 0; b < blocks; ++b) {
            if (k < dataCounts[b] + checks) *out++ = static_cast<std::uint8_t>(buffers.blocks[b][k]);
        }
    }
    return stream;
}

}  // namespace ecc200

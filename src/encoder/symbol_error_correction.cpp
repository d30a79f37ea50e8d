#include "encoder/symbol_error_correction.h"

#include <array>

#include "encoder/reed_solomon.h"
#include "encoder/symbol_table.h"

namespace ecc200 {
namespace {

using Block = std::vector<std::uint8_t>;

// The remainder of x^n D(x) divided by the generator of degree n, highest
// power first (Annex E), behind the block's data.
void AppendRemainder(Block& block, int degree) {
    const GeneratorPolynomial g = ComputeGenerator(degree);
    std::array<std::uint16_t, kMaxCheckCodewords> r{};
    const std::size_t n = static_cast<std::size_t>(degree);
    for (std::uint8_t codeword : block) {
        const int feedback = codeword ^ r[0];
        for (std::size_t j = 0; j + 1 < n; ++j) r[j] = static_cast<std::uint16_t>(r[j + 1] ^ GfMultiply(feedback, g.coefficients[j]));
        r[n - 1] = GfMultiply(feedback, g.coefficients[n - 1]);
    }
    for (std::size_t j = 0; j < n; ++j) block.push_back(static_cast<std::uint8_t>(r[j]));
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
    const std::size_t blocks = static_cast<std::size_t>(size.blockCount);
    // Codeword k goes to block k mod B (5.7.2).
    std::vector<Block> dealt(blocks);
    for (std::size_t k = 0; k < data.size(); ++k) dealt[k % blocks].push_back(data[k]);
    for (Block& block : dealt) AppendRemainder(block, size.blockCheckCodewords());
    std::vector<std::uint8_t> stream;
    stream.reserve(static_cast<std::size_t>(size.dataCodewords + size.checkCodewords));
    if (iso144) {
        stream = data;
        for (std::size_t j = 0; j < static_cast<std::size_t>(size.blockCheckCodewords()); ++j) {
            for (std::size_t b = 0; b < blocks; ++b) stream.push_back(dealt[b][static_cast<std::size_t>(size.blockDataCodewords(static_cast<int>(b))) + j]);
        }
        return stream;
    }
    for (std::size_t k = 0; k < dealt[0].size(); ++k) {
        for (std::size_t b = 0; b < blocks; ++b) {
            if (k < dealt[b].size()) stream.push_back(dealt[b][k]);
        }
    }
    return stream;
}

}  // namespace ecc200

// libFuzzer target: any message bytes through the whole encoder. Every
// symbol built is read back module by module and checked against ISO/IEC
// 16022 rather than against the encoder's own intermediate values:
// - the codeword count is the ASCII encodation's (5.2.3) and the size is the
//   smallest row of Table 7 that holds it; more than 1558 codewords build
//   nothing;
// - every data region shows its solid L and its alternating clock tracks
//   (5.8.1, Figure 5);
// - the codewords read back through the placement (5.8.2) decode to the
//   message followed by the pad codewords of 5.2.3.3, and every interleaved
//   block has zero Reed-Solomon syndromes (5.7);
// - a working state reused from the previous input yields the same symbol
//   as a fresh one.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <algorithm>

#include "encoder/codeword_values.h"
#include "encoder/encode_segments.h"
#include "encoder/encoder_workspace.h"
#include "encoder/symbol_error_correction.h"
#include "encoder/placement.h"
#include "support/square_sizes.h"

namespace {

using namespace ecc200;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "encoder check failed: %s\n", what);
    std::abort();
}

// ASCII encodation's codeword count, worked out on its own: a digit pair is
// one codeword, a byte above 127 two (Upper Shift), any other byte one.
std::int32_t AsciiCodewordCount(std::string_view message) {
    std::int32_t count = 0;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const auto byte = static_cast<unsigned char>(message[i]);
        const bool digit = byte >= '0' && byte <= '9';
        const bool nextDigit = i + 1 < message.size() && message[i + 1] >= '0' && message[i + 1] <= '9';
        if (digit && nextDigit) ++i;
        count += byte > 127 && !(digit && nextDigit) ? 2 : 1;
    }
    return count;
}

// Where each codeword bit of one size sits in the symbol: the placement
// walked once per size, mapped through the region frames.
struct ModuleBit {
    std::int16_t row;
    std::int16_t col;
    std::int16_t codeword;  // 0-based stream index
    std::uint8_t mask;
};
struct SizeLayout {
    std::vector<ModuleBit> bits;
    std::vector<std::pair<int, int>> fixedDark;  // the 2 x 2 corner of some sizes
};

const SizeLayout& LayoutOf(const SymbolAttributes& size) {
    static std::array<std::unique_ptr<SizeLayout>, kSymbolSizeCount> layouts;
    std::size_t index = 0;
    while (index + 1 < layouts.size() && !(kSquareSymbolTable[index] == size)) ++index;
    if (layouts[index]) return *layouts[index];
    auto mapping = std::make_unique<MappingMatrix>();
    PlaceModules(size.mappingRows, size.mappingColumns, *mapping);
    auto layout = std::make_unique<SizeLayout>();
    for (int mr = 0; mr < size.mappingRows; ++mr) {
        for (int mc = 0; mc < size.mappingColumns; ++mc) {
            const int row = mr + 1 + 2 * (mr / size.regionRows);
            const int col = mc + 1 + 2 * (mc / size.regionColumns);
            const std::int16_t cell = mapping->at(mr, mc);
            if (IsBitRef(cell)) {
                layout->bits.push_back({static_cast<std::int16_t>(row), static_cast<std::int16_t>(col),
                                        static_cast<std::int16_t>(CodewordOf(cell) - 1),
                                        static_cast<std::uint8_t>(BitMask(BitOf(cell)))});
            } else if (cell == kFixedDark) {
                layout->fixedDark.emplace_back(row, col);
            }
        }
    }
    layouts[index] = std::move(layout);
    return *layouts[index];
}

void CheckFinderPatterns(const SymbolAttributes& size, const SymbolMatrix& symbol) {
    Require(symbol.side() == size.symbolRows, "symbol side");
    const int block = size.regionRows + 2;
    for (int top = 0; top < size.symbolRows; top += block) {
        for (int left = 0; left < size.symbolColumns; left += block) {
            for (int i = 0; i < block; ++i) {
                Require(symbol.isDark(top + i, left), "solid left edge");
                Require(symbol.isDark(top + block - 1, left + i), "solid bottom edge");
                Require(symbol.isDark(top, left + i) == (i % 2 == 0), "top clock track");
                Require(symbol.isDark(top + i, left + block - 1) == (i % 2 == 1), "right clock track");
            }
        }
    }
}

std::vector<int> ReadCodewords(const SymbolAttributes& size, const SymbolMatrix& symbol) {
    const SizeLayout& layout = LayoutOf(size);
    std::vector<int> codewords(static_cast<std::size_t>(size.dataCodewords + size.checkCodewords), 0);
    for (const ModuleBit& bit : layout.bits) {
        if (symbol.isDark(bit.row, bit.col)) codewords[static_cast<std::size_t>(bit.codeword)] |= bit.mask;
    }
    for (const auto& [row, col] : layout.fixedDark) Require(symbol.isDark(row, col), "fixed dark corner module");
    return codewords;
}

// Data codewords of block b: the stream is dealt round-robin, so with 1558
// data codewords in 10 blocks, blocks 8 and 9 receive one fewer (5.7.2).
int BlockDataCodewords(const SymbolAttributes& size, int b) {
    return (size.dataCodewords - b + size.blockCount - 1) / size.blockCount;
}

// Every block, de-interleaved, evaluates to zero at alpha^1 to alpha^n.
// The stream runs position by position over the blocks, each block's data
// codewords followed by its check codewords (5.7.2); in the 144 x 144 size
// blocks 8 and 9 are one data codeword shorter, so their check codewords run
// one position ahead, the order scanners read for that size.
void CheckSyndromes(const SymbolAttributes& size, const std::vector<int>& codewords) {
    std::vector<std::vector<int>> blocks(static_cast<std::size_t>(size.blockCount));
    const int longest = size.blockDataCodewords + size.blockCheckCodewords;
    std::size_t next = 0;
    for (int position = 0; position < longest; ++position) {
        for (int b = 0; b < size.blockCount; ++b) {
            if (position < BlockDataCodewords(size, b) + size.blockCheckCodewords) {
                Require(next < codewords.size(), "codewords for every block");
                blocks[static_cast<std::size_t>(b)].push_back(codewords[next++]);
            }
        }
    }
    Require(next == codewords.size(), "blocks take every codeword");
    for (const std::vector<int>& block : blocks) {
        for (int root = 1; root <= size.blockCheckCodewords; ++root) {
            // Horner's rule; multiplying by alpha^root adds root to the log.
            int value = 0;
            for (int codeword : block) {
                if (value != 0) value = kGalois.antilog[static_cast<std::size_t>((kGalois.log[static_cast<std::size_t>(value)] + root) % 255)];
                value ^= codeword;
            }
            Require(value == 0, "Reed-Solomon syndrome");
        }
    }
}

// Decodes the data codewords by 5.2.3 and checks the message, then the pad.
void CheckDataCodewords(const SymbolAttributes& size, const std::vector<int>& codewords, std::string_view message) {
    std::string decoded;
    int k = 0;
    while (k < size.dataCodewords && codewords[static_cast<std::size_t>(k)] != kPadCodeword) {
        const int codeword = codewords[static_cast<std::size_t>(k++)];
        if (codeword >= 1 && codeword <= 128) {
            decoded += static_cast<char>(codeword - 1);
        } else if (codeword >= kDigitPairBase && codeword < kDigitPairBase + 100) {
            decoded += static_cast<char>('0' + (codeword - kDigitPairBase) / 10);
            decoded += static_cast<char>('0' + (codeword - kDigitPairBase) % 10);
        } else {
            Require(codeword == kUpperShift && k < size.dataCodewords, "ASCII codeword");
            decoded += static_cast<char>(codewords[static_cast<std::size_t>(k++)] + 127);
        }
    }
    Require(decoded == message, "decoded message");
    for (int pad = k; pad < size.dataCodewords; ++pad) {
        const int expected = pad == k ? kPadCodeword : RandomizePad(kPadCodeword, pad + 1);
        Require(codewords[static_cast<std::size_t>(pad)] == expected, "pad codeword");
    }
}

bool SameSymbol(const SymbolMatrix& a, const SymbolMatrix& b) {
    if (a.side() != b.side()) return false;
    for (int row = 0; row < a.side(); ++row) {
        for (int col = 0; col < a.side(); ++col) {
            if (a.at(row, col) != b.at(row, col)) return false;
        }
    }
    return true;
}

// An encoding of the nine (every byte in ASCII, squares) in its own
// workspace: the codewords the message needs, whether it was built.
struct NineEncoding {
    std::unique_ptr<EncoderWorkspace> workspace = std::make_unique<EncoderWorkspace>();
    std::unique_ptr<EncodedSymbol> symbol = std::make_unique<EncodedSymbol>();
    std::int32_t messageCodewords = 0;

    bool Encode(std::string_view message) {
        const Segment segment{message, 0};
        const Outcome outcome = EncodeSegments(&segment, 1, LiteralAsciiRequest(), *workspace, *symbol);
        messageCodewords = outcome.ok() ? symbol->dataCount : outcome.codewordsNeeded;
        return outcome.ok();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t length) {
    const std::string_view message(reinterpret_cast<const char*>(data), length);
    // Left over from the previous input, so its stale content is what a
    // reused state meets.
    static NineEncoding reused;
    // A fresh workspace and symbol every time.
    NineEncoding fresh;

    const bool built = fresh.Encode(message);
    const std::int32_t count = AsciiCodewordCount(message);
    Require(fresh.messageCodewords == count, "codeword count");
    Require(built == (count <= kMaxDataCodewords), "built exactly when the message fits");
    Require(reused.Encode(message) == built && reused.messageCodewords == count, "reused state result");
    if (!built) return 0;

    std::size_t row = 0;
    while (row < kSquareSymbolTable.size() && kSquareSymbolTable[row].symbolRows != fresh.symbol->matrix.rows()) ++row;
    const SymbolAttributes& size = kSquareSymbolTable[std::min(row, kSquareSymbolTable.size() - 1)];
    Require(row < kSquareSymbolTable.size(), "size from the table");
    Require(size.dataCodewords >= count && (row == 0 || kSquareSymbolTable[row - 1].dataCodewords < count),
            "smallest fitting size");
    CheckFinderPatterns(size, fresh.symbol->matrix);
    const std::vector<int> codewords = ReadCodewords(size, fresh.symbol->matrix);
    CheckSyndromes(size, codewords);
    CheckDataCodewords(size, codewords, message);
    Require(SameSymbol(fresh.symbol->matrix, reused.symbol->matrix), "reused state gives the fresh state's symbol");
    return 0;
}

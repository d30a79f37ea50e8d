#include "encoder/symbol_sizes.h"

#include "encoder/encode_segments.h"

namespace ecc200 {
namespace {

bool ShapeAdmits(SymbolShape shape, bool dmre, const SymbolSize& size) {
    if (size.family == SizeFamily::Dmre && !dmre) return false;
    if (shape == SymbolShape::Square) return size.family == SizeFamily::Square;
    if (shape == SymbolShape::Rectangle) return size.family != SizeFamily::Square;
    return true;
}

// The smaller size first: fewer data codewords, then fewer modules.
constexpr bool Precedes(const SymbolSize& a, const SymbolSize& b) {
    if (a.dataCodewords != b.dataCodewords) return a.dataCodewords < b.dataCodewords;
    return a.rows * a.cols < b.rows * b.cols;
}

// Every size's index in that order, ties in table order (a stable insertion
// sort, at compile time): a request's sizes are this order filtered.
constexpr std::array<int, kSymbolSizeTotal> MakeSizeOrder() {
    std::array<int, kSymbolSizeTotal> order{};
    for (int k = 0; k < kSymbolSizeTotal; ++k) {
        int at = k;
        while (at > 0 && Precedes(kSymbolSizes[static_cast<std::size_t>(k)], kSymbolSizes[static_cast<std::size_t>(order[static_cast<std::size_t>(at - 1)])])) {
            order[static_cast<std::size_t>(at)] = order[static_cast<std::size_t>(at - 1)];
            --at;
        }
        order[static_cast<std::size_t>(at)] = k;
    }
    return order;
}
constexpr std::array<int, kSymbolSizeTotal> kSizeOrder = MakeSizeOrder();

}  // namespace

int AdmittedSizes(SymbolShape shape, bool dmre, int rows, int cols, std::array<const SymbolSize*, kSymbolSizeTotal>& out) {
    int count = 0;
    const bool fixed = rows != 0 || cols != 0;
    for (int index : kSizeOrder) {
        const SymbolSize& size = kSymbolSizes[static_cast<std::size_t>(index)];
        if (fixed ? (size.rows == rows && size.cols == cols && (size.family != SizeFamily::Dmre || dmre))
                  : ShapeAdmits(shape, dmre, size)) {
            out[static_cast<std::size_t>(count++)] = &size;
        }
    }
    return count;
}

}  // namespace ecc200

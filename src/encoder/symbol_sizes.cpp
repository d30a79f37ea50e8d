#include "encoder/symbol_sizes.h"

#include "encoder/encode_segments.h"

#include <cstddef>

namespace ecc200 {
namespace {

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

constexpr bool ShapeAdmits(SymbolShape shape, bool dmre, const SymbolSize& size) {
    if (size.family == SizeFamily::Dmre && !dmre) return false;
    if (shape == SymbolShape::Square) return size.family == SizeFamily::Square;
    if (shape == SymbolShape::Rectangle) return size.family != SizeFamily::Square;
    return true;
}

// The sizes of each shape, with and without DMRE, in that order: a request
// for the smallest size copies one list (built at compile time) instead of
// filtering the table on every call.
constexpr AdmittedSizeList MakeShapeList(SymbolShape shape, bool dmre) {
    AdmittedSizeList list{};
    for (int index : kSizeOrder) {
        if (ShapeAdmits(shape, dmre, kSymbolSizes[static_cast<std::size_t>(index)])) {
            list.indices[static_cast<std::size_t>(list.count++)] = static_cast<std::int8_t>(index);
        }
    }
    return list;
}

constexpr std::array<AdmittedSizeList, 6> kShapeLists = {
    MakeShapeList(SymbolShape::Square, false),    MakeShapeList(SymbolShape::Square, true),
    MakeShapeList(SymbolShape::Rectangle, false), MakeShapeList(SymbolShape::Rectangle, true),
    MakeShapeList(SymbolShape::Any, false),       MakeShapeList(SymbolShape::Any, true)};

}  // namespace

AdmittedSizeList AdmittedSizes(SymbolShape shape, bool dmre, int rows, int cols) {
    if (rows == 0 && cols == 0) return kShapeLists[static_cast<std::size_t>(2 * static_cast<int>(shape) + (dmre ? 1 : 0))];
    AdmittedSizeList list{};
    for (std::size_t index = 0; index < kSymbolSizes.size(); ++index) {
        const SymbolSize& size = kSymbolSizes[index];
        if (size.rows == rows && size.cols == cols && (size.family != SizeFamily::Dmre || dmre)) {
            list.indices[0] = static_cast<std::int8_t>(index);
            list.count = 1;
        }
    }
    return list;
}

}  // namespace ecc200

#include "encoder/symbol_sizes.h"

#include <algorithm>

#include "encoder/encode_request.h"

namespace ecc200 {
namespace {

bool ShapeAdmits(SymbolShape shape, bool dmre, const SymbolSize& size) {
    if (size.family == SizeFamily::Dmre && !dmre) return false;
    if (shape == SymbolShape::Square) return size.family == SizeFamily::Square;
    if (shape == SymbolShape::Rectangle) return size.family != SizeFamily::Square;
    return true;
}

}  // namespace

int AdmittedSizes(SymbolShape shape, bool dmre, int rows, int cols, std::array<const SymbolSize*, kSymbolSizeTotal>& out) {
    int count = 0;
    for (const SymbolSize& size : kSymbolSizes) {
        const bool fixed = rows != 0 || cols != 0;
        if (fixed ? (size.rows == rows && size.cols == cols && (size.family != SizeFamily::Dmre || dmre))
                  : ShapeAdmits(shape, dmre, size)) {
            out[static_cast<std::size_t>(count++)] = &size;
        }
    }
    std::stable_sort(out.begin(), out.begin() + count, [](const SymbolSize* a, const SymbolSize* b) {
        if (a->dataCodewords != b->dataCodewords) return a->dataCodewords < b->dataCodewords;
        return a->rows * a->cols < b->rows * b->cols;
    });
    return count;
}

}  // namespace ecc200

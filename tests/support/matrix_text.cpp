#include "support/matrix_text.h"

#include "encoder/module_matrix.h"

namespace ecc200::test {

std::string SymbolToText(const SymbolMatrix& symbol) {
    std::string text;
    for (int row = 0; row < symbol.rows(); ++row) {
        for (int col = 0; col < symbol.cols(); ++col) text.push_back(symbol.isDark(row, col) ? '1' : '0');
        text.push_back('\n');
    }
    return text;
}

}  // namespace ecc200::test

#include "terminal_preview.h"

#include <string>

namespace ecc200::tool {
namespace {

constexpr int kQuietZone = 2;  // modules of light margin on every side

// The foreground is light, so a glyph shows light where it is inked.
constexpr const char* kBothLight = "\u2588";   // full block
constexpr const char* kTopLight = "\u2580";    // upper half block
constexpr const char* kBottomLight = "\u2584"; // lower half block
constexpr const char* kBothDark = " ";

}  // namespace

void PrintPreview(const Symbol& symbol, bool withColours, std::ostream& out) {
    const int lastRow = symbol.rows() + kQuietZone;  // exclusive
    const int lastCol = symbol.columns() + kQuietZone;
    std::string line;
    for (int row = -kQuietZone; row < lastRow; row += 2) {
        line.clear();
        if (withColours) line += "\x1b[97;40m";
        for (int col = -kQuietZone; col < lastCol; ++col) {
            const bool top = symbol.dark(row, col);  // false outside the symbol
            const bool bottom = symbol.dark(row + 1, col);
            line += top ? (bottom ? kBothDark : kBottomLight) : (bottom ? kTopLight : kBothLight);
        }
        if (withColours) line += "\x1b[0m";
        out << line << '\n';
    }
}

void PrintMatrix(const Symbol& symbol, std::ostream& out) {
    std::string line;
    for (int row = 0; row < symbol.rows(); ++row) {
        line.clear();
        for (int col = 0; col < symbol.columns(); ++col) line.push_back(symbol.dark(row, col) ? '1' : '0');
        out << line << '\n';
    }
}

void PrintCodewords(const std::vector<std::uint8_t>& codewords, std::ostream& out) {
    std::string line;
    for (const std::uint8_t codeword : codewords) {
        if (!line.empty()) line.push_back(' ');
        line += std::to_string(codeword);
    }
    out << line << '\n';
}

}  // namespace ecc200::tool

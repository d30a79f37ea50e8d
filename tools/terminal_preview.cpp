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

bool DarkAt(const SymbolMatrix& symbol, int row, int col) {
    const int side = symbol.side();
    if (row < 0 || col < 0 || row >= side || col >= side) return false;
    return symbol.isDark(row, col);
}

}  // namespace

void PrintPreview(const SymbolMatrix& symbol, bool withColours, std::ostream& out) {
    const int first = -kQuietZone;
    const int last = symbol.side() + kQuietZone;  // exclusive
    for (int row = first; row < last; row += 2) {
        if (withColours) out << "\x1b[97;40m";
        for (int col = first; col < last; ++col) {
            const bool top = DarkAt(symbol, row, col);
            const bool bottom = row + 1 < last && DarkAt(symbol, row + 1, col);
            out << (top ? (bottom ? kBothDark : kBottomLight) : (bottom ? kTopLight : kBothLight));
        }
        if (withColours) out << "\x1b[0m";
        out << '\n';
    }
}

void PrintMatrix(const SymbolMatrix& symbol, std::ostream& out) {
    std::string line;
    for (int row = 0; row < symbol.side(); ++row) {
        line.clear();
        for (int col = 0; col < symbol.side(); ++col) line.push_back(symbol.isDark(row, col) ? '1' : '0');
        out << line << '\n';
    }
}

void PrintCodewords(const CodewordStream& stream, std::ostream& out) {
    for (std::int32_t k = 0; k < stream.count; ++k) {
        if (k > 0) out << ' ';
        out << stream.codewords[static_cast<std::size_t>(k)];
    }
    out << '\n';
}

}  // namespace ecc200::tool

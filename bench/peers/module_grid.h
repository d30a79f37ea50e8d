// A finished symbol reduced to the one form every library can be compared
// in: side x side modules, (row, col), row 0 at the top, true for dark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace peers {

struct ModuleGrid {
    int side = 0;
    std::vector<std::uint8_t> dark;  // side * side, row after row

    explicit ModuleGrid(int sideModules = 0)
        : side(sideModules), dark(static_cast<std::size_t>(sideModules) * static_cast<std::size_t>(sideModules)) {}
    bool at(int row, int col) const { return dark[Index(row, col)] != 0; }
    void set(int row, int col, bool value) { dark[Index(row, col)] = value ? 1 : 0; }

    friend bool operator==(const ModuleGrid& a, const ModuleGrid& b) { return a.side == b.side && a.dark == b.dark; }
    friend bool operator!=(const ModuleGrid& a, const ModuleGrid& b) { return !(a == b); }

private:
    std::size_t Index(int row, int col) const { return static_cast<std::size_t>(row * side + col); }
};

// Where two grids first differ, for a failure message: "sides 10 and 12",
// "module (3, 7)" or "" when they are equal.
inline std::string FirstDifference(const ModuleGrid& a, const ModuleGrid& b) {
    if (a.side != b.side) return "sides " + std::to_string(a.side) + " and " + std::to_string(b.side);
    for (int row = 0; row < a.side; ++row) {
        for (int col = 0; col < a.side; ++col) {
            if (a.at(row, col) != b.at(row, col)) {
                return "module (" + std::to_string(row) + ", " + std::to_string(col) + ")";
            }
        }
    }
    return "";
}

}  // namespace peers

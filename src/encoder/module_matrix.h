// The two module matrices of the encoder, with fixed storage for the largest
// symbol so that no stage allocates. Modules are addressed (row, col), row 0
// at the top and column 0 at the left.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ecc200 {

constexpr int kMaxMappingSide = 132;
constexpr int kMaxSymbolSide = 144;

// A mapping cell names what a module of the data area shows: 0 unassigned
// (light), 1 the fixed dark module of the corner pattern, or 10 * k + b for
// bit b (1 the most significant) of codeword k (1-based).
constexpr std::int16_t kFixedDark = 1;
constexpr std::int16_t BitRef(int codeword, int bit) { return static_cast<std::int16_t>(10 * codeword + bit); }
constexpr bool IsBitRef(std::int16_t cell) { return cell > 10; }
constexpr int CodewordOf(std::int16_t cell) { return cell / 10; }
constexpr int BitOf(std::int16_t cell) { return cell % 10; }
// Weight of bit b in its codeword: 128 for bit 1 down to 1 for bit 8.
constexpr int BitMask(int bit) { return 1 << (8 - bit); }

// Mapping matrix: rows x cols cells, dense, stride = cols.
class MappingMatrix {
public:
    // The storage is left as it is (35 KB, mostly unused by a small symbol):
    // reset() zeroes the rows x cols cells in use, and only those are read.
    MappingMatrix() {}
    void reset(int rows, int cols) {
        rows_ = rows;
        cols_ = cols;
        for (int i = 0; i < rows * cols; ++i) cells_[static_cast<std::size_t>(i)] = 0;
    }
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    std::int16_t at(int row, int col) const { return cells_[index(row, col)]; }
    void set(int row, int col, std::int16_t value) { cells_[index(row, col)] = value; }

private:
    std::size_t index(int row, int col) const { return static_cast<std::size_t>(row * cols_ + col); }
    int rows_ = 0;
    int cols_ = 0;
    std::array<std::int16_t, kMaxMappingSide * kMaxMappingSide> cells_;
};

// Symbol matrix: the finished symbol in its upper left rows x cols corner,
// fixed stride 144 (every square, rectangle and DMRE size fits). Finder patterns hold 1; a data module holds its codeword
// masked by its bit, so any value above 0 is dark.
class SymbolMatrix {
public:
    static_assert(kMaxSymbolSide * kMaxSymbolSide <= 65536, "offsets are 16 bits");
    // Every cell 0.
    SymbolMatrix() : cells_{} {}
    // For a writer of every module of its rows x cols (a placement map):
    // the storage is left as it is, 41 KB not zeroed for a 10 x 10 symbol.
    // Only the cells of rows x cols are ever read, copies included.
    struct Unfilled {};
    explicit SymbolMatrix(Unfilled) {}
    // A copy holds the rows x cols corner; the other cells are 0.
    SymbolMatrix(const SymbolMatrix& other) : cells_{} { CopyCorner(other); }
    // An assignment writes the rows x cols corner; the other cells keep theirs.
    SymbolMatrix& operator=(const SymbolMatrix& other) {
        if (this != &other) CopyCorner(other);
        return *this;
    }
    ~SymbolMatrix() = default;
    void resize(int side) { resize(side, side); }
    void resize(int rows, int cols) {
        rows_ = rows;
        cols_ = cols;
    }
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // The side of a square symbol (its rows).
    int side() const { return rows_; }
    std::int16_t at(int row, int col) const { return cells_[index(row, col)]; }
    void set(int row, int col, std::int16_t value) { cells_[index(row, col)] = value; }
    bool isDark(int row, int col) const { return at(row, col) > 0; }
    // The cols() cells of a row, for a copy of a whole row at once.
    const std::int16_t* rowCells(int row) const { return &cells_[index(row, 0)]; }
    // isDark of every module, rows() x cols() bytes row after row, 1 dark.
    // Four cells of a row at a time as one 64-bit word: a 16-bit lane is
    // above 0 when its sign bit is clear and another bit set; the four
    // flags are packed into four bytes in lane order, which keeps the cells'
    // order whatever the host's byte order.
    void DarkBytes(std::uint8_t* out) const {
        constexpr std::uint64_t kSignBits = 0x8000800080008000u;
        // In locals: a byte written through `out` may alias any member.
        const int rows = rows_;
        const int cols = cols_;
        for (int row = 0; row < rows; ++row) {
            const std::int16_t* cells = rowCells(row);
            int col = 0;
            for (; col + 4 <= cols; col += 4, out += 4) {
                std::uint64_t word = 0;
                std::memcpy(&word, cells + col, sizeof word);
                const std::uint64_t nonZero = (word & ~kSignBits) + ~kSignBits;
                std::uint64_t flags = (~word & nonZero & kSignBits) >> 15;  // lanes of 0 or 1
                flags = (flags | (flags >> 8)) & 0x0000FFFF0000FFFFu;
                const auto bytes = static_cast<std::uint32_t>(flags | (flags >> 16));
                std::memcpy(out, &bytes, sizeof bytes);
            }
            for (; col < cols; ++col) *out++ = static_cast<std::uint8_t>(cells[col] > 0);
        }
    }
    // Where (row, col) lies in the storage, for tables of positions built
    // once per size, and a write there.
    static std::uint16_t Offset(int row, int col) { return static_cast<std::uint16_t>(index(row, col)); }
    void setAtOffset(std::uint16_t offset, std::int16_t value) { cells_[offset] = value; }

private:
    static std::size_t index(int row, int col) { return static_cast<std::size_t>(row * kMaxSymbolSide + col); }
    void CopyCorner(const SymbolMatrix& other) {
        rows_ = other.rows_;
        cols_ = other.cols_;
        for (int row = 0; row < rows_; ++row) {
            for (int col = 0; col < cols_; ++col) cells_[index(row, col)] = other.cells_[index(row, col)];
        }
    }
    int rows_ = 0;
    int cols_ = 0;
    // Default-initialised here: each constructor says whether it zeroes.
    std::array<std::int16_t, kMaxSymbolSide * kMaxSymbolSide> cells_;
};

}  // namespace ecc200

// The two module matrices of the encoder. The mapping matrix has fixed
// storage for the largest symbol; the symbol matrix, which is also the
// per-call result, storage sized to its symbol and kept for reuse, so that
// no stage of a warm encoding allocates. Modules are addressed (row, col),
// row 0 at the top and column 0 at the left.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

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

// Symbol matrix: the finished symbol, rows x cols cells of one byte row
// after row (stride cols), in storage sized to the symbol: 100 bytes for 10
// x 10 rather than the 20 KB of the largest (which stays within a level-1
// cache while the placement writes it bit by bit). The storage grows to the largest
// symbol a matrix has held and is kept, so a matrix reused for symbols no
// larger allocates nothing. A matrix may start in storage its owner lends
// (the per-call symbol's, in the same block as the rest of the symbol).
// Finder patterns hold 1; a data module holds its codeword masked by its
// bit (at most 128), so any value above 0 is dark.
class SymbolMatrix {
public:
    static_assert(kMaxSymbolSide * kMaxSymbolSide <= 65536, "offsets are 16 bits");
    // 0 x 0, no storage.
    SymbolMatrix() = default;
    // 0 x 0 in `capacity` cells lent by the caller, which outlive the matrix;
    // a larger symbol moves it to storage of its own.
    SymbolMatrix(std::uint8_t* lent, std::size_t capacity) : cells_(lent), capacity_(capacity) {}
    // A copy holds the rows x cols cells, in storage of that size.
    SymbolMatrix(const SymbolMatrix& other) { CopyFrom(other); }
    SymbolMatrix& operator=(const SymbolMatrix& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    // A move takes the storage; the matrix moved from is 0 x 0.
    SymbolMatrix(SymbolMatrix&& other) noexcept { Take(other); }
    SymbolMatrix& operator=(SymbolMatrix&& other) noexcept {
        if (this != &other) Take(other);
        return *this;
    }
    ~SymbolMatrix() = default;
    // rows x cols cells, every one 0.
    void resize(int side) { resize(side, side); }
    void resize(int rows, int cols) {
        resizeForOverwrite(rows, cols);
        std::fill(cells_, cells_ + cellCount(), std::uint8_t{0});
    }
    // rows x cols cells for a writer of every module (a placement map): the
    // storage kept is not zeroed again, so its cells hold what they held
    // (in place for the same rows x cols); new storage is zeroed.
    void resizeForOverwrite(int rows, int cols) {
        const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
        if (count > capacity_) {
            owned_.reset(new std::uint8_t[count]());
            cells_ = owned_.get();
            capacity_ = count;
        }
        rows_ = rows;
        cols_ = cols;
    }
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // The side of a square symbol (its rows).
    int side() const { return rows_; }
    std::int16_t at(int row, int col) const { return cells_[Offset(row, col)]; }
    void set(int row, int col, std::int16_t value) { cells_[Offset(row, col)] = static_cast<std::uint8_t>(value); }
    bool isDark(int row, int col) const { return at(row, col) > 0; }
    // isDark of every module, rows() x cols() bytes row after row, 1 dark.
    // The cells are stored row after row without gaps, so they are read as
    // one run, sixteen at a time: a loop of fixed length that compilers
    // turn into vector compares.
    void DarkBytes(std::uint8_t* out) const {
        // In locals: a byte written through `out` may alias any member.
        const std::uint8_t* cells = cells_;
        const std::size_t count = cellCount();
        std::size_t k = 0;
        for (; k + 16 <= count; k += 16) {
            std::uint8_t run[16];
            std::memcpy(run, cells + k, sizeof run);
            for (std::uint8_t& cell : run) cell = static_cast<std::uint8_t>(cell != 0);
            std::memcpy(out + k, run, sizeof run);
        }
        for (; k < count; ++k) out[k] = static_cast<std::uint8_t>(cells[k] != 0);
    }
    // Where (row, col) lies in the storage of a matrix of this size, for
    // tables of positions built once per size.
    std::uint16_t Offset(int row, int col) const { return static_cast<std::uint16_t>(row * cols_ + col); }
    // The rows x cols cells, row after row, for a writer of every module.
    std::uint8_t* cellsForOverwrite() { return cells_; }
    // Writes all rows x cols cells from `values`, row after row.
    void setCells(const std::uint8_t* values) {
        if (cellCount() != 0) std::memcpy(cells_, values, cellCount());
    }

private:
    std::size_t cellCount() const { return static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_); }
    void CopyFrom(const SymbolMatrix& other) {
        resizeForOverwrite(other.rows_, other.cols_);
        if (cellCount() != 0) std::memcpy(cells_, other.cells_, cellCount());
    }
    void Take(SymbolMatrix& other) noexcept {
        rows_ = std::exchange(other.rows_, 0);
        cols_ = std::exchange(other.cols_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        cells_ = std::exchange(other.cells_, nullptr);
        owned_ = std::move(other.owned_);
    }
    int rows_ = 0;
    int cols_ = 0;
    std::uint8_t* cells_ = nullptr;  // owned_'s, lent, or none
    std::size_t capacity_ = 0;
    std::unique_ptr<std::uint8_t[]> owned_;
};

}  // namespace ecc200

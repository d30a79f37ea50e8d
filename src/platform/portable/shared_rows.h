// The rows of the portable bitmap, each distinct row content stored once.
// A symbol drawing leaves most rows equal to others: every row outside the
// symbol is the background, and the pixel rows of one module row are
// alike. So a row is a reference to a buffer, rows with equal content share
// one, and a change to a range of rows is made once per buffer:
// - in the buffer itself when every row that shares it lies in the range;
// - otherwise in a copy, which the range's rows sharing the buffer take.
// Every buffer has at least one row, so there are never more buffers than
// rows; a picture drawn row by row costs what a plain bitmap costs. A
// 10000 x 10000 picture of a symbol holds a few hundred buffers instead of
// 12.5 MB, and the BMP file is written from them row by row.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace ecc200::platform {

class SharedRows {
public:
    // `height` rows of `rowBytes` bytes, all zero.
    SharedRows(std::int32_t height, std::size_t rowBytes)
        : rowBytes_(rowBytes),
          rowsPerBlock_(std::max<std::size_t>(1, kBlockBytes / rowBytes)),
          bufferOf_(static_cast<std::size_t>(height), 0) {
        // A symbol drawing makes a buffer or two per module row: room for
        // the common sizes, made once.
        buffers_.reserve(std::min<std::size_t>(static_cast<std::size_t>(height), kBuffersReserved));
        std::memset(buffers_[AddBuffer(static_cast<std::uint32_t>(height))].bytes, 0, rowBytes_);
    }

    // Makes the rows `height` rows of `rowBytes` bytes, all zero again,
    // reusing the blocks when the row size is the same: a bitmap drawn again
    // and again allocates nothing once warm.
    void Reset(std::int32_t height, std::size_t rowBytes) {
        if (rowBytes != rowBytes_) {
            blocks_.clear();
            rowBytes_ = rowBytes;
            rowsPerBlock_ = std::max<std::size_t>(1, kBlockBytes / rowBytes);
        }
        blocksUsed_ = 0;
        rowsLeftInBlock_ = 0;
        pass_ = 0;
        bufferOf_.assign(static_cast<std::size_t>(height), 0);
        buffers_.clear();
        std::memset(buffers_[AddBuffer(static_cast<std::uint32_t>(height))].bytes, 0, rowBytes_);
    }

    const std::uint8_t* Row(std::int64_t y) const { return buffers_[bufferOf_[static_cast<std::size_t>(y)]].bytes; }

    // Calls use(first, end, bytes) for each run of rows [first, end) in
    // [begin, end) that share one buffer, in order.
    template <typename Use>
    void ForEachRun(std::int64_t begin, std::int64_t end, const Use& use) const {
        ForEachRunId(begin, end, [this, &use](std::int64_t first, std::int64_t last, std::uint32_t id) {
            use(first, last, static_cast<const std::uint8_t*>(buffers_[id].bytes));
        });
    }

    // Applies change(row bytes) to every row y in [begin, end), a range
    // inside the bitmap; equal rows stay shared. Rows sharing a buffer
    // usually come in runs (a band of a module's pixels), so the work goes
    // run by run.
    template <typename Change>
    void ChangeRows(std::int64_t begin, std::int64_t end, const Change& change) {
        // Every row (a background): every buffer lies wholly in the range.
        if (begin == 0 && end == static_cast<std::int64_t>(bufferOf_.size())) {
            for (Buffer& buffer : buffers_) change(buffer.bytes);
            return;
        }
        ++pass_;
        // How many rows of the range use each buffer...
        ForEachRunId(begin, end, [this](std::int64_t first, std::int64_t last, std::uint32_t id) {
            Buffer& buffer = buffers_[id];
            if (buffer.countedIn != pass_) {
                buffer.countedIn = pass_;
                buffer.rowsInRange = 0;
            }
            buffer.rowsInRange += static_cast<std::uint32_t>(last - first);
        });
        // ...then each buffer is changed, or copied and the copy changed,
        // once, and the rows take the result.
        ForEachRunId(begin, end, [this, &change](std::int64_t first, std::int64_t last, std::uint32_t id) {
            if (buffers_[id].changedIn != pass_) ChangeBuffer(id, change);
            std::fill(bufferOf_.begin() + first, bufferOf_.begin() + last, buffers_[id].replacement);
        });
    }

private:
    static constexpr std::size_t kBuffersReserved = 64;
    // Buffers are carved from blocks of about this many bytes (at least one
    // row each), a handful of allocations for a whole drawing.
    static constexpr std::size_t kBlockBytes = 4096;

    struct Buffer {
        std::uint8_t* bytes;        // rowBytes_ bytes in one of blocks_
        std::uint32_t rows;         // rows that use it
        std::uint64_t countedIn;    // the pass that counted rowsInRange
        std::uint32_t rowsInRange;
        std::uint64_t changedIn;    // the pass that set replacement
        std::uint32_t replacement;  // the buffer its rows in the range take
    };

    // A buffer for `rows` rows, its bytes not yet set.
    std::uint32_t AddBuffer(std::uint32_t rows) {
        if (rowsLeftInBlock_ == 0) {
            if (blocksUsed_ == blocks_.size()) blocks_.emplace_back(new std::uint8_t[rowsPerBlock_ * rowBytes_]);
            ++blocksUsed_;
            rowsLeftInBlock_ = rowsPerBlock_;
        }
        std::uint8_t* const bytes = blocks_[blocksUsed_ - 1].get() + (rowsPerBlock_ - rowsLeftInBlock_) * rowBytes_;
        --rowsLeftInBlock_;
        buffers_.push_back({bytes, rows, 0, 0, 0, 0});
        return static_cast<std::uint32_t>(buffers_.size() - 1);
    }

    // As ForEachRun, with the run's buffer number.
    template <typename Use>
    void ForEachRunId(std::int64_t begin, std::int64_t end, const Use& use) const {
        for (std::int64_t y = begin; y < end;) {
            const std::int64_t first = y;
            const std::uint32_t id = bufferOf_[static_cast<std::size_t>(y)];
            while (++y < end && bufferOf_[static_cast<std::size_t>(y)] == id) {
            }
            use(first, y, id);
        }
    }

    template <typename Change>
    void ChangeBuffer(std::uint32_t id, const Change& change) {
        const std::uint32_t inRange = buffers_[id].rowsInRange;
        std::uint32_t target = id;
        if (inRange != buffers_[id].rows) {
            target = AddBuffer(inRange);  // may move buffers_: index, not reference
            std::memcpy(buffers_[target].bytes, buffers_[id].bytes, rowBytes_);
            buffers_[id].rows -= inRange;
        }
        change(buffers_[target].bytes);
        buffers_[id].changedIn = pass_;
        buffers_[id].replacement = target;
    }

    std::size_t rowBytes_;
    std::size_t rowsPerBlock_;
    std::size_t rowsLeftInBlock_ = 0;
    std::size_t blocksUsed_ = 0;  // blocks_ beyond these are kept from an earlier drawing
    std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
    std::vector<std::uint32_t> bufferOf_;  // by row, top row first
    std::vector<Buffer> buffers_;
    std::uint64_t pass_ = 0;
};

}  // namespace ecc200::platform

// The memory bitmap of the portable backend. Real GDI keeps a 32-bit pixel
// per position and converts to one bit only in GetDIBits; since the
// conversion depends on nothing but the pixel's colour, this bitmap applies
// it at drawing time and keeps one bit per pixel, already laid out as the
// rows of a 1-bit DIB (leftmost pixel in the most significant bit, rows
// padded to 4 bytes with 0 bits), each distinct row stored once (see
// shared_rows.h), ready to be written or copied row by row.
#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "platform/portable/brush_table.h"
#include "platform/drawing_surface.h"
#include "platform/portable/line_raster.h"
#include "platform/portable/pixel_run.h"
#include "platform/portable/shared_rows.h"
#include "platform/portable/text_mode_mapping.h"
#include "platform/wrapping_int32.h"

namespace ecc200::platform {
namespace {

// Offsets in the block GetMonochromeDIBits fills: BITMAPINFOHEADER, the
// two-entry colour table, then the rows.
constexpr std::size_t kColourTableOffset = 40;
constexpr std::size_t kRowsOffset = 48;
constexpr ColourRef kStockWhite = 0x00FFFFFF;
constexpr std::uint8_t kMonochromeColourTable[8] = {0x00, 0x00, 0x00, 0x00,   // index 0: black
                                                    0xFF, 0xFF, 0xFF, 0x00};  // index 1: white

// GetDIBits sends a colour to the nearer of black and white by squared RGB
// distance, which is exactly r + g + b >= 383 (a tie would need 382.5).
bool IsWhite(ColourRef colour) {
    const std::uint32_t r = colour & 0xFF;
    const std::uint32_t g = (colour >> 8) & 0xFF;
    const std::uint32_t b = (colour >> 16) & 0xFF;
    return r + g + b >= 383;
}

[[maybe_unused]] std::int32_t ReadI32le(const std::uint8_t* p) {
    return Int32FromBits(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

// 4 x ceil(W / 32) bytes per row.
std::size_t RowBytesOf(std::int32_t width) { return 4 * ((static_cast<std::size_t>(width) + 31) / 32); }

class PortableBitmapContext final : public BitmapContext {
public:
    // A fresh bitmap is black, index 0 everywhere: zeroed rows.
    PortableBitmapContext(std::int32_t width, std::int32_t height, std::size_t rowBytes)
        : width_(width), height_(height), rowBytes_(rowBytes), imageBytesHad_(rowBytes * static_cast<std::size_t>(height)),
          rows_(height, rowBytes) {}

    // Within the whole image CreateBitmapContext made sure could be had.
    bool Reset(std::int32_t width, std::int32_t height) override {
        if (width <= 0 || height <= 0) return false;
        const std::size_t rowBytes = RowBytesOf(width);
        if (rowBytes * static_cast<std::size_t>(height) > imageBytesHad_) return false;
        width_ = width;
        height_ = height;
        rowBytes_ = rowBytes;
        rows_.Reset(height, rowBytes);
        brushes_.Clear();
        origin_ = {0, 0};
        position_ = {0, 0};
        return true;
    }

    Brush CreateSolidBrush(ColourRef colour) override { return brushes_.Create(colour); }
    void DeleteBrush(Brush brush) override { brushes_.Remove(brush); }

    // FillRect is PatBlt(left, top, right - left, bottom - top): a reversed
    // rectangle fills the mirrored run of each axis (see pixel_run.h), an
    // empty one nothing. A brush that does not exist cannot be selected, so
    // the blit uses the brush the context holds, the stock white brush.
    void FillRect(const PixelRect& rect, Brush brush) override { Fill(rect, IsWhite(ColourOf(brush))); }

    // Rectangles that share their top and bottom edges, as the modules of
    // one symbol row do unturned or turned by half, cover the same band of
    // rows: their pixels are set once in a mask of one row, which then goes
    // into the band's rows (once per buffer they share). Any others are
    // filled one by one.
    void FillRects(const PixelRect* rects, std::size_t count, Brush brush) override {
        const bool white = IsWhite(ColourOf(brush));
        if (count < 2 || !MaskBand(rects, count)) {
            for (std::size_t i = 0; i < count; ++i) Fill(rects[i], white);
            return;
        }
        const PixelRun ys = ClipRun(PixelRunBetween(DeviceY(rects[0].top), DeviceY(rects[0].bottom)), height_);
        if (ys.begin >= ys.end || maskFirst_ > maskLast_) return;
        rows_.ChangeRows(ys.begin, ys.end, [&](std::uint8_t* row) { ApplyMask(row, maskFirst_, maskLast_ + 1, white); });
    }

    void MoveToEx(std::int32_t x, std::int32_t y) override { position_ = {x, y}; }

    // The default pen is black: index 0. The spans of consecutive rows that
    // cover the same pixels (a vertical line) change the rows as one range.
    void LineTo(std::int32_t x, std::int32_t y) override {
        const LinePoint from{DeviceX(position_.x), DeviceY(position_.y)};
        const LinePoint to{DeviceX(x), DeviceY(y)};
        struct Span {
            std::int32_t xBegin, xEnd, yBegin, yEnd;
        } pending{0, 0, 0, 0};
        const auto flush = [this, &pending] {
            if (pending.yBegin >= pending.yEnd) return;
            const Span span = pending;
            rows_.ChangeRows(span.yBegin, span.yEnd, [&span](std::uint8_t* row) { SetBits(row, span.xBegin, span.xEnd, false); });
        };
        RasterizeLine(from, to, width_, height_, [&](std::int32_t xBegin, std::int32_t xEnd, std::int32_t row) {
            if (xBegin == pending.xBegin && xEnd == pending.xEnd && row == pending.yEnd && pending.yBegin < pending.yEnd) {
                ++pending.yEnd;
                return;
            }
            flush();
            pending = {xBegin, xEnd, row, row + 1};
        });
        flush();
        position_ = {x, y};
    }

    // MM_TEXT is a memory context's only mode here and its default; in it
    // the window extent has no effect and the origin shifts every point.
    void SetMapModeText() override {}
    void SetWindowExtEx(std::int32_t, std::int32_t) override {}
    void SetWindowOrgEx(std::int32_t x, std::int32_t y) override { origin_ = {x, y}; }

    void GetMonochromeDIBits(std::uint8_t* block) override {
        assert(ReadI32le(block + 4) == width_ && ReadI32le(block + 8) == height_ && block[14] == 1);
        std::memcpy(block + kColourTableOffset, kMonochromeColourTable, sizeof kMonochromeColourTable);
        // Bottom-up: the last row of the picture comes first, so a run of
        // rows y in [first, end) lands, reversed, on the block's rows
        // height - end to height - 1 - first: one row copied, then the
        // copies doubled.
        rows_.ForEachRun(0, height_, [&](std::int64_t first, std::int64_t end, const std::uint8_t* bytes) {
            std::uint8_t* const target = block + kRowsOffset + static_cast<std::size_t>(height_ - end) * rowBytes_;
            const std::size_t total = static_cast<std::size_t>(end - first) * rowBytes_;
            std::memcpy(target, bytes, rowBytes_);
            for (std::size_t done = rowBytes_; done < total; done *= 2) {
                std::memcpy(target + done, target, std::min(done, total - done));
            }
        });
    }

    // The bitmap already holds the rows of a one-bit DIB: one span per row,
    // bottom-up, rows with equal content pointing at the same bytes.
    bool AppendMonochromeDib(std::vector<ByteSpan>& pieces) override {
        pieces.reserve(pieces.size() + 1 + static_cast<std::size_t>(height_));
        pieces.push_back({kMonochromeColourTable, sizeof kMonochromeColourTable});
        for (std::int32_t y = height_ - 1; y >= 0; --y) pieces.push_back({rows_.Row(y), rowBytes_});
        return true;
    }

private:
    std::int32_t DeviceX(std::int32_t x) const { return TextModeToDevice(x, origin_.x); }
    std::int32_t DeviceY(std::int32_t y) const { return TextModeToDevice(y, origin_.y); }

    // Sets the band mask to the pixels of the rectangles and the bytes it
    // touches (maskFirst_ to maskLast_); false when they do not all share
    // their top and bottom edges. Neighbouring modules touch: a rectangle
    // that starts where the run so far ends (or ends where it starts, drawn
    // right to left) lengthens it, and each run's bits are set once.
    bool MaskBand(const PixelRect* rects, std::size_t count) {
        bandMask_.assign(rowBytes_, 0);
        maskFirst_ = rowBytes_;
        maskLast_ = 0;
        bool oneBand = true;
        PixelRun run{0, 0};
        for (std::size_t i = 0; i < count; ++i) {
            oneBand &= rects[i].top == rects[0].top && rects[i].bottom == rects[0].bottom;
            const PixelRun xs = ClipRun(PixelRunBetween(DeviceX(rects[i].left), DeviceX(rects[i].right)), width_);
            if (xs.begin >= xs.end) continue;
            if (xs.begin == run.end) {
                run.end = xs.end;
            } else if (xs.end == run.begin) {
                run.begin = xs.begin;
            } else {
                MarkRun(run);
                run = xs;
            }
        }
        MarkRun(run);
        return oneBand;
    }

    void MarkRun(const PixelRun& run) {
        if (run.begin >= run.end) return;
        SetBits(bandMask_.data(), run.begin, run.end, true);
        maskFirst_ = std::min(maskFirst_, static_cast<std::size_t>(run.begin >> 3));
        maskLast_ = std::max(maskLast_, static_cast<std::size_t>((run.end - 1) >> 3));
    }

    // Sets the pixels set in bytes [begin, end) of the band mask to white or
    // black in the same bytes of a row, eight bytes at a time where it can
    // (the bytes are independent, so the host's byte order does not matter).
    void ApplyMask(std::uint8_t* row, std::size_t begin, std::size_t end, bool white) const {
        const std::uint8_t* const mask = bandMask_.data();
        std::size_t b = begin;
        for (; b + 8 <= end; b += 8) {
            std::uint64_t pixels = 0;
            std::uint64_t bits = 0;
            std::memcpy(&pixels, row + b, 8);
            std::memcpy(&bits, mask + b, 8);
            pixels = white ? pixels | bits : pixels & ~bits;
            std::memcpy(row + b, &pixels, 8);
        }
        for (; b < end; ++b) row[b] = static_cast<std::uint8_t>(white ? row[b] | mask[b] : row[b] & ~mask[b]);
    }

    // A brush that does not exist cannot be selected, so the blit uses the
    // brush the context holds, the stock white brush.
    ColourRef ColourOf(Brush brush) const { return brushes_.Find(brush).value_or(kStockWhite); }

    void Fill(const PixelRect& rect, bool white) {
        const PixelRun xs = ClipRun(PixelRunBetween(DeviceX(rect.left), DeviceX(rect.right)), width_);
        const PixelRun ys = ClipRun(PixelRunBetween(DeviceY(rect.top), DeviceY(rect.bottom)), height_);
        if (xs.begin >= xs.end || ys.begin >= ys.end) return;
        rows_.ChangeRows(ys.begin, ys.end, [&xs, white](std::uint8_t* row) { SetBits(row, xs.begin, xs.end, white); });
    }

    // Sets pixels [xBegin, xEnd) of a row, a non-empty run inside the
    // bitmap, to white or black: partial bytes at both ends, whole bytes
    // between them.
    static void SetBits(std::uint8_t* row, std::int64_t xBegin, std::int64_t xEnd, bool white) {
        const auto paint = [white](std::uint8_t& byte, unsigned mask) {
            byte = static_cast<std::uint8_t>(white ? byte | mask : byte & ~mask);
        };
        const auto first = static_cast<std::size_t>(xBegin >> 3);
        const auto last = static_cast<std::size_t>((xEnd - 1) >> 3);
        const unsigned headMask = 0xFFu >> (xBegin & 7);
        const unsigned tailMask = (0xFFu << (7 - ((xEnd - 1) & 7))) & 0xFFu;
        if (first == last) {
            paint(row[first], headMask & tailMask);
            return;
        }
        paint(row[first], headMask);
        if (last > first + 1) std::memset(row + first + 1, white ? 0xFF : 0x00, last - first - 1);
        paint(row[last], tailMask);
    }

    std::int32_t width_;
    std::int32_t height_;
    std::size_t rowBytes_;
    std::size_t imageBytesHad_;  // the whole image's bytes when the context was made
    SharedRows rows_;
    BrushTable brushes_;
    std::vector<std::uint8_t> bandMask_;  // FillRects' pixels to set in one row
    std::size_t maskFirst_ = 0;            // the first and last bytes the mask touches
    std::size_t maskLast_ = 0;
    LinePoint origin_{0, 0};
    LinePoint position_{0, 0};  // a new context's current position
};

}  // namespace

std::unique_ptr<BitmapContext> CreateBitmapContext(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return nullptr;
    // 4 x ceil(W / 32) bytes per row; at most 2^28 x 2^31 bytes in all.
    const std::uint64_t rowBytes = 4 * ((static_cast<std::uint64_t>(width) + 31) / 32);
    const std::uint64_t total = rowBytes * static_cast<std::uint64_t>(height);
    if (total > std::numeric_limits<std::size_t>::max()) return nullptr;
    // The shared rows need far less, but a bitmap is made only where its
    // whole image could be had, as GetMonochromeDIBits and a plain bitmap
    // need it: the block is asked for and given back untouched. A direct
    // call of operator new, unlike malloc or a new-expression, is one the
    // compiler may not leave out.
    void* const wholeImage = ::operator new(static_cast<std::size_t>(total), std::nothrow);
    if (wholeImage == nullptr) return nullptr;
    ::operator delete(wholeImage);
    try {
        return std::make_unique<PortableBitmapContext>(width, height, static_cast<std::size_t>(rowBytes));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace ecc200::platform

// The one writer of enhanced metafile records ([MS-EMF]), for GDI's
// stand-in recorder (portable/emf_recorder.cpp) and the seamless EMF alike:
// the record types, each record's iType and nSize, the common records field
// by field, EMR_EOF, and EMR_HEADER with its totals and its frame worked out
// from the bounds and the reference device as GDI works it out.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/byte_writer.h"
#include "platform/drawing_surface.h"
#include "platform/metafile_records.h"

namespace ecc200::platform {

namespace emf {
constexpr std::uint32_t kHeaderBytes = 108;  // EMR_HEADER without description or pixel format
constexpr std::uint32_t kEofBytes = 20;      // EMR_EOF without palette
constexpr std::uint32_t kSelectObjectBytes = 12;
constexpr std::uint32_t kBitBltBytes = 100;  // EMR_BITBLT without source bitmap
constexpr std::uint32_t kStockWhiteBrush = 0x80000000;  // ENHMETA_STOCK_OBJECT | WHITE_BRUSH
constexpr std::uint32_t kMapModeText = 1;               // MM_TEXT
}  // namespace emf

// An inclusive rectangle of device pixels, as rclBounds holds it.
struct EmfBounds {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// The union of the rectangles drawn, each put in order first; (0, 0, -1,
// -1) when nothing was drawn.
class EmfBoundsUnion {
public:
    void Add(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
        const EmfBounds r{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
        bounds_ = any_ ? EmfBounds{std::min(bounds_.left, r.left), std::min(bounds_.top, r.top),
                                   std::max(bounds_.right, r.right), std::max(bounds_.bottom, r.bottom)}
                       : r;
        any_ = true;
    }
    EmfBounds Result() const { return any_ ? bounds_ : EmfBounds{0, 0, -1, -1}; }

private:
    bool any_ = false;
    EmfBounds bounds_{0, 0, -1, -1};
};

// The screen GDI's recordings refer to when none is given, as the portable
// backend models it: 1024 x 768 pixels at `dotsPerInch` on both axes, its
// size in millimetres round(pixels x 25.4 / dpi) as GDI reports it.
ScreenMetrics ScreenAt(std::int32_t dotsPerInch);

// Rewrites, in an EMR_HEADER at `header`, rclFrame (from its rclBounds, edge
// by edge bound x 100 x millimetres / pixels in 32-bit integers that wrap
// around, truncated toward zero, as GDI computes it), szlDevice,
// szlMillimeters and szlMicrometers for the reference `device`.
void ReferHeaderTo(std::uint8_t* header, const ScreenMetrics& device);

class EmfRecords {
public:
    // The header's bytes are set aside first and written by Finish.
    EmfRecords() { out_.Extend(emf::kHeaderBytes); }

    // iType and a placeholder for nSize, which End fills in.
    std::size_t Begin(std::uint32_t type) {
        const std::size_t start = out_.size();
        out_.u32le(type);
        out_.u32le(0);
        ++records_;
        return start;
    }
    void End(std::size_t start) { out_.PatchU32le(start + 4, static_cast<std::uint32_t>(out_.size() - start)); }
    void u32(std::uint32_t v) { out_.u32le(v); }
    void i32(std::int32_t v) { out_.i32le(v); }
    void u16(std::uint16_t v) { out_.u16le(v); }
    // A record whose fields are all 32 bits.
    void Simple(std::uint32_t type, std::initializer_list<std::int32_t> fields);
    // A record of `bytes` written through the cursor, counted.
    ByteCursor Fixed(std::size_t bytes) {
        ++records_;
        return out_.Extend(bytes);
    }

    void SelectObject(std::uint32_t handle);
    void DeleteObject(std::uint32_t handle);
    // EMR_CREATEBRUSHINDIRECT, [MS-EMF] 2.3.7.1: a solid LogBrush32.
    void CreateBrushIndirect(std::uint32_t handle, ColourRef colour);

    // EMR_EOF without palette, then EMR_HEADER ([MS-EMF] 2.3.4.2, 108 bytes)
    // over the bytes set aside; the finished metafile. Totals past the
    // header's 32-bit nBytes or 16-bit nHandles are the caller's to refuse.
    std::vector<std::uint8_t> Finish(const EmfBounds& bounds, const ScreenMetrics& device, std::uint16_t handles);

    void Reserve(std::size_t bytes) { out_.Reserve(bytes); }
    void ReserveMore(std::size_t bytes) { out_.ReserveMore(bytes); }
    std::size_t size() const { return out_.size(); }

private:
    ByteWriter out_;
    std::uint32_t records_ = 0;
};

}  // namespace ecc200::platform

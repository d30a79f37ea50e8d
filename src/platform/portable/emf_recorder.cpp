// An enhanced metafile recorder ([MS-EMF]) that writes what GDI's
// CreateEnhMetaFileA(NULL, NULL, NULL, NULL) recording writes for the same
// calls, the screen being the reference device.
//
// How GDI records this drawing:
// - a brush is written (EMR_CREATEBRUSHINDIRECT) when it is first selected,
//   under the lowest free handle index from 1; one that is never selected
//   leaves no trace, not even its deletion;
// - FillRect writes EMR_SELECTOBJECT of its brush, a pattern EMR_BITBLT
//   without a source, and EMR_SELECTOBJECT of the brush selected before,
//   which on a fresh recording is the stock white brush (0x80000000);
// - deleting a recorded brush writes EMR_DELETEOBJECT and frees its index;
// - the default pen is never written.
//
// A brush that does not exist cannot be selected, so FillRect with one
// writes the blit alone, painting with the brush already selected.
//
// The header's rclBounds is the union, in device pixels and inclusive on
// all sides, of every blit's rectangle put in order and of the rectangle
// spanned by each line's start and end; (0, 0, -1, -1) when nothing was
// drawn. Its rclFrame follows from it edge by edge, bound x 100 x
// millimetres / pixels of the reference device, in 32-bit integers that
// wrap around, truncated toward zero, exactly as GDI computes it.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>
#include <optional>

#include "platform/portable/brush_table.h"
#include "platform/drawing_surface.h"
#include "platform/emf_records.h"
#include "platform/portable/object_slots.h"
#include "platform/portable/text_mode_mapping.h"
#include "platform/wrapping_int32.h"

namespace ecc200::platform {
namespace {

// What FillRect with a live brush writes once its brush is recorded.
constexpr std::size_t kFillBytes = emf::kSelectObjectBytes + emf::kBitBltBytes + emf::kSelectObjectBytes;
constexpr std::uint32_t kPatCopy = 0x00F00021;

struct PointL {
    std::int32_t x;
    std::int32_t y;
};

class MemoryEnhMetafile final : public EnhMetafile {
public:
    explicit MemoryEnhMetafile(std::vector<std::uint8_t> bits) : bits_(std::move(bits)) {}
    std::vector<std::uint8_t> GetBits() const override { return bits_; }

private:
    std::vector<std::uint8_t> bits_;
};

class PortableEnhMetafileRecorder final : public EnhMetafileRecorder {
public:
    explicit PortableEnhMetafileRecorder(const ScreenMetrics& screen) : screen_(screen) {}

    Brush CreateSolidBrush(ColourRef colour) override { return brushes_.Create(colour); }

    void DeleteBrush(Brush brush) override {
        if (!brushes_.Remove(brush) || closed_) return;
        if (const std::optional<std::uint32_t> handle = handles_.Release(brush.value)) records_.DeleteObject(*handle);
    }

    // A brush that does not exist cannot be selected: only the blit is
    // written, with the brush the recording holds.
    void FillRect(const PixelRect& rect, Brush brush) override {
        if (closed_) return;
        const std::optional<ColourRef> colour = brushes_.Find(brush);
        if (colour) records_.SelectObject(HandleOf(brush.value, *colour));
        WriteBitBlt(rect.left, rect.top, WrappingSub(rect.right, rect.left), WrappingSub(rect.bottom, rect.top));
        if (colour) records_.SelectObject(emf::kStockWhiteBrush);
    }

    // The records of FillRect one after the other, in a buffer made large
    // enough for all of them first.
    void FillRects(const PixelRect* rects, std::size_t count, Brush brush) override {
        if (closed_) return;
        records_.ReserveMore(count * kFillBytes);
        for (std::size_t i = 0; i < count; ++i) FillRect(rects[i], brush);
    }

    void MoveToEx(std::int32_t x, std::int32_t y) override {
        if (closed_) return;
        records_.Simple(metafile::kEmrMoveToEx, {x, y});
        position_ = {x, y};
    }

    // The default pen adds no width: the line's box is its two end points.
    void LineTo(std::int32_t x, std::int32_t y) override {
        if (closed_) return;
        records_.Simple(metafile::kEmrLineTo, {x, y});
        bounds_.Add(DeviceX(position_.x), DeviceY(position_.y), DeviceX(x), DeviceY(y));
        position_ = {x, y};
    }

    // The whole recording in one block taken before drawing.
    bool Reserve(std::uint64_t bytes) override {
        if (bytes > SIZE_MAX / 2) return false;
        try {
            records_.Reserve(static_cast<std::size_t>(bytes));
        } catch (const std::exception&) {  // bad_alloc, or length_error past the vector's size
            return false;
        }
        return true;
    }

    void SetMapModeText() override {
        if (!closed_) records_.Simple(metafile::kEmrSetMapMode, {static_cast<std::int32_t>(emf::kMapModeText)});
    }

    void SetWindowExtEx(std::int32_t width, std::int32_t height) override {
        if (!closed_) records_.Simple(metafile::kEmrSetWindowExtEx, {width, height});
    }

    void SetWindowOrgEx(std::int32_t x, std::int32_t y) override {
        if (closed_) return;
        records_.Simple(metafile::kEmrSetWindowOrgEx, {x, y});
        origin_ = {x, y};
    }

    std::unique_ptr<EnhMetafile> Close() override {
        if (closed_) return nullptr;
        closed_ = true;
        if (std::uint64_t{records_.size()} + emf::kEofBytes > UINT32_MAX || handles_.End() > UINT16_MAX) return nullptr;
        return std::make_unique<MemoryEnhMetafile>(
            records_.Finish(bounds_.Result(), screen_, static_cast<std::uint16_t>(handles_.End())));
    }

private:
    std::int32_t DeviceX(std::int32_t x) const { return TextModeToDevice(x, origin_.x); }
    std::int32_t DeviceY(std::int32_t y) const { return TextModeToDevice(y, origin_.y); }

    std::uint32_t HandleOf(std::uintptr_t brush, ColourRef colour) {
        if (const std::optional<std::uint32_t> recorded = handles_.IndexOf(brush)) return *recorded;
        const std::uint32_t handle = handles_.AllocateFor(brush);
        records_.CreateBrushIndirect(handle, colour);
        return handle;
    }

    // EMR_BITBLT, [MS-EMF] 2.3.1.2, with PATCOPY and no source bitmap. Its
    // own bounds are the blit's corners as they come, not put in order.
    void WriteBitBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy) {
        const std::int32_t lastX = WrappingSub(WrappingAdd(x, cx), 1);
        const std::int32_t lastY = WrappingSub(WrappingAdd(y, cy), 1);
        ByteCursor record = records_.Fixed(emf::kBitBltBytes);
        record.u32le(metafile::kEmrBitBlt);
        record.u32le(emf::kBitBltBytes);  // nSize
        record.i32le(x);                  // rclBounds
        record.i32le(y);
        record.i32le(lastX);
        record.i32le(lastY);
        record.i32le(x);                  // xDest
        record.i32le(y);                  // yDest
        record.i32le(cx);                 // cxDest
        record.i32le(cy);                 // cyDest
        record.u32le(kPatCopy);           // BitBltRasterOperation
        record.i32le(0);                  // xSrc
        record.i32le(0);                  // ySrc
        record.f32le(1.0f);               // XFormSrc: eM11
        record.f32le(0.0f);               //   eM12
        record.f32le(0.0f);               //   eM21
        record.f32le(1.0f);               //   eM22
        record.f32le(0.0f);               //   eDx
        record.f32le(0.0f);               //   eDy
        for (int field = 0; field < 6; ++field) record.u32le(0);  // BkColorSrc, UsageSrc, offBmiSrc, cbBmiSrc, offBitsSrc, cbBitsSrc
        bounds_.Add(DeviceX(x), DeviceY(y), DeviceX(lastX), DeviceY(lastY));
    }

    ScreenMetrics screen_;
    BrushTable brushes_;
    ObjectSlots handles_{1};
    EmfRecords records_;  // the header's bytes, then every record
    EmfBoundsUnion bounds_;
    PointL origin_{0, 0};    // the window origin
    PointL position_{0, 0};  // the current position
    bool closed_ = false;
};

}  // namespace

std::unique_ptr<EnhMetafileRecorder> CreateEnhMetafileRecorder(std::int32_t referenceDpi) {
    try {
        return std::make_unique<PortableEnhMetafileRecorder>(referenceDpi > 0 ? ScreenAt(referenceDpi)
                                                                               : GetScreenMetrics());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace ecc200::platform

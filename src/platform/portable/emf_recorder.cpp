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
#include <cassert>
#include <cstdint>
#include <exception>
#include <new>
#include <optional>

#include "platform/portable/brush_table.h"
#include "platform/drawing_surface.h"
#include "platform/portable/object_slots.h"
#include "platform/byte_writer.h"
#include "platform/metafile_records.h"
#include "platform/portable/text_mode_mapping.h"
#include "platform/wrapping_int32.h"

namespace ecc200::platform {
namespace {

using namespace metafile;  // the record numbers

constexpr std::uint32_t kHeaderBytes = 108;  // EMR_HEADER without description or pixel format
constexpr std::size_t kSelectObjectBytes = 12;  // iType, nSize, ihObject
constexpr std::size_t kBitBltBytes = 100;       // iType, nSize and the 23 fields of WriteBitBlt
// What FillRect with a live brush writes once its brush is recorded.
constexpr std::size_t kFillBytes = kSelectObjectBytes + kBitBltBytes + kSelectObjectBytes;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmfVersion = 0x00010000;
constexpr std::uint32_t kStockWhiteBrush = 0x80000000;  // ENHMETA_STOCK_OBJECT | WHITE_BRUSH
constexpr std::uint32_t kSolidBrushStyle = 0;           // BS_SOLID
constexpr std::uint32_t kMapModeText = 1;               // MM_TEXT
constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr std::uint32_t kEofPaletteOffset = 16;         // just past nPalEntries and offPalEntries

struct PointL {
    std::int32_t x;
    std::int32_t y;
};

// An inclusive rectangle, as rclBounds holds it.
struct RectL {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// The union of the rectangles drawn, each put in order first.
class BoundsAccumulator {
public:
    void Add(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
        const RectL r{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
        if (!any_) {
            bounds_ = r;
            any_ = true;
            return;
        }
        bounds_ = {std::min(bounds_.left, r.left), std::min(bounds_.top, r.top), std::max(bounds_.right, r.right),
                   std::max(bounds_.bottom, r.bottom)};
    }

    RectL Result() const { return any_ ? bounds_ : RectL{0, 0, -1, -1}; }

private:
    bool any_ = false;
    RectL bounds_{0, 0, -1, -1};
};

// One edge of rclFrame in 0.01 mm: the product wraps in 32 bits as GDI's
// does, the quotient truncates toward zero.
std::int32_t FrameEdge(std::int32_t bound, std::int32_t millimetres, std::int32_t pixels) {
    return WrappingMul(WrappingMul(bound, 100), millimetres) / pixels;
}

class MemoryEnhMetafile final : public EnhMetafile {
public:
    explicit MemoryEnhMetafile(std::vector<std::uint8_t> bits) : bits_(std::move(bits)) {}
    std::vector<std::uint8_t> GetBits() const override { return bits_; }

private:
    std::vector<std::uint8_t> bits_;
};

class PortableEnhMetafileRecorder final : public EnhMetafileRecorder {
public:
    // The header goes first, written at Close into the bytes set aside for
    // it, so the finished metafile is the one buffer the records went into.
    explicit PortableEnhMetafileRecorder(const ScreenMetrics& screen) : screen_(screen) { records_.Extend(kHeaderBytes); }

    Brush CreateSolidBrush(ColourRef colour) override { return brushes_.Create(colour); }

    void DeleteBrush(Brush brush) override {
        if (!brushes_.Remove(brush) || closed_) return;
        const std::optional<std::uint32_t> handle = handles_.Release(brush.value);
        if (!handle) return;
        const std::size_t start = BeginRecord(kEmrDeleteObject);
        records_.u32le(*handle);  // ihObject
        EndRecord(start);
    }

    // A brush that does not exist cannot be selected: only the blit is
    // written, with the brush the recording holds.
    void FillRect(const PixelRect& rect, Brush brush) override {
        if (closed_) return;
        const std::optional<ColourRef> colour = brushes_.Find(brush);
        if (colour) SelectObject(HandleOf(brush.value, *colour));
        WriteBitBlt(rect.left, rect.top, WrappingSub(rect.right, rect.left), WrappingSub(rect.bottom, rect.top));
        if (colour) SelectObject(kStockWhiteBrush);
    }

    // The records of FillRect one after the other, in a buffer made large
    // enough for all of them first.
    void FillRects(const PixelRect* rects, std::size_t count, Brush brush) override {
        if (closed_) return;
        const std::size_t needed = records_.size() + count * kFillBytes;
        if (needed > records_.capacity()) records_.Reserve(std::max(needed, 2 * records_.capacity()));
        for (std::size_t i = 0; i < count; ++i) FillRect(rects[i], brush);
    }

    void MoveToEx(std::int32_t x, std::int32_t y) override {
        if (closed_) return;
        WritePoint(kEmrMoveToEx, x, y);
        position_ = {x, y};
    }

    // The default pen adds no width: the line's box is its two end points.
    void LineTo(std::int32_t x, std::int32_t y) override {
        if (closed_) return;
        WritePoint(kEmrLineTo, x, y);
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
        if (closed_) return;
        const std::size_t start = BeginRecord(kEmrSetMapMode);
        records_.u32le(kMapModeText);  // iMode
        EndRecord(start);
    }

    void SetWindowExtEx(std::int32_t width, std::int32_t height) override {
        if (!closed_) WritePoint(kEmrSetWindowExtEx, width, height);
    }

    void SetWindowOrgEx(std::int32_t x, std::int32_t y) override {
        if (closed_) return;
        WritePoint(kEmrSetWindowOrgEx, x, y);
        origin_ = {x, y};
    }

    std::unique_ptr<EnhMetafile> Close() override {
        if (closed_) return nullptr;
        closed_ = true;
        WriteEof();
        const std::uint64_t totalBytes = records_.size();
        if (totalBytes > UINT32_MAX || handles_.End() > UINT16_MAX) return nullptr;
        ByteCursor header = records_.At(0);
        WriteHeader(header, static_cast<std::uint32_t>(totalBytes));
        assert(header.position() == records_.bytes().data() + kHeaderBytes);
        return std::make_unique<MemoryEnhMetafile>(records_.Take());
    }

private:
    std::int32_t DeviceX(std::int32_t x) const { return TextModeToDevice(x, origin_.x); }
    std::int32_t DeviceY(std::int32_t y) const { return TextModeToDevice(y, origin_.y); }

    // iType and a placeholder for nSize, which EndRecord fills in from what
    // was written.
    std::size_t BeginRecord(std::uint32_t type) {
        const std::size_t start = records_.size();
        records_.u32le(type);
        records_.u32le(0);
        ++recordCount_;
        return start;
    }

    void EndRecord(std::size_t start) { records_.PatchU32le(start + 4, static_cast<std::uint32_t>(records_.size() - start)); }

    // The records whose body is one POINTL or SIZEL.
    void WritePoint(std::uint32_t type, std::int32_t x, std::int32_t y) {
        const std::size_t start = BeginRecord(type);
        records_.i32le(x);
        records_.i32le(y);
        EndRecord(start);
    }

    void SelectObject(std::uint32_t handle) {
        ByteCursor record = records_.Extend(kSelectObjectBytes);
        record.u32le(kEmrSelectObject);
        record.u32le(kSelectObjectBytes);  // nSize
        record.u32le(handle);              // ihObject
        ++recordCount_;
    }

    std::uint32_t HandleOf(std::uintptr_t brush, ColourRef colour) {
        if (const std::optional<std::uint32_t> recorded = handles_.IndexOf(brush)) return *recorded;
        const std::uint32_t handle = handles_.AllocateFor(brush);
        const std::size_t start = BeginRecord(kEmrCreateBrushIndirect);
        records_.u32le(handle);            // ihBrush
        records_.u32le(kSolidBrushStyle);  // LogBrush32: lbStyle
        records_.u32le(colour);            //   lbColor
        records_.u32le(0);                 //   lbHatch
        EndRecord(start);
        return handle;
    }

    // EMR_BITBLT, [MS-EMF] 2.3.1.2, with PATCOPY and no source bitmap. Its
    // own bounds are the blit's corners as they come, not put in order.
    void WriteBitBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy) {
        const std::int32_t lastX = WrappingSub(WrappingAdd(x, cx), 1);
        const std::int32_t lastY = WrappingSub(WrappingAdd(y, cy), 1);
        ByteCursor record = records_.Extend(kBitBltBytes);
        const std::uint8_t* start = record.position();
        record.u32le(kEmrBitBlt);
        record.u32le(kBitBltBytes);  // nSize
        record.i32le(x);             // rclBounds
        record.i32le(y);
        record.i32le(lastX);
        record.i32le(lastY);
        record.i32le(x);             // xDest
        record.i32le(y);             // yDest
        record.i32le(cx);            // cxDest
        record.i32le(cy);            // cyDest
        record.u32le(kPatCopy);      // BitBltRasterOperation
        record.i32le(0);             // xSrc
        record.i32le(0);             // ySrc
        record.f32le(1.0f);          // XFormSrc: eM11
        record.f32le(0.0f);          //   eM12
        record.f32le(0.0f);          //   eM21
        record.f32le(1.0f);          //   eM22
        record.f32le(0.0f);          //   eDx
        record.f32le(0.0f);          //   eDy
        record.u32le(0);             // BkColorSrc
        record.u32le(0);             // UsageSrc
        record.u32le(0);             // offBmiSrc
        record.u32le(0);             // cbBmiSrc
        record.u32le(0);             // offBitsSrc
        record.u32le(0);             // cbBitsSrc
        assert(record.position() == start + kBitBltBytes);
        static_cast<void>(start);
        ++recordCount_;
        bounds_.Add(DeviceX(x), DeviceY(y), DeviceX(lastX), DeviceY(lastY));
    }

    // EMR_EOF without palette entries; nSizeLast repeats the record's size.
    void WriteEof() {
        const std::size_t start = BeginRecord(kEmrEof);
        records_.u32le(0);                  // nPalEntries
        records_.u32le(kEofPaletteOffset);  // offPalEntries
        records_.u32le(static_cast<std::uint32_t>(records_.size() - start + 4));  // nSizeLast
        EndRecord(start);
    }

    // EMR_HEADER, [MS-EMF] 2.3.4.2, in its 108-byte form.
    void WriteHeader(ByteCursor& out, std::uint32_t totalBytes) const {
        const RectL bounds = bounds_.Result();
        out.u32le(kEmrHeader);                                       //   0 iType
        out.u32le(kHeaderBytes);                                     //   4 nSize
        out.i32le(bounds.left);                                      //   8 rclBounds
        out.i32le(bounds.top);
        out.i32le(bounds.right);
        out.i32le(bounds.bottom);
        out.i32le(FrameEdge(bounds.left, screen_.horzSize, screen_.horzRes));     //  24 rclFrame
        out.i32le(FrameEdge(bounds.top, screen_.vertSize, screen_.vertRes));
        out.i32le(FrameEdge(bounds.right, screen_.horzSize, screen_.horzRes));
        out.i32le(FrameEdge(bounds.bottom, screen_.vertSize, screen_.vertRes));
        out.u32le(kEmfSignature);                                    //  40 dSignature
        out.u32le(kEmfVersion);                                      //  44 nVersion
        out.u32le(totalBytes);                                       //  48 nBytes
        out.u32le(recordCount_ + 1);                                 //  52 nRecords, the header included
        out.u16le(static_cast<std::uint16_t>(handles_.End()));      //  56 nHandles
        out.u16le(0);                                                //  58 sReserved
        out.u32le(0);                                                //  60 nDescription
        out.u32le(0);                                                //  64 offDescription
        out.u32le(0);                                                //  68 nPalEntries
        out.i32le(screen_.horzRes);                                  //  72 szlDevice
        out.i32le(screen_.vertRes);
        out.i32le(screen_.horzSize);                                 //  80 szlMillimeters
        out.i32le(screen_.vertSize);
        out.u32le(0);                                                //  88 cbPixelFormat
        out.u32le(0);                                                //  92 offPixelFormat
        out.u32le(0);                                                //  96 bOpenGL
        out.i32le(1000 * screen_.horzSize);                          // 100 szlMicrometers
        out.i32le(1000 * screen_.vertSize);
    }

    ScreenMetrics screen_;
    BrushTable brushes_;
    ObjectSlots handles_{1};
    ByteWriter records_;  // the header's bytes, then every record
    std::uint32_t recordCount_ = 0;
    BoundsAccumulator bounds_;
    PointL origin_{0, 0};    // the window origin
    PointL position_{0, 0};  // the current position
    bool closed_ = false;
};

}  // namespace

std::unique_ptr<EnhMetafileRecorder> CreateEnhMetafileRecorder() {
    try {
        return std::make_unique<PortableEnhMetafileRecorder>(GetScreenMetrics());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace ecc200::platform

// A Windows metafile recorder ([MS-WMF]) that writes what GDI's
// CreateMetaFileA(NULL) recording writes for the same calls: the same
// records in the same order, the same object slots and the same header.
//
// How GDI records this drawing:
// - a brush is written (META_CREATEBRUSHINDIRECT) when it is first
//   selected, into the lowest free object slot; one that is never selected
//   leaves no trace, not even its deletion;
// - FillRect selects its brush, blits the pattern and re-selects the brush
//   that was selected before, which on a fresh recording is the stock white
//   brush. A metafile cannot refer to stock objects, so the first time it is
//   re-selected a solid 00FFFFFF brush is written for it into the next free
//   slot, and from then on only that slot is selected; it is never deleted;
// - deleting a recorded brush writes META_DELETEOBJECT and frees its slot;
// - a brush that does not exist cannot be selected, so FillRect with one
//   writes the blit alone, painting with the brush already selected;
// - the default pen is never written;
// - every coordinate and extent keeps only its low 16 bits.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <new>

#include "platform/portable/brush_table.h"
#include "platform/drawing_surface.h"
#include "platform/portable/object_slots.h"
#include "platform/wmf_records.h"
#include "platform/wrapping_int32.h"

namespace ecc200::platform {
namespace {

constexpr std::uint16_t kMapModeText = 1;           // MM_TEXT
constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr ColourRef kStockWhite = 0x00FFFFFF;
// What FillRect with a live brush writes once its brushes are recorded:
// META_SELECTOBJECT (4 words), META_PATBLT (9 words), META_SELECTOBJECT.
constexpr std::size_t kFillBytes = 2 * (4 + 9 + 4);
constexpr std::size_t kEofBytes = 6;

std::uint16_t LowWord(std::uint32_t v) { return static_cast<std::uint16_t>(v); }
std::uint16_t HighWord(std::uint32_t v) { return static_cast<std::uint16_t>(v >> 16); }

class PortableMetafileRecorder final : public MetafileRecorder {
public:
    Brush CreateSolidBrush(ColourRef colour) override { return brushes_.Create(colour); }

    void DeleteBrush(Brush brush) override {
        if (!brushes_.Remove(brush) || closed_) return;
        if (const std::optional<std::uint32_t> slot = slots_.Release(brush.value)) {
            records_.Record(metafile::kMetaDeleteObject, {static_cast<std::uint16_t>(*slot)});
        }
    }

    // A brush that does not exist cannot be selected: only the blit is
    // written, with the brush the recording holds.
    void FillRect(const PixelRect& rect, Brush brush) override {
        if (closed_) return;
        const std::optional<ColourRef> colour = brushes_.Find(brush);
        if (colour) SelectSlot(SlotOf(brush.value, *colour));
        // META_PATBLT, [MS-WMF] 2.3.3.12: rop, then height, width, y, x.
        records_.Record(metafile::kMetaPatBlt, {LowWord(kPatCopy), HighWord(kPatCopy), Low16(WrappingSub(rect.bottom, rect.top)),
                                       Low16(WrappingSub(rect.right, rect.left)), Low16(rect.top), Low16(rect.left)});
        if (!colour) return;
        if (!stockWhiteSlot_) {
            records_.CreateBrushIndirect(kStockWhite);
            stockWhiteSlot_ = slots_.Allocate();
        }
        SelectSlot(*stockWhiteSlot_);
    }

    // The records of FillRect one after the other, in a buffer made large
    // enough for all of them first.
    void FillRects(const PixelRect* rects, std::size_t count, Brush brush) override {
        if (closed_) return;
        records_.ReserveMore(count * kFillBytes);
        for (std::size_t i = 0; i < count; ++i) FillRect(rects[i], brush);
    }

    void MoveToEx(std::int32_t x, std::int32_t y) override { RecordIfOpen(metafile::kMetaMoveTo, {Low16(y), Low16(x)}); }
    void LineTo(std::int32_t x, std::int32_t y) override { RecordIfOpen(metafile::kMetaLineTo, {Low16(y), Low16(x)}); }
    void SetMapModeText() override { RecordIfOpen(metafile::kMetaSetMapMode, {kMapModeText}); }
    void SetWindowExtEx(std::int32_t width, std::int32_t height) override {
        RecordIfOpen(metafile::kMetaSetWindowExt, {Low16(height), Low16(width)});
    }
    void SetWindowOrgEx(std::int32_t x, std::int32_t y) override {
        RecordIfOpen(metafile::kMetaSetWindowOrg, {Low16(y), Low16(x)});
    }

    std::optional<std::vector<std::uint8_t>> Close() override {
        if (closed_) return std::nullopt;
        closed_ = true;
        const std::uint64_t totalWords = (std::uint64_t{records_.size()} + kEofBytes) / 2;
        if (totalWords > UINT32_MAX || slots_.End() > UINT16_MAX) return std::nullopt;
        return records_.Finish(static_cast<std::uint16_t>(slots_.End()));
    }

private:
    void RecordIfOpen(std::uint16_t function, std::initializer_list<std::uint16_t> parameters) {
        if (!closed_) records_.Record(function, parameters);
    }

    std::uint32_t SlotOf(std::uintptr_t brush, ColourRef colour) {
        if (const std::optional<std::uint32_t> slot = slots_.IndexOf(brush)) return *slot;
        records_.CreateBrushIndirect(colour);
        return slots_.AllocateFor(brush);
    }

    void SelectSlot(std::uint32_t slot) { records_.Record(metafile::kMetaSelectObject, {static_cast<std::uint16_t>(slot)}); }

    BrushTable brushes_;
    ObjectSlots slots_{0};
    std::optional<std::uint32_t> stockWhiteSlot_;
    WmfRecords records_;  // the header's bytes, then every record
    bool closed_ = false;
};

}  // namespace

std::unique_ptr<MetafileRecorder> CreateMetafileRecorder() {
    try {
        return std::make_unique<PortableMetafileRecorder>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace ecc200::platform

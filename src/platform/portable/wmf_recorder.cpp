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
#include <cassert>
#include <cstdint>
#include <initializer_list>
#include <new>

#include "platform/portable/brush_table.h"
#include "platform/drawing_surface.h"
#include "platform/portable/object_slots.h"
#include "platform/byte_writer.h"
#include "platform/metafile_records.h"
#include "platform/wrapping_int32.h"

namespace ecc200::platform {
namespace {

using namespace metafile;  // the record numbers

constexpr std::size_t kHeaderBytes = 2 * kHeaderWords;
constexpr std::uint32_t kRecordHeaderWords = 3;     // rdSize (2 words) and rdFunction
constexpr std::uint16_t kSolidBrushStyle = 0;       // BS_SOLID
constexpr std::uint16_t kMapModeText = 1;           // MM_TEXT
constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr ColourRef kStockWhite = 0x00FFFFFF;
// What FillRect with a live brush writes once its brushes are recorded:
// META_SELECTOBJECT (4 words), META_PATBLT (9 words), META_SELECTOBJECT.
constexpr std::size_t kFillBytes = 2 * (4 + 9 + 4);

// The low 16 bits of a coordinate, as the 16-bit record fields keep it.
std::uint16_t Low16(std::int32_t v) { return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v)); }
std::uint16_t LowWord(std::uint32_t v) { return static_cast<std::uint16_t>(v); }
std::uint16_t HighWord(std::uint32_t v) { return static_cast<std::uint16_t>(v >> 16); }

class PortableMetafileRecorder final : public MetafileRecorder {
public:
    // The header goes first, written at Close into the bytes set aside for
    // it, so the finished metafile is the one buffer the records went into.
    PortableMetafileRecorder() { records_.Extend(kHeaderBytes); }

    Brush CreateSolidBrush(ColourRef colour) override { return brushes_.Create(colour); }

    void DeleteBrush(Brush brush) override {
        if (!brushes_.Remove(brush) || closed_) return;
        if (const std::optional<std::uint32_t> slot = slots_.Release(brush.value)) {
            Record(kMetaDeleteObject, {static_cast<std::uint16_t>(*slot)});
        }
    }

    // A brush that does not exist cannot be selected: only the blit is
    // written, with the brush the recording holds.
    void FillRect(const PixelRect& rect, Brush brush) override {
        if (closed_) return;
        const std::optional<ColourRef> colour = brushes_.Find(brush);
        if (colour) SelectSlot(SlotOf(brush.value, *colour));
        // META_PATBLT, [MS-WMF] 2.3.3.12: rop, then height, width, y, x.
        Record(kMetaPatBlt, {LowWord(kPatCopy), HighWord(kPatCopy), Low16(WrappingSub(rect.bottom, rect.top)),
                             Low16(WrappingSub(rect.right, rect.left)), Low16(rect.top), Low16(rect.left)});
        if (!colour) return;
        if (!stockWhiteSlot_) {
            WriteBrushRecord(kStockWhite);
            stockWhiteSlot_ = slots_.Allocate();
        }
        SelectSlot(*stockWhiteSlot_);
    }

    // The records of FillRect one after the other, in a buffer made large
    // enough for all of them first.
    void FillRects(const PixelRect* rects, std::size_t count, Brush brush) override {
        if (closed_) return;
        const std::size_t needed = records_.size() + count * kFillBytes;
        if (needed > records_.capacity()) records_.Reserve(std::max(needed, 2 * records_.capacity()));
        for (std::size_t i = 0; i < count; ++i) FillRect(rects[i], brush);
    }

    void MoveToEx(std::int32_t x, std::int32_t y) override { RecordIfOpen(kMetaMoveTo, {Low16(y), Low16(x)}); }
    void LineTo(std::int32_t x, std::int32_t y) override { RecordIfOpen(kMetaLineTo, {Low16(y), Low16(x)}); }
    void SetMapModeText() override { RecordIfOpen(kMetaSetMapMode, {kMapModeText}); }
    void SetWindowExtEx(std::int32_t width, std::int32_t height) override {
        RecordIfOpen(kMetaSetWindowExt, {Low16(height), Low16(width)});
    }
    void SetWindowOrgEx(std::int32_t x, std::int32_t y) override { RecordIfOpen(kMetaSetWindowOrg, {Low16(y), Low16(x)}); }

    std::optional<std::vector<std::uint8_t>> Close() override {
        if (closed_) return std::nullopt;
        closed_ = true;
        Record(kMetaEof, {});
        const std::uint64_t totalWords = records_.size() / 2;
        if (totalWords > UINT32_MAX || slots_.End() > UINT16_MAX) return std::nullopt;

        // METAHEADER, [MS-WMF] 2.3.2.2.
        ByteCursor out = records_.At(0);
        out.u16le(kMemoryMetafile);                              //  0 mtType
        out.u16le(kHeaderWords);                                 //  2 mtHeaderSize
        out.u16le(kMetafileVersion);                             //  4 mtVersion
        out.u32le(static_cast<std::uint32_t>(totalWords));       //  6 mtSize, in words
        out.u16le(static_cast<std::uint16_t>(slots_.End()));    // 10 mtNoObjects
        out.u32le(maxRecordWords_);                              // 12 mtMaxRecord, in words
        out.u16le(0);                                            // 16 mtNoParameters
        assert(out.position() == records_.bytes().data() + kHeaderBytes);
        return records_.Take();
    }

private:
    void RecordIfOpen(std::uint16_t function, std::initializer_list<std::uint16_t> parameters) {
        if (!closed_) Record(function, parameters);
    }

    // rdSize in words (the record's own header included), rdFunction, then
    // the 16-bit parameters.
    void Record(std::uint16_t function, std::initializer_list<std::uint16_t> parameters) {
        const auto words = kRecordHeaderWords + static_cast<std::uint32_t>(parameters.size());
        ByteCursor record = records_.Extend(2 * std::size_t{words});
        record.u32le(words);
        record.u16le(function);
        for (std::uint16_t parameter : parameters) record.u16le(parameter);
        maxRecordWords_ = std::max(maxRecordWords_, words);
    }

    // META_CREATEBRUSHINDIRECT with a LogBrush: lbStyle, lbColor (low word
    // first), lbHatch; the brush takes the slot allocated for it.
    void WriteBrushRecord(ColourRef colour) {
        Record(kMetaCreateBrushIndirect, {kSolidBrushStyle, LowWord(colour), HighWord(colour), 0});
    }

    std::uint32_t SlotOf(std::uintptr_t brush, ColourRef colour) {
        if (const std::optional<std::uint32_t> slot = slots_.IndexOf(brush)) return *slot;
        WriteBrushRecord(colour);
        return slots_.AllocateFor(brush);
    }

    void SelectSlot(std::uint32_t slot) { Record(kMetaSelectObject, {static_cast<std::uint16_t>(slot)}); }

    BrushTable brushes_;
    ObjectSlots slots_{0};
    std::optional<std::uint32_t> stockWhiteSlot_;
    ByteWriter records_;  // the header's bytes, then every record
    std::uint32_t maxRecordWords_ = 0;
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

#include "output/seamless_wmf.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <new>

#include "output/module_runs.h"
#include "output/placeable_wmf.h"
#include "output/seamless_frame.h"
#include "output/seamless_picture.h"
#include "platform/byte_writer.h"
#include "platform/metafile_records.h"

namespace ecc200 {
namespace {

using namespace platform::metafile;  // the record numbers

constexpr std::uint16_t kSolidBrushStyle = 0;       // BS_SOLID
constexpr std::uint16_t kNullPenStyle = 5;          // PS_NULL: polygons filled without an outline
constexpr std::uint32_t kFrameColour = 0x000000;    // the default pen's black
constexpr std::uint16_t kCornersPerRect = 4;

std::uint16_t Word(std::int32_t v) { return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v)); }

// The metafile's records in one buffer, the METAHEADER's bytes set aside
// first and written last, when the totals are known.
class WmfRecords {
public:
    WmfRecords() { out_.Extend(2 * kHeaderWords); }

    // rdSize (in words, filled in by End) and rdFunction.
    std::size_t Begin(std::uint16_t function) {
        const std::size_t start = out_.size();
        out_.u32le(0);
        out_.u16le(function);
        return start;
    }
    void End(std::size_t start) {
        const auto words = static_cast<std::uint32_t>((out_.size() - start) / 2);
        out_.PatchU32le(start, words);
        maxRecordWords_ = std::max(maxRecordWords_, words);
    }
    void Word(std::uint16_t v) { out_.u16le(v); }
    void Colour(std::uint32_t colour) { out_.u32le(colour); }  // COLORREF, low word first

    // A record of 16-bit parameters.
    void Simple(std::uint16_t function, std::initializer_list<std::uint16_t> parameters) {
        const std::size_t start = Begin(function);
        for (std::uint16_t p : parameters) out_.u16le(p);
        End(start);
    }

    // META_CREATE* puts the object into the lowest free slot; nothing is
    // deleted before the end, so the slots are taken in order.
    std::uint16_t NextSlot() { return objects_++; }

    // METAHEADER, [MS-WMF] 2.3.2.2, then the finished bytes.
    std::vector<std::uint8_t> Finish() {
        Simple(kMetaEof, {});
        platform::ByteCursor header = out_.At(0);
        header.u16le(kMemoryMetafile);                                   //  0 mtType
        header.u16le(kHeaderWords);                                      //  2 mtHeaderSize
        header.u16le(kMetafileVersion);                                  //  4 mtVersion
        header.u32le(static_cast<std::uint32_t>(out_.size() / 2));       //  6 mtSize, in words
        header.u16le(objects_);                                          // 10 mtNoObjects
        header.u32le(maxRecordWords_);                                   // 12 mtMaxRecord, in words
        header.u16le(0);                                                 // 16 mtNoParameters
        return out_.Take();
    }

private:
    platform::ByteWriter out_;
    std::uint32_t maxRecordWords_ = 0;
    std::uint16_t objects_ = 0;
};

// META_CREATEBRUSHINDIRECT, [MS-WMF] 2.3.4.1: a solid LogBrush.
std::uint16_t CreateBrush(WmfRecords& records, std::uint32_t colour) {
    const std::size_t start = records.Begin(kMetaCreateBrushIndirect);
    records.Word(kSolidBrushStyle);  // lbStyle
    records.Colour(colour);          // lbColor
    records.Word(0);                 // lbHatch
    records.End(start);
    return records.NextSlot();
}

// META_CREATEPENINDIRECT, [MS-WMF] 2.3.4.5: a LogPen.
std::uint16_t CreatePen(WmfRecords& records, std::uint16_t style, std::uint16_t width, std::uint32_t colour) {
    const std::size_t start = records.Begin(kMetaCreatePenIndirect);
    records.Word(style);  // lopnStyle
    records.Word(width);  // lopnWidth.x
    records.Word(0);      // lopnWidth.y, unused
    records.Colour(colour);
    records.End(start);
    return records.NextSlot();
}

// The corners of a rectangle, clockwise from its top left: a polygon whose
// fill, without an outline, covers [left, right) x [top, bottom).
void Corners(WmfRecords& records, const PictureRect& r) {
    for (const auto& [x, y] : {std::pair{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}}) {
        records.Word(Word(x));
        records.Word(Word(y));
    }
}

// META_POLYGON, [MS-WMF] 2.3.3.15.
void Polygon(WmfRecords& records, const PictureRect& r) {
    const std::size_t start = records.Begin(kMetaPolygon);
    records.Word(kCornersPerRect);  // NumberOfPoints
    Corners(records, r);
    records.End(start);
}

// META_POLYPOLYGON, [MS-WMF] 2.3.3.16: the count of polygons, the points of
// each, then all the points. At most 144 x 72 blocks: the count fits.
void PolyPolygon(WmfRecords& records, const std::vector<PictureRect>& rects) {
    const std::size_t start = records.Begin(kMetaPolyPolygon);
    records.Word(static_cast<std::uint16_t>(rects.size()));  // NumberOfPolygons
    for (std::size_t i = 0; i < rects.size(); ++i) records.Word(kCornersPerRect);  // aPointsPerPolygon
    for (const PictureRect& r : rects) Corners(records, r);
    records.End(start);
}

std::vector<std::uint8_t> WriteMetafile(const SymbolMatrix& symbol, const SeamlessPicture& picture) {
    const SymbolPlacement& placement = picture.placement;
    WmfRecords records;
    records.Simple(kMetaSetWindowExt, {Word(placement.height), Word(placement.width)});
    records.Simple(kMetaSetWindowOrg, {0, 0});

    std::uint16_t selectedBrush = CreateBrush(records, picture.backgroundColour);
    records.Simple(kMetaSelectObject, {selectedBrush});
    std::uint16_t selectedPen = CreatePen(records, kNullPenStyle, 0, 0);
    records.Simple(kMetaSelectObject, {selectedPen});
    Polygon(records, {0, 0, placement.width, placement.height});

    std::vector<std::uint16_t> released;  // objects no longer selected
    const std::vector<PictureRect> modules = DarkModuleRects(symbol, placement);
    if (!modules.empty()) {
        released.push_back(selectedBrush);
        selectedBrush = CreateBrush(records, picture.barColour);
        records.Simple(kMetaSelectObject, {selectedBrush});
        PolyPolygon(records, modules);
    }
    const std::vector<PictureRect> frame = FrameRects(placement.width, placement.height, picture.border);
    if (!frame.empty()) {
        released.push_back(selectedBrush);
        selectedBrush = CreateBrush(records, kFrameColour);
        records.Simple(kMetaSelectObject, {selectedBrush});
        // One polygon each: in one polypolygon GDI's ALTERNATE fill would
        // leave out the corners where two of them overlap.
        for (const PictureRect& r : frame) Polygon(records, r);
    }
    // A metafile cannot select a stock object, so the brush and pen still
    // selected stay; the player frees its object table after playing.
    for (const std::uint16_t slot : released) records.Simple(kMetaDeleteObject, {slot});
    return records.Finish();
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SeamlessWmf(const SymbolMatrix& symbol, const SeamlessPicture& picture) {
    if (!IsDrawable(picture)) {
        errno = EINVAL;
        return std::nullopt;
    }
    const SymbolPlacement& placement = picture.placement;
    if (placement.width > kMaxPlaceableExtent || placement.height > kMaxPlaceableExtent) {
        errno = EFBIG;
        return std::nullopt;
    }
    try {
        std::vector<std::uint8_t> file = PlaceableMetafileHeader(placement.width, placement.height, picture.dotsPerInch);
        const std::vector<std::uint8_t> metafile = WriteMetafile(symbol, picture);
        file.insert(file.end(), metafile.begin(), metafile.end());
        return file;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return std::nullopt;
    }
}

}  // namespace ecc200

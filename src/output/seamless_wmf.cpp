#include "output/seamless_wmf.h"

#include <new>

#include "output/placeable_wmf.h"
#include "platform/wmf_records.h"
#include "render/picture_geometry.h"

namespace ecc200 {
namespace {

namespace metafile = platform::metafile;
using platform::Low16;
using platform::WmfRecords;

constexpr std::uint16_t kNullPenStyle = 5;        // PS_NULL: polygons filled without an outline
constexpr std::uint32_t kFrameColour = 0x000000;  // the default pen's black
constexpr std::uint16_t kCornersPerRect = 4;

// Objects go into the lowest free slot; nothing is deleted before the end,
// so the slots are taken in order.
class ObjectCount {
public:
    std::uint16_t Next() { return count_++; }
    std::uint16_t count() const { return count_; }

private:
    std::uint16_t count_ = 0;
};

// META_CREATEPENINDIRECT, [MS-WMF] 2.3.4.5: a LogPen without width.
void CreateNullPen(WmfRecords& records) {
    const std::size_t start = records.Begin(metafile::kMetaCreatePenIndirect);
    records.Word(kNullPenStyle);  // lopnStyle
    records.Word(0);              // lopnWidth.x
    records.Word(0);              // lopnWidth.y, unused
    records.Colour(0);
    records.End(start);
}

// The corners of a rectangle, clockwise from its top left: a polygon whose
// fill, without an outline, covers [left, right) x [top, bottom).
void Corners(WmfRecords& records, const PixelRect& r) {
    for (const auto& [x, y] : {std::pair{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}}) {
        records.Word(Low16(x));
        records.Word(Low16(y));
    }
}

// META_POLYGON, [MS-WMF] 2.3.3.15.
void Polygon(WmfRecords& records, const PixelRect& r) {
    const std::size_t start = records.Begin(metafile::kMetaPolygon);
    records.Word(kCornersPerRect);  // NumberOfPoints
    Corners(records, r);
    records.End(start);
}

// META_POLYPOLYGON, [MS-WMF] 2.3.3.16: the count of polygons, the points of
// each, then all the points. At most 144 x 72 blocks: the count fits.
void PolyPolygon(WmfRecords& records, const std::vector<PixelRect>& rects) {
    const std::size_t start = records.Begin(metafile::kMetaPolyPolygon);
    records.Word(static_cast<std::uint16_t>(rects.size()));  // NumberOfPolygons
    for (std::size_t i = 0; i < rects.size(); ++i) records.Word(kCornersPerRect);  // aPointsPerPolygon
    for (const PixelRect& r : rects) Corners(records, r);
    records.End(start);
}

std::uint16_t SelectNewBrush(WmfRecords& records, ObjectCount& objects, std::uint32_t colour) {
    records.CreateBrushIndirect(colour);
    const std::uint16_t slot = objects.Next();
    records.Record(metafile::kMetaSelectObject, {slot});
    return slot;
}

std::vector<std::uint8_t> WriteMetafile(const PictureGeometry& picture) {
    WmfRecords records;
    ObjectCount objects;
    records.Record(metafile::kMetaSetWindowExt, {Low16(picture.height), Low16(picture.width)});
    records.Record(metafile::kMetaSetWindowOrg, {0, 0});

    std::uint16_t selectedBrush = SelectNewBrush(records, objects, picture.backgroundColour);
    CreateNullPen(records);
    records.Record(metafile::kMetaSelectObject, {objects.Next()});
    Polygon(records, {0, 0, picture.width, picture.height});

    std::vector<std::uint16_t> released;  // objects no longer selected
    const std::vector<PixelRect> modules = picture.ModuleBlocks();
    if (!modules.empty()) {
        released.push_back(selectedBrush);
        selectedBrush = SelectNewBrush(records, objects, picture.barColour);
        PolyPolygon(records, modules);
    }
    const std::vector<PixelRect> frame = picture.FrameRects();
    if (!frame.empty()) {
        released.push_back(selectedBrush);
        selectedBrush = SelectNewBrush(records, objects, kFrameColour);
        // One polygon each: in one polypolygon GDI's ALTERNATE fill would
        // leave out the corners where two of them overlap.
        for (const PixelRect& r : frame) Polygon(records, r);
    }
    // A metafile cannot select a stock object, so the brush and pen still
    // selected stay; the player frees its object table after playing.
    for (const std::uint16_t slot : released) records.Record(metafile::kMetaDeleteObject, {slot});
    return records.Finish(objects.count());
}

}  // namespace

Outcome WriteSeamlessWmf(const PictureGeometry& picture, std::vector<std::uint8_t>& out) {
    if (!picture.Drawable()) return Failed(Failure::InvalidArgument);
    if (picture.width > kMaxPlaceableExtent || picture.height > kMaxPlaceableExtent)
        return Failed(Failure::PictureTooLarge);
    try {
        std::vector<std::uint8_t> file = PlaceableMetafileHeader(picture.width, picture.height, picture.unitsPerInch);
        const std::vector<std::uint8_t> metafile = WriteMetafile(picture);
        file.insert(file.end(), metafile.begin(), metafile.end());
        out = std::move(file);
        return {};
    } catch (const std::bad_alloc&) {
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200

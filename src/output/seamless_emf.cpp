#include "output/seamless_emf.h"

#include <algorithm>
#include <cassert>
#include <new>

#include "platform/emf_records.h"
#include "render/picture_geometry.h"

namespace ecc200 {
namespace {

namespace emf = platform::emf;
namespace metafile = platform::metafile;
using platform::EmfBounds;

// Stock objects: ENHMETA_STOCK_OBJECT | the GetStockObject index.
constexpr std::uint32_t kStockBlackPen = 0x80000007;    // BLACK_PEN, the default pen
constexpr std::uint32_t kStockNullPen = 0x80000008;     // NULL_PEN: polygons filled without an outline
constexpr std::uint32_t kSolidPenStyle = 0;             // PS_SOLID
constexpr std::uint32_t kFrameColour = 0x000000;        // the default pen's black
constexpr std::uint32_t kMapModeAnisotropic = 8;        // MM_ANISOTROPIC

// The frame is drawn in quarter pixels, each line a quarter pixel right of
// and below the pixels it paints: x becomes 4x + 1. GDI maps 4x + 1
// through the window 4W x 4H onto the viewport W x H and rounds x + 1/4
// back to x, so it paints the very pixels of the default drawing's lines.
// A client that draws vectors centres a pen on its line, and on the pixel
// edge x = 0, where GDI addresses the first column, it clips the outer half
// of the line: at 96 dpi the half pixel left inside rasterises grey.
constexpr std::int32_t kQuarterPixels = 4;    // logical units per pixel while the frame is drawn
constexpr std::int32_t kFrameLineOffset = 1;  // the quarter pixel into the pixels painted
// The frame's pen is 4 units wide, created and selected while a unit is
// still a pixel, the mapping set after it. GDI works a pen's width out in
// pixels when it draws (Wine realises the selected pen again when the
// mapping changes): 4 quarter pixels, one pixel, the default pen's line.
// LibreOffice and Inkscape fix the width when the pen is created: 4
// pixels (3 pt in their PDFs) centred a quarter pixel in, 2.25 pixels of it
// inside the picture, dark at 96 dpi. (Measured: the same pen created after
// the mapping, one pixel there too, left 2 of 3 frames grey at 96 dpi in
// every client; filled rectangles in place of the lines lost their last row
// and column to the clients' clip at the EMF's bounds.)
constexpr std::int32_t kFramePenWidth = kQuarterPixels;
// The widest or tallest framed picture whose 4 x side + 1 fits 32 bits.
constexpr std::int32_t kLargestFramedSide = (INT32_MAX - kFrameLineOffset) / kQuarterPixels;
constexpr std::uint32_t kCornersPerRect = 4;
constexpr std::int32_t kLargestPoint16 = 32767;

// The pixels a filled rectangle paints, inclusive.
EmfBounds PaintedBy(const PixelRect& r) { return {r.left, r.top, r.right - 1, r.bottom - 1}; }

// The records, the bounds of what they paint, the objects created and the
// width of their points.
struct SeamlessRecords {
    platform::EmfRecords out;
    platform::EmfBoundsUnion bounds;
    std::uint32_t handles = 0;  // object handles from 1, in order; nothing is deleted before the end
    bool points16;

    std::uint32_t NextHandle() { return ++handles; }
    void Rect(const EmfBounds& b) {
        out.i32(b.left);
        out.i32(b.top);
        out.i32(b.right);
        out.i32(b.bottom);
    }
    // A point as POINTS (two 16-bit values) or POINTL.
    void Point(std::int32_t x, std::int32_t y) {
        if (points16) {
            out.u16(static_cast<std::uint16_t>(x));
            out.u16(static_cast<std::uint16_t>(y));
        } else {
            out.i32(x);
            out.i32(y);
        }
    }
    void AddBounds(const EmfBounds& b) { bounds.Add(b.left, b.top, b.right, b.bottom); }
};

// EMR_CREATEBRUSHINDIRECT, [MS-EMF] 2.3.7.1: a solid LogBrush32.
std::uint32_t CreateBrush(SeamlessRecords& records, std::uint32_t colour) {
    const std::uint32_t handle = records.NextHandle();
    records.out.CreateBrushIndirect(handle, colour);
    return handle;
}

// EMR_CREATEPEN, [MS-EMF] 2.3.7.7: ihPen, then a LogPen (style, width as a
// POINTL whose y is unused, colour).
std::uint32_t CreateFramePen(SeamlessRecords& records) {
    const std::uint32_t handle = records.NextHandle();
    records.out.Simple(metafile::kEmrCreatePen, {static_cast<std::int32_t>(handle), static_cast<std::int32_t>(kSolidPenStyle),
                                   kFramePenWidth, 0, static_cast<std::int32_t>(kFrameColour)});
    return handle;
}

// The corners of a rectangle, clockwise from its top left: a polygon whose
// fill, without an outline, covers [left, right) x [top, bottom).
void Corners(SeamlessRecords& records, const PixelRect& r) {
    records.Point(r.left, r.top);
    records.Point(r.right, r.top);
    records.Point(r.right, r.bottom);
    records.Point(r.left, r.bottom);
}

// EMR_POLYGON16 / EMR_POLYGON, [MS-EMF] 2.3.5.22 / 2.3.5.21: the record's
// bounds, the count of points, the points.
void Polygon(SeamlessRecords& records, const PixelRect& r) {
    const std::size_t start = records.out.Begin(records.points16 ? metafile::kEmrPolygon16 : metafile::kEmrPolygon);
    records.Rect(PaintedBy(r));
    records.out.u32(kCornersPerRect);  // cpts
    Corners(records, r);
    records.out.End(start);
    records.AddBounds(PaintedBy(r));
}

// EMR_POLYPOLYGON16 / EMR_POLYPOLYGON, [MS-EMF] 2.3.5.28 / 2.3.5.27.
void PolyPolygon(SeamlessRecords& records, const std::vector<PixelRect>& rects) {
    platform::EmfBoundsUnion union_;
    for (const PixelRect& r : rects) union_.Add(r.left, r.top, r.right - 1, r.bottom - 1);
    const EmfBounds painted = union_.Result();
    const std::size_t start = records.out.Begin(records.points16 ? metafile::kEmrPolyPolygon16 : metafile::kEmrPolyPolygon);
    records.Rect(painted);
    records.out.u32(static_cast<std::uint32_t>(rects.size()));                    // nPolys
    records.out.u32(static_cast<std::uint32_t>(kCornersPerRect * rects.size()));  // cpts
    for (std::size_t i = 0; i < rects.size(); ++i) records.out.u32(kCornersPerRect);  // aPolyCounts
    for (const PixelRect& r : rects) Corners(records, r);
    records.out.End(start);
    records.AddBounds(painted);
}

// The logical coordinate, in quarter pixels, of a frame line on pixel x.
std::int32_t QuarterPixel(std::int32_t x) { return kQuarterPixels * x + kFrameLineOffset; }

// EMR_SETMAPMODE, EMR_SETWINDOWEXTEX, EMR_SETVIEWPORTEXTEX (state records,
// [MS-EMF] 2.3.11): from here on a logical unit is a quarter pixel. The
// window's and viewport's origins stay at 0.
void MapQuarterPixels(SeamlessRecords& records, std::int32_t width, std::int32_t height) {
    records.out.Simple(metafile::kEmrSetMapMode, {static_cast<std::int32_t>(kMapModeAnisotropic)});
    records.out.Simple(metafile::kEmrSetWindowExtEx, {kQuarterPixels * width, kQuarterPixels * height});
    records.out.Simple(metafile::kEmrSetViewportExtEx, {width, height});
}

// A frame line as EMR_MOVETOEX and EMR_LINETO ([MS-EMF] 2.3.11, 2.3.5) in
// quarter pixels; its end points, in pixels, bound it.
void FrameLineRecords(SeamlessRecords& records, const FrameLine& l) {
    records.out.Simple(metafile::kEmrMoveToEx, {QuarterPixel(l.x1), QuarterPixel(l.y1)});
    records.out.Simple(metafile::kEmrLineTo, {QuarterPixel(l.x2), QuarterPixel(l.y2)});
    records.AddBounds({std::min(l.x1, l.x2), std::min(l.y1, l.y2), std::max(l.x1, l.x2), std::max(l.y1, l.y2)});
}

// Bytes of the records besides the frame's lines, at most: the header, the
// mapping, three objects with their selections and deletions, the two
// polygon records and EOF come to less than 1 KB; each block of modules
// takes 4 bytes of count and 4 points.
constexpr std::uint64_t kFixedBytesBound = 1024;  // the frame's three mapping records too
constexpr std::uint64_t kBlockBytesBound = 4 + 4 * 8;
constexpr std::uint64_t kLineBytes = 16 + 16;  // EMR_MOVETOEX and EMR_LINETO

std::vector<std::uint8_t> WriteMetafile(const PictureGeometry& picture, const std::vector<PixelRect>& modules,
                                        std::uint64_t boundBytes) {
    SeamlessRecords records{{}, {}, 0, picture.width <= kLargestPoint16 && picture.height <= kLargestPoint16};
    records.out.Reserve(static_cast<std::size_t>(boundBytes));
    records.out.Simple(metafile::kEmrSetMapMode, {static_cast<std::int32_t>(emf::kMapModeText)});
    records.out.Simple(metafile::kEmrSetWindowExtEx, {picture.width, picture.height});
    records.out.Simple(metafile::kEmrSetWindowOrgEx, {0, 0});

    std::vector<std::uint32_t> created{CreateBrush(records, picture.backgroundColour)};
    records.out.SelectObject(created.back());
    records.out.SelectObject(kStockNullPen);
    Polygon(records, {0, 0, picture.width, picture.height});
    if (!modules.empty()) {
        created.push_back(CreateBrush(records, picture.barColour));
        records.out.SelectObject(created.back());
        PolyPolygon(records, modules);
    }
    if (picture.border != BorderStyle::None) {
        created.push_back(CreateFramePen(records));
        records.out.SelectObject(created.back());
        MapQuarterPixels(records, picture.width, picture.height);  // after the pen: see kFramePenWidth
        picture.ForEachFrameLine([&records](const FrameLine& line) { FrameLineRecords(records, line); });
    }
    // Objects are deleted once nothing holds them: the stock ones go back in.
    records.out.SelectObject(emf::kStockWhiteBrush);
    records.out.SelectObject(kStockBlackPen);
    for (auto handle = created.rbegin(); handle != created.rend(); ++handle) records.out.DeleteObject(*handle);
    return records.out.Finish(records.bounds.Result(), platform::ScreenAt(picture.unitsPerInch),
                              static_cast<std::uint16_t>(records.handles + 1));  // nHandles: index 0 reserved
}

}  // namespace

Outcome WriteSeamlessEmf(const PictureGeometry& picture, std::vector<std::uint8_t>& out) {
    if (!picture.Drawable()) return Failed(Failure::InvalidArgument);
    // 4 x side + 1 passes 32 bits.
    if (picture.border != BorderStyle::None && std::max(picture.width, picture.height) > kLargestFramedSide)
        return Failed(Failure::PictureTooLarge);
    try {
        const std::vector<PixelRect> modules = picture.ModuleBlocks();
        const std::uint64_t boundBytes =
            kFixedBytesBound + kBlockBytesBound * modules.size() + kLineBytes * picture.FrameLineCount();
        if (boundBytes > UINT32_MAX) return Failed(Failure::PictureTooLarge);  // nBytes is 32 bits
        out = WriteMetafile(picture, modules, boundBytes);
        assert(out.size() <= boundBytes);
        return {};
    } catch (const std::bad_alloc&) {
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200

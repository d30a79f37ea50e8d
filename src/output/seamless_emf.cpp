#include "output/seamless_emf.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <new>

#include "output/module_runs.h"
#include "output/seamless_frame.h"
#include "output/seamless_picture.h"
#include "platform/byte_writer.h"
#include "platform/metafile_records.h"
#include "platform/wrapping_int32.h"

namespace ecc200 {
namespace {

using namespace platform::metafile;  // the record numbers

constexpr std::size_t kHeaderBytes = 108;  // EMR_HEADER without description or pixel format
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmfVersion = 0x00010000;
// Stock objects: ENHMETA_STOCK_OBJECT | the GetStockObject index.
constexpr std::uint32_t kStockWhiteBrush = 0x80000000;  // WHITE_BRUSH, selected in a fresh context
constexpr std::uint32_t kStockBlackPen = 0x80000007;    // BLACK_PEN, the default pen
constexpr std::uint32_t kStockNullPen = 0x80000008;     // NULL_PEN: polygons filled without an outline
constexpr std::uint32_t kSolidBrushStyle = 0;           // BS_SOLID
constexpr std::uint32_t kSolidPenStyle = 0;             // PS_SOLID
constexpr std::uint32_t kFrameColour = 0x000000;        // the default pen's black
constexpr std::uint32_t kMapModeText = 1;               // MM_TEXT
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
constexpr std::uint32_t kEofPaletteOffset = 16;         // just past nPalEntries and offPalEntries
constexpr std::uint32_t kCornersPerRect = 4;
constexpr std::int32_t kLargestPoint16 = 32767;

// The reference device: the 1024 x 768 screen that GDI (and the portable
// screen) reports, its size in millimetres round(pixels x 25.4 / dpi).
constexpr std::int32_t kScreenWidthPixels = 1024;
constexpr std::int32_t kScreenHeightPixels = 768;

std::int32_t ScreenMillimetres(std::int32_t pixels, std::int32_t dpi) {
    const std::int64_t tenthsDpi = 10 * std::int64_t{dpi};
    return static_cast<std::int32_t>((std::int64_t{pixels} * 254 + tenthsDpi / 2) / tenthsDpi);
}

// One edge of rclFrame in 0.01 mm: the product wraps in 32 bits as GDI's
// does, the quotient truncates toward zero.
std::int32_t FrameEdge(std::int32_t bound, std::int32_t millimetres, std::int32_t pixels) {
    return platform::WrappingMul(platform::WrappingMul(bound, 100), millimetres) / pixels;
}

// An inclusive rectangle of device pixels, as rclBounds holds them.
struct Bounds {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    void Add(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
        left = std::min({left, x0, x1});
        top = std::min({top, y0, y1});
        right = std::max({right, x0, x1});
        bottom = std::max({bottom, y0, y1});
    }
};

// The pixels a filled rectangle paints, inclusive.
Bounds PaintedBy(const PictureRect& r) { return {r.left, r.top, r.right - 1, r.bottom - 1}; }

class EmfRecords {
public:
    EmfRecords(std::size_t expectedBytes, bool points16) : points16_(points16) {
        out_.Reserve(expectedBytes);
        out_.Extend(kHeaderBytes);
    }

    // iType and nSize, filled in by End.
    std::size_t Begin(std::uint32_t type) {
        const std::size_t start = out_.size();
        out_.u32le(type);
        out_.u32le(0);
        ++records_;
        return start;
    }
    void End(std::size_t start) { out_.PatchU32le(start + 4, static_cast<std::uint32_t>(out_.size() - start)); }
    void U32(std::uint32_t v) { out_.u32le(v); }
    void I32(std::int32_t v) { out_.i32le(v); }
    void Rect(const Bounds& b) {
        I32(b.left);
        I32(b.top);
        I32(b.right);
        I32(b.bottom);
    }
    // A point as POINTS (two 16-bit values) or POINTL.
    void Point(std::int32_t x, std::int32_t y) {
        if (points16_) {
            out_.u16le(static_cast<std::uint16_t>(x));
            out_.u16le(static_cast<std::uint16_t>(y));
        } else {
            I32(x);
            I32(y);
        }
    }
    bool Points16() const { return points16_; }

    void Simple(std::uint32_t type, std::initializer_list<std::int32_t> fields) {
        const std::size_t start = Begin(type);
        for (const std::int32_t field : fields) I32(field);
        End(start);
    }
    void Select(std::uint32_t handle) { Simple(kEmrSelectObject, {static_cast<std::int32_t>(handle)}); }
    void Delete(std::uint32_t handle) { Simple(kEmrDeleteObject, {static_cast<std::int32_t>(handle)}); }

    // Object handles from 1, in order; nothing is deleted before the end.
    std::uint32_t NextHandle() { return ++handles_; }

    // rclBounds holds device pixels, whatever the mapping.
    void AddBounds(const Bounds& b) { bounds_.Add(b.left, b.top, b.right, b.bottom); }

    std::vector<std::uint8_t> Finish(std::int32_t dotsPerInch) {
        const std::size_t start = Begin(kEmrEof);
        U32(0);                  // nPalEntries
        U32(kEofPaletteOffset);  // offPalEntries
        U32(20);                 // nSizeLast: this record's size
        End(start);
        assert(out_.size() - start == 20);
        platform::ByteCursor header = out_.At(0);
        WriteHeader(header, dotsPerInch);
        return out_.Take();
    }

private:
    // EMR_HEADER, [MS-EMF] 2.3.4.2, in its 108-byte form.
    void WriteHeader(platform::ByteCursor& out, std::int32_t dpi) const {
        const std::int32_t mmX = ScreenMillimetres(kScreenWidthPixels, dpi);
        const std::int32_t mmY = ScreenMillimetres(kScreenHeightPixels, dpi);
        out.u32le(kEmrHeader);                                           //   0 iType
        out.u32le(kHeaderBytes);                                         //   4 nSize
        out.i32le(bounds_.left);                                         //   8 rclBounds
        out.i32le(bounds_.top);
        out.i32le(bounds_.right);
        out.i32le(bounds_.bottom);
        out.i32le(FrameEdge(bounds_.left, mmX, kScreenWidthPixels));     //  24 rclFrame
        out.i32le(FrameEdge(bounds_.top, mmY, kScreenHeightPixels));
        out.i32le(FrameEdge(bounds_.right, mmX, kScreenWidthPixels));
        out.i32le(FrameEdge(bounds_.bottom, mmY, kScreenHeightPixels));
        out.u32le(kEmfSignature);                                        //  40 dSignature
        out.u32le(kEmfVersion);                                          //  44 nVersion
        out.u32le(static_cast<std::uint32_t>(out_.size()));             //  48 nBytes
        out.u32le(records_ + 1);                                         //  52 nRecords, the header included
        out.u16le(static_cast<std::uint16_t>(handles_ + 1));             //  56 nHandles, index 0 reserved
        out.u16le(0);                                                    //  58 sReserved
        out.u32le(0);                                                    //  60 nDescription
        out.u32le(0);                                                    //  64 offDescription
        out.u32le(0);                                                    //  68 nPalEntries
        out.i32le(kScreenWidthPixels);                                   //  72 szlDevice
        out.i32le(kScreenHeightPixels);
        out.i32le(mmX);                                                  //  80 szlMillimeters
        out.i32le(mmY);
        out.u32le(0);                                                    //  88 cbPixelFormat
        out.u32le(0);                                                    //  92 offPixelFormat
        out.u32le(0);                                                    //  96 bOpenGL
        out.i32le(1000 * mmX);                                           // 100 szlMicrometers
        out.i32le(1000 * mmY);
    }

    platform::ByteWriter out_;
    bool points16_;
    std::uint32_t records_ = 0;
    std::uint32_t handles_ = 0;
    Bounds bounds_{0, 0, -1, -1};
};

// EMR_CREATEBRUSHINDIRECT, [MS-EMF] 2.3.7.1: a solid LogBrush32.
std::uint32_t CreateBrush(EmfRecords& records, std::uint32_t colour) {
    const std::uint32_t handle = records.NextHandle();
    records.Simple(kEmrCreateBrushIndirect, {static_cast<std::int32_t>(handle), static_cast<std::int32_t>(kSolidBrushStyle),
                                             static_cast<std::int32_t>(colour), 0});
    return handle;
}

// EMR_CREATEPEN, [MS-EMF] 2.3.7.7: ihPen, then a LogPen (style, width as a
// POINTL whose y is unused, colour).
std::uint32_t CreateFramePen(EmfRecords& records) {
    const std::uint32_t handle = records.NextHandle();
    records.Simple(kEmrCreatePen, {static_cast<std::int32_t>(handle), static_cast<std::int32_t>(kSolidPenStyle),
                                   kFramePenWidth, 0, static_cast<std::int32_t>(kFrameColour)});
    return handle;
}

// The corners of a rectangle, clockwise from its top left: a polygon whose
// fill, without an outline, covers [left, right) x [top, bottom).
void Corners(EmfRecords& records, const PictureRect& r) {
    records.Point(r.left, r.top);
    records.Point(r.right, r.top);
    records.Point(r.right, r.bottom);
    records.Point(r.left, r.bottom);
}

// EMR_POLYGON16 / EMR_POLYGON, [MS-EMF] 2.3.5.22 / 2.3.5.21: the record's
// bounds, the count of points, the points.
void Polygon(EmfRecords& records, const PictureRect& r) {
    const std::size_t start = records.Begin(records.Points16() ? kEmrPolygon16 : kEmrPolygon);
    records.Rect(PaintedBy(r));
    records.U32(kCornersPerRect);  // cpts
    Corners(records, r);
    records.End(start);
    records.AddBounds(PaintedBy(r));
}

// EMR_POLYPOLYGON16 / EMR_POLYPOLYGON, [MS-EMF] 2.3.5.28 / 2.3.5.27.
void PolyPolygon(EmfRecords& records, const std::vector<PictureRect>& rects) {
    Bounds painted = PaintedBy(rects.front());
    for (const PictureRect& r : rects) painted.Add(r.left, r.top, r.right - 1, r.bottom - 1);
    const std::size_t start = records.Begin(records.Points16() ? kEmrPolyPolygon16 : kEmrPolyPolygon);
    records.Rect(painted);
    records.U32(static_cast<std::uint32_t>(rects.size()));                    // nPolys
    records.U32(static_cast<std::uint32_t>(kCornersPerRect * rects.size()));  // cpts
    for (std::size_t i = 0; i < rects.size(); ++i) records.U32(kCornersPerRect);  // aPolyCounts
    for (const PictureRect& r : rects) Corners(records, r);
    records.End(start);
    records.AddBounds(painted);
}

// The logical coordinate, in quarter pixels, of a frame line on pixel x.
std::int32_t QuarterPixel(std::int32_t x) { return kQuarterPixels * x + kFrameLineOffset; }

// EMR_SETMAPMODE, EMR_SETWINDOWEXTEX, EMR_SETVIEWPORTEXTEX (state records,
// [MS-EMF] 2.3.11): from here on a logical unit is a quarter pixel. The
// window's and viewport's origins stay at 0.
void MapQuarterPixels(EmfRecords& records, std::int32_t width, std::int32_t height) {
    records.Simple(kEmrSetMapMode, {static_cast<std::int32_t>(kMapModeAnisotropic)});
    records.Simple(kEmrSetWindowExtEx, {kQuarterPixels * width, kQuarterPixels * height});
    records.Simple(kEmrSetViewportExtEx, {width, height});
}

// Each line of DrawBorder as EMR_MOVETOEX and EMR_LINETO ([MS-EMF] 2.3.11,
// 2.3.5) in quarter pixels.
class EmfFrameLines final : public FrameLineSink {
public:
    explicit EmfFrameLines(EmfRecords& records) : records_(records) {}
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
        records_.Simple(kEmrMoveToEx, {QuarterPixel(x1), QuarterPixel(y1)});
        records_.Simple(kEmrLineTo, {QuarterPixel(x2), QuarterPixel(y2)});
        // A one-pixel line's end points, in pixels, bound it.
        records_.AddBounds({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
    }

private:
    EmfRecords& records_;
};

// Bytes of the records besides the frame's lines, at most: the header, the
// mapping, three objects with their selections and deletions, the two
// polygon records and EOF come to less than 1 KB; each block of modules
// takes 4 bytes of count and 4 points.
constexpr std::uint64_t kFixedBytesBound = 1024;  // the frame's three mapping records too
constexpr std::uint64_t kBlockBytesBound = 4 + 4 * 8;
constexpr std::uint64_t kLineBytes = 16 + 16;  // EMR_MOVETOEX and EMR_LINETO

std::vector<std::uint8_t> WriteMetafile(const std::vector<PictureRect>& modules, const SeamlessPicture& picture,
                                        std::uint64_t boundBytes) {
    const SymbolPlacement& placement = picture.placement;
    const bool points16 = placement.width <= kLargestPoint16 && placement.height <= kLargestPoint16;
    EmfRecords records(static_cast<std::size_t>(boundBytes), points16);
    records.Simple(kEmrSetMapMode, {static_cast<std::int32_t>(kMapModeText)});
    records.Simple(kEmrSetWindowExtEx, {placement.width, placement.height});
    records.Simple(kEmrSetWindowOrgEx, {0, 0});

    std::vector<std::uint32_t> created{CreateBrush(records, picture.backgroundColour)};
    records.Select(created.back());
    records.Select(kStockNullPen);
    Polygon(records, {0, 0, placement.width, placement.height});
    if (!modules.empty()) {
        created.push_back(CreateBrush(records, picture.barColour));
        records.Select(created.back());
        PolyPolygon(records, modules);
    }
    const bool framed = picture.border != BorderStyle::None;
    if (framed) {
        created.push_back(CreateFramePen(records));
        records.Select(created.back());
        MapQuarterPixels(records, placement.width, placement.height);  // after the pen: see kFramePenWidth
        EmfFrameLines lines(records);
        DrawFrameLines(lines, placement.width, placement.height, picture.border);
    }
    // Objects are deleted once nothing holds them: the stock ones go back in.
    records.Select(kStockWhiteBrush);
    records.Select(kStockBlackPen);
    for (auto handle = created.rbegin(); handle != created.rend(); ++handle) records.Delete(*handle);
    return records.Finish(picture.dotsPerInch);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SeamlessEmf(const SymbolMatrix& symbol, const SeamlessPicture& picture) {
    if (!IsDrawable(picture)) {
        errno = EINVAL;
        return std::nullopt;
    }
    try {
        const SymbolPlacement& placement = picture.placement;
        if (picture.border != BorderStyle::None &&
            std::max(placement.width, placement.height) > kLargestFramedSide) {  // 4 x side + 1 passes 32 bits
            errno = EFBIG;
            return std::nullopt;
        }
        const std::vector<PictureRect> modules = DarkModuleRects(symbol, placement);
        const std::uint64_t boundBytes = kFixedBytesBound + kBlockBytesBound * modules.size() +
                                         kLineBytes * FrameLineCount(placement.width, placement.height, picture.border);
        if (boundBytes > UINT32_MAX) {  // nBytes is 32 bits
            errno = EFBIG;
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes = WriteMetafile(modules, picture, boundBytes);
        assert(bytes.size() <= boundBytes);
        return bytes;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return std::nullopt;
    }
}

}  // namespace ecc200

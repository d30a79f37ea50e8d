#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "le_bytes.h"
#include "platform/drawing_surface.h"
#include "platform/portable/portable_screen.h"

namespace ecc200::platform {
namespace {

using test::Hex;
using test::I32At;
using test::U16At;
using test::U32At;

constexpr ColourRef kWhite = 0x00FFFFFF;
constexpr ColourRef kBlack = 0x00000000;

// Record types of [MS-EMF].
constexpr std::uint32_t kHeader = 1, kSetWindowExtEx = 9, kSetWindowOrgEx = 10, kEof = 14, kSetMapMode = 17,
                        kMoveToEx = 27, kSelectObject = 37, kCreateBrushIndirect = 39, kDeleteObject = 40,
                        kLineTo = 54, kBitBlt = 76;

struct Rect {
    std::int32_t left, top, right, bottom;
    bool operator==(const Rect& o) const { return left == o.left && top == o.top && right == o.right && bottom == o.bottom; }
};

std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

Rect RectAt(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return {I32At(b, offset), I32At(b, offset + 4), I32At(b, offset + 8), I32At(b, offset + 12)};
}

struct Record {
    std::uint32_t type;
    std::uint32_t size;
    std::size_t offset;
};

// Walks the records by their nSize fields; every byte must belong to one.
std::vector<Record> Records(const std::vector<std::uint8_t>& bits) {
    std::vector<Record> records;
    std::size_t offset = 0;
    while (offset + 8 <= bits.size()) {
        const Record r{U32At(bits, offset), U32At(bits, offset + 4), offset};
        records.push_back(r);
        if (r.size < 8) break;
        offset += r.size;
    }
    EXPECT_EQ(offset, bits.size());
    return records;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> TypesAndSizes(const std::vector<std::uint8_t>& bits) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (const Record& r : Records(bits)) out.emplace_back(r.type, r.size);
    return out;
}

std::vector<std::uint8_t> Bits(EnhMetafileRecorder& recorder) {
    std::unique_ptr<EnhMetafile> metafile = recorder.Close();
    EXPECT_NE(metafile, nullptr);
    return metafile ? metafile->GetBits() : std::vector<std::uint8_t>{};
}

class EmfRecorderTest : public ::testing::Test {
protected:
    void SetUp() override { SetPortableScreenDpi(96); }
    void TearDown() override { SetPortableScreenDpi(kDefaultScreenDpi); }
};

// The setup every output makes, then `draw`, on a 500 x 300 window.
template <typename Draw>
std::vector<std::uint8_t> Record500x300(Draw draw) {
    std::unique_ptr<EnhMetafileRecorder> recorder = CreateEnhMetafileRecorder();
    recorder->SetMapModeText();
    recorder->SetWindowExtEx(500, 300);
    recorder->SetWindowOrgEx(0, 0);
    draw(*recorder);
    return Bits(*recorder);
}

// The symbol drawing's sequence: brushes made bar first, the background
// filled, `modules` filled, the solid frame if asked, brushes deleted.
std::vector<std::uint8_t> RecordPicture(const std::vector<PixelRect>& modules, bool frame) {
    return Record500x300([&](EnhMetafileRecorder& r) {
        const Brush bar = r.CreateSolidBrush(kBlack);
        const Brush background = r.CreateSolidBrush(kWhite);
        r.FillRect({0, 0, 500, 300}, background);
        for (const PixelRect& module : modules) r.FillRect(module, bar);
        if (frame) {
            r.MoveToEx(0, 0);
            r.LineTo(500, 0);
            r.MoveToEx(499, 0);
            r.LineTo(499, 300);
            r.MoveToEx(500, 299);
            r.LineTo(0, 299);
            r.MoveToEx(0, 300);
            r.LineTo(0, 0);
        }
        r.DeleteBrush(bar);
        r.DeleteBrush(background);
    });
}

std::vector<PixelRect> DefaultModules(int count) {
    std::vector<PixelRect> modules;
    for (std::int32_t i = 0; i < count; ++i) modules.push_back({215 + 7 * (i % 10), 115 + 7 * (i / 10), 222 + 7 * (i % 10), 122 + 7 * (i / 10)});
    return modules;
}

TEST_F(EmfRecorderTest, ThreeModulesAndFrameAsGdiRecordsThem) {
    const std::vector<std::uint8_t> bits = RecordPicture(DefaultModules(3), true);
    ASSERT_EQ(bits.size(), 868u);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected{
        {kHeader, 108},     {kSetMapMode, 12},    {kSetWindowExtEx, 16}, {kSetWindowOrgEx, 16},
        {kCreateBrushIndirect, 24}, {kSelectObject, 12}, {kBitBlt, 100}, {kSelectObject, 12},
        {kCreateBrushIndirect, 24},
        {kSelectObject, 12}, {kBitBlt, 100},      {kSelectObject, 12},
        {kSelectObject, 12}, {kBitBlt, 100},      {kSelectObject, 12},
        {kSelectObject, 12}, {kBitBlt, 100},      {kSelectObject, 12},
        {kMoveToEx, 16},    {kLineTo, 16},        {kMoveToEx, 16},       {kLineTo, 16},
        {kMoveToEx, 16},    {kLineTo, 16},        {kMoveToEx, 16},       {kLineTo, 16},
        {kDeleteObject, 12}, {kDeleteObject, 12}, {kEof, 20}};
    EXPECT_EQ(TypesAndSizes(bits), expected);
    EXPECT_EQ(U32At(bits, 48), 868u);  // nBytes
    EXPECT_EQ(U32At(bits, 52), 29u);   // nRecords
    EXPECT_EQ(U16At(bits, 56), 3);     // nHandles
    EXPECT_EQ(RectAt(bits, 8), (Rect{0, 0, 500, 300}));
    EXPECT_EQ(RectAt(bits, 24), (Rect{0, 0, 13232, 7929}));

    const std::vector<Record> records = Records(bits);
    // The records' own fields, in file order.
    EXPECT_EQ(U32At(bits, records[1].offset + 8), 1u);                   // iMode MM_TEXT
    EXPECT_EQ(I32At(bits, records[2].offset + 8), 500);                   // cx
    EXPECT_EQ(I32At(bits, records[2].offset + 12), 300);                  // cy
    EXPECT_EQ(std::vector<std::uint8_t>(bits.begin() + static_cast<std::ptrdiff_t>(records[4].offset), bits.begin() + static_cast<std::ptrdiff_t>(records[4].offset + 24)),
              Hex("27 00 00 00 18 00 00 00 01 00 00 00 00 00 00 00 FF FF FF 00 00 00 00 00"));
    EXPECT_EQ(U32At(bits, records[5].offset + 8), 1u);
    EXPECT_EQ(RectAt(bits, records[6].offset + 8), (Rect{0, 0, 499, 299}));
    EXPECT_EQ(U32At(bits, records[7].offset + 8), 0x80000000u);
    EXPECT_EQ(U32At(bits, records[8].offset + 8), 2u);   // ihBrush of the bar brush
    EXPECT_EQ(U32At(bits, records[8].offset + 16), 0u);  // black
    for (std::size_t m = 0; m < 3; ++m) {
        EXPECT_EQ(U32At(bits, records[9 + 3 * m].offset + 8), 2u);
        EXPECT_EQ(U32At(bits, records[11 + 3 * m].offset + 8), 0x80000000u);
    }
    EXPECT_EQ(U32At(bits, records[26].offset + 8), 2u);  // DELETEOBJECT bar
    EXPECT_EQ(U32At(bits, records[27].offset + 8), 1u);  // DELETEOBJECT background
    EXPECT_EQ(std::vector<std::uint8_t>(bits.end() - 20, bits.end()),
              Hex("0E 00 00 00 14 00 00 00 00 00 00 00 10 00 00 00 14 00 00 00"));
}

// One pattern blit, field by field: the record's bounds, destination,
// PATCOPY, no source, the identity transform as floats.
TEST_F(EmfRecorderTest, FillRectIsAPatternBitBlt) {
    const std::vector<std::uint8_t> bits = Record500x300([](EnhMetafileRecorder& r) { r.FillRect({215, 115, 222, 122}, r.CreateSolidBrush(kBlack)); });
    const std::vector<Record> records = Records(bits);
    ASSERT_EQ(records.size(), 9u);
    ASSERT_EQ(records[6].type, kBitBlt);
    EXPECT_EQ(std::vector<std::uint8_t>(bits.begin() + static_cast<std::ptrdiff_t>(records[6].offset), bits.begin() + static_cast<std::ptrdiff_t>(records[6].offset + 100)),
              Hex("4C 00 00 00 64 00 00 00"                          // iType 76, nSize 100
                  "D7 00 00 00 73 00 00 00 DD 00 00 00 79 00 00 00"  // rclBounds 215,115,221,121
                  "D7 00 00 00 73 00 00 00 07 00 00 00 07 00 00 00"  // xDest, yDest, cxDest, cyDest
                  "21 00 F0 00 00 00 00 00 00 00 00 00"              // PATCOPY, xSrc, ySrc
                  "00 00 80 3F 00 00 00 00 00 00 00 00 00 00 80 3F"  // xformSrc eM11 .. eM22
                  "00 00 00 00 00 00 00 00"                          // eDx, eDy
                  "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // crBkColorSrc, iUsageSrc, offBmiSrc, cbBmiSrc
                  "00 00 00 00 00 00 00 00"));                       // offBitsSrc, cbBitsSrc
}

// The default picture: 55 dark modules, no frame: 7188 bytes whatever the
// dpi, 124 bytes per module.
TEST_F(EmfRecorderTest, DefaultPictureSizeAt96And120Dpi) {
    EXPECT_EQ(RecordPicture(DefaultModules(55), false).size(), 7188u);
    SetPortableScreenDpi(120);
    EXPECT_EQ(RecordPicture(DefaultModules(55), false).size(), 7188u);
}

// What a message too long for any symbol leaves: the setup records only.
TEST_F(EmfRecorderTest, NothingDrawnIs172BytesInFiveRecords) {
    const std::vector<std::uint8_t> bits = Record500x300([](EnhMetafileRecorder&) {});
    ASSERT_EQ(bits.size(), 172u);
    EXPECT_EQ(U32At(bits, 52), 5u);
    EXPECT_EQ(U16At(bits, 56), 1);
    EXPECT_EQ(RectAt(bits, 8), (Rect{0, 0, -1, -1}));
    EXPECT_EQ(RectAt(bits, 24), (Rect{0, 0, -26, -26}));
}

// Every field of the header at 96 and at 120 dpi.
TEST_F(EmfRecorderTest, HeaderFieldsFollowTheScreen) {
    const auto header = [](int dpi) {
        SetPortableScreenDpi(dpi);
        const std::vector<std::uint8_t> bits = Record500x300([](EnhMetafileRecorder& r) {
            r.MoveToEx(0, 0);
            r.LineTo(500, 300);
        });
        return std::vector<std::uint8_t>(bits.begin(), bits.begin() + 108);
    };
    EXPECT_EQ(header(96), Hex("01 00 00 00 6C 00 00 00"                          // iType, nSize
                              "00 00 00 00 00 00 00 00 F4 01 00 00 2C 01 00 00"  // rclBounds 0,0,500,300
                              "00 00 00 00 00 00 00 00 B0 33 00 00 F9 1E 00 00"  // rclFrame 0,0,13232,7929
                              "20 45 4D 46 00 00 01 00"                          // " EMF", version
                              "CC 00 00 00 07 00 00 00 01 00 00 00"              // nBytes 204, nRecords 7, nHandles 1
                              "00 00 00 00 00 00 00 00 00 00 00 00"              // description, palette
                              "00 04 00 00 00 03 00 00 0F 01 00 00 CB 00 00 00"  // szlDevice, szlMillimeters 271 x 203
                              "00 00 00 00 00 00 00 00 00 00 00 00"              // pixel format, OpenGL
                              "98 22 04 00 F8 18 03 00"));                       // szlMicrometers
    EXPECT_EQ(header(120), Hex("01 00 00 00 6C 00 00 00"
                               "00 00 00 00 00 00 00 00 F4 01 00 00 2C 01 00 00"
                               "00 00 00 00 00 00 00 00 63 29 00 00 DF 18 00 00"  // rclFrame 0,0,10595,6367
                               "20 45 4D 46 00 00 01 00"
                               "CC 00 00 00 07 00 00 00 01 00 00 00"
                               "00 00 00 00 00 00 00 00 00 00 00 00"
                               "00 04 00 00 00 03 00 00 D9 00 00 00 A3 00 00 00"  // 217 x 163 mm
                               "00 00 00 00 00 00 00 00 00 00 00 00"
                               "A8 4F 03 00 B8 7C 02 00"));
}

struct BoundsCase {
    const char* drawing;
    std::vector<PixelRect> fills;
    std::vector<PixelRect> lines;  // from (left, top) to (right, bottom)
    Rect bounds;
    Rect frame;
};

// The measured bounds and frames at 96 dpi, and the rules behind them:
// blits put in order, lines with both end points, nothing clipped.
TEST_F(EmfRecorderTest, BoundsAndFrameAsMeasured) {
    const BoundsCase cases[] = {
        {"nothing", {}, {}, {0, 0, -1, -1}, {0, 0, -26, -26}},
        {"fill", {{10, 20, 110, 70}}, {}, {10, 20, 109, 69}, {264, 528, 2884, 1823}},
        {"negative", {{-9, -5, 30, 40}}, {}, {-9, -5, 29, 39}, {-238, -132, 767, 1030}},
        {"lines", {}, {{5, 7, 100, 7}, {20, 3, 20, 50}}, {5, 3, 100, 50}, {132, 79, 2646, 1321}},
        {"pixel", {{3, 4, 4, 5}}, {}, {3, 4, 3, 4}, {79, 105, 79, 105}},
        {"background 100", {{0, 0, 100, 100}}, {}, {0, 0, 99, 99}, {0, 0, 2620, 2616}},
        {"background 500", {{0, 0, 500, 300}}, {}, {0, 0, 499, 299}, {0, 0, 13205, 7903}},
        {"emptyrect", {{5, 2, 5, 8}}, {}, {4, 2, 5, 7}, {105, 52, 132, 185}},
        {"zerosize", {{0, 0, 0, 0}}, {}, {-1, -1, 0, 0}, {-26, -26, 0, 0}},
        {"inverted", {{8, 7, 2, 3}}, {}, {1, 2, 8, 7}, {26, 52, 211, 185}},
        {"outside", {{0, 0, 500, 300}, {600, 400, 610, 410}}, {}, {0, 0, 609, 409}, {0, 0, 16117, 10810}},
        {"right to left", {}, {{30, 9, 10, 9}, {40, 60, 40, 50}}, {10, 9, 40, 60}, {264, 237, 1058, 1585}},
        // The product bound x 100 x 271 wraps around 32 bits, as in GDI.
        {"wrap", {{-108392, 0, 0, 1}}, {}, {-108392, 0, -1, 0}, {1325726, 0, -26, 0}},
    };
    for (const BoundsCase& c : cases) {
        const std::vector<std::uint8_t> bits = Record500x300([&](EnhMetafileRecorder& r) {
            const Brush brush = r.CreateSolidBrush(kBlack);
            for (const PixelRect& fill : c.fills) r.FillRect(fill, brush);
            for (const PixelRect& line : c.lines) {
                r.MoveToEx(line.left, line.top);
                r.LineTo(line.right, line.bottom);
            }
        });
        EXPECT_EQ(RectAt(bits, 8), c.bounds) << c.drawing;
        EXPECT_EQ(RectAt(bits, 24), c.frame) << c.drawing;
    }
}

// Blits keep their corners as given in their own bounds; only the header
// puts them in order.
TEST_F(EmfRecorderTest, EmptyAndReversedBlitsKeepTheirExtents) {
    const std::vector<std::uint8_t> bits = Record500x300([](EnhMetafileRecorder& r) {
        const Brush brush = r.CreateSolidBrush(kBlack);
        r.FillRect({5, 2, 5, 8}, brush);
        r.FillRect({8, 7, 2, 3}, brush);
    });
    const std::vector<Record> records = Records(bits);
    ASSERT_EQ(records[6].type, kBitBlt);
    EXPECT_EQ(RectAt(bits, records[6].offset + 8), (Rect{5, 2, 4, 7}));
    EXPECT_EQ(RectAt(bits, records[6].offset + 24), (Rect{5, 2, 0, 6}));
    ASSERT_EQ(records[9].type, kBitBlt);
    EXPECT_EQ(RectAt(bits, records[9].offset + 8), (Rect{8, 7, 1, 2}));
    EXPECT_EQ(RectAt(bits, records[9].offset + 24), (Rect{8, 7, -6, -4}));
    EXPECT_EQ(RectAt(bits, 8), (Rect{1, 2, 8, 7}));
}

// Handle indices: lowest free from 1, freed by deletion (1, 2, then 1).
TEST_F(EmfRecorderTest, DeletedHandleIsReused) {
    const std::vector<std::uint8_t> bits = Record500x300([](EnhMetafileRecorder& r) {
        const Brush a = r.CreateSolidBrush(0x0000FF);
        const Brush b = r.CreateSolidBrush(0x00FF00);
        r.FillRect({0, 0, 1, 1}, a);
        r.FillRect({0, 0, 1, 1}, b);
        r.DeleteBrush(a);
        const Brush c = r.CreateSolidBrush(0xFF0000);
        r.FillRect({0, 0, 1, 1}, c);
        r.DeleteBrush(b);
        r.DeleteBrush(c);
    });
    std::vector<std::uint32_t> created;
    std::vector<std::uint32_t> deleted;
    for (const Record& r : Records(bits)) {
        if (r.type == kCreateBrushIndirect) created.push_back(U32At(bits, r.offset + 8));
        if (r.type == kDeleteObject) deleted.push_back(U32At(bits, r.offset + 8));
    }
    EXPECT_EQ(created, (std::vector<std::uint32_t>{1, 2, 1}));
    EXPECT_EQ(deleted, (std::vector<std::uint32_t>{1, 2, 1}));
    EXPECT_EQ(U16At(bits, 56), 3);
}

TEST_F(EmfRecorderTest, UnselectedBrushLeavesNoRecord) {
    const std::vector<std::uint8_t> bits = Record500x300([](EnhMetafileRecorder& r) {
        const Brush unused = r.CreateSolidBrush(kBlack);
        r.DeleteBrush(unused);
        r.DeleteBrush(unused);
    });
    EXPECT_EQ(bits.size(), 172u);
}

// Recorded by GDI under Wine: a brush that no longer exists cannot be
// selected, so FillRect writes its blit alone, which still counts for the
// bounds.
TEST_F(EmfRecorderTest, NonexistentBrushWritesTheBlitAlone) {
    std::unique_ptr<EnhMetafileRecorder> recorder = CreateEnhMetafileRecorder();
    const Brush deleted = recorder->CreateSolidBrush(0x000000FF);
    recorder->DeleteBrush(deleted);
    recorder->FillRect({0, 0, 5, 5}, deleted);
    EXPECT_EQ(Bits(*recorder),
              Hex("01 00 00 00 6C 00 00 00 00 00 00 00 00 00 00 00 04 00 00 00 04 00 00 00"
                  "00 00 00 00 00 00 00 00 69 00 00 00 69 00 00 00 20 45 4D 46 00 00 01 00"
                  "E4 00 00 00 03 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                  "00 04 00 00 00 03 00 00 0F 01 00 00 CB 00 00 00 00 00 00 00 00 00 00 00"
                  "00 00 00 00 98 22 04 00 F8 18 03 00"
                  "4C 00 00 00 64 00 00 00 00 00 00 00 00 00 00 00 04 00 00 00 04 00 00 00"
                  "00 00 00 00 00 00 00 00 05 00 00 00 05 00 00 00 21 00 F0 00 00 00 00 00"
                  "00 00 00 00 00 00 80 3F 00 00 00 00 00 00 00 00 00 00 80 3F 00 00 00 00"
                  "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                  "00 00 00 00"
                  "0E 00 00 00 14 00 00 00 00 00 00 00 10 00 00 00 14 00 00 00"));
}

struct EdgeCase {
    const char* drawing;
    void (*draw)(EnhMetafileRecorder&);
    std::size_t bytes;
    Rect bounds;
    Rect frame;
};

// Sizes, bounds and frames GDI recorded under Wine for calls the library
// never makes: a shifted window origin (bounds in device pixels, blits in
// logical units), extents that wrap around 32 bits, lines between the ends
// of the coordinate range, an origin that shifts points out of range.
TEST_F(EmfRecorderTest, EdgeCasesAsGdiRecordsThem) {
    const EdgeCase cases[] = {
        {"window origin",
         [](EnhMetafileRecorder& r) {
             r.SetMapModeText();
             r.SetWindowExtEx(40, 30);
             r.SetWindowOrgEx(10, 20);
             r.FillRect({11, 21, 13, 22}, r.CreateSolidBrush(0xFF));
             r.MoveToEx(5, 5);
             r.LineTo(30, 40);
         },
         352, {-5, -15, 20, 20}, {-132, -396, 529, 528}},
        {"wrapping extent",
         [](EnhMetafileRecorder& r) { r.FillRect({-2000000000, -2000000000, 2000000000, 2000000000}, r.CreateSolidBrush(0)); },
         276, {-2000000000, -2000000000, 1999999999, 1999999999}, {-1765324, 424282, 1765297, -424309}},
        {"range ends",
         [](EnhMetafileRecorder& r) {
             r.MoveToEx(INT32_MIN, 5);
             r.LineTo(INT32_MAX, -7);
             r.LineTo(3, INT32_MAX);
         },
         176, {INT32_MIN, -7, INT32_MAX, INT32_MAX}, {0, -185, -26, -26}},
        {"origin out of range",
         [](EnhMetafileRecorder& r) {
             r.SetWindowOrgEx(INT32_MIN, 5);
             r.FillRect({1, 0, 2, 1}, r.CreateSolidBrush(0));
             r.LineTo(3, 4);
         },
         308, {INT32_MIN, -5, INT32_MIN, -1}, {0, -132, 0, -26}},
    };
    for (const EdgeCase& c : cases) {
        std::unique_ptr<EnhMetafileRecorder> recorder = CreateEnhMetafileRecorder();
        c.draw(*recorder);
        const std::vector<std::uint8_t> bits = Bits(*recorder);
        EXPECT_EQ(bits.size(), c.bytes) << c.drawing;
        EXPECT_EQ(RectAt(bits, 8), c.bounds) << c.drawing;
        EXPECT_EQ(RectAt(bits, 24), c.frame) << c.drawing;
    }
}

TEST_F(EmfRecorderTest, ClosesOnlyOnceAndKeepsItsBits) {
    std::unique_ptr<EnhMetafileRecorder> recorder = CreateEnhMetafileRecorder();
    std::unique_ptr<EnhMetafile> metafile = recorder->Close();
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(recorder->Close(), nullptr);
    EXPECT_EQ(metafile->GetBits(), metafile->GetBits());
    EXPECT_EQ(metafile->GetBits().size(), 128u);  // header and EOF
}

}  // namespace
}  // namespace ecc200::platform

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "le_bytes.h"
#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

using test::Hex;
using test::U16At;
using test::U32At;

constexpr ColourRef kWhite = 0x00FFFFFF;
constexpr ColourRef kBlack = 0x00000000;

std::vector<std::uint8_t> Bits(MetafileRecorder& recorder) {
    std::optional<std::vector<std::uint8_t>> bits = recorder.Close();
    EXPECT_TRUE(bits.has_value());
    return bits.value_or(std::vector<std::uint8_t>{});
}

// The drawing of a 500 x 300 picture with a solid frame, brushes made and
// dropped in the order the symbol drawing uses, `modules` 7 x 7 modules.
std::vector<std::uint8_t> RecordPicture(const std::vector<PixelRect>& modules, bool frame) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    recorder->SetWindowExtEx(500, 300);
    recorder->SetWindowOrgEx(0, 0);
    const Brush bar = recorder->CreateSolidBrush(kBlack);
    const Brush background = recorder->CreateSolidBrush(kWhite);
    recorder->FillRect({0, 0, 500, 300}, background);
    for (const PixelRect& module : modules) recorder->FillRect(module, bar);
    if (frame) {
        recorder->MoveToEx(0, 0);
        recorder->LineTo(500, 0);
        recorder->MoveToEx(499, 0);
        recorder->LineTo(499, 300);
        recorder->MoveToEx(500, 299);
        recorder->LineTo(0, 299);
        recorder->MoveToEx(0, 300);
        recorder->LineTo(0, 0);
    }
    recorder->DeleteBrush(bar);
    recorder->DeleteBrush(background);
    return Bits(*recorder);
}

// What GDI records for three modules and a solid frame, 318 bytes: the
// background brush in slot 0, the copy of the stock white brush in slot 1,
// the bar brush in slot 2.
TEST(WmfRecorderTest, ThreeModulesAndFrameAsGdiRecordsThem) {
    const std::vector<std::uint8_t> expected = Hex(
        "01 00 09 00 00 03 9F 00 00 00 03 00 09 00 00 00 00 00"  // header: 159 words, 3 objects, max record 9
        "05 00 00 00 0C 02 2C 01 F4 01"                          // SETWINDOWEXT 500 x 300
        "05 00 00 00 0B 02 00 00 00 00"                          // SETWINDOWORG 0, 0
        "07 00 00 00 FC 02 00 00 FF FF FF 00 00 00"              // CREATEBRUSHINDIRECT white -> slot 0
        "04 00 00 00 2D 01 00 00"                                // SELECTOBJECT 0
        "09 00 00 00 1D 06 21 00 F0 00 2C 01 F4 01 00 00 00 00"  // PATBLT 0,0 500x300
        "07 00 00 00 FC 02 00 00 FF FF FF 00 00 00"              // CREATEBRUSHINDIRECT stock white -> slot 1
        "04 00 00 00 2D 01 01 00"                                // SELECTOBJECT 1
        "07 00 00 00 FC 02 00 00 00 00 00 00 00 00"              // CREATEBRUSHINDIRECT black -> slot 2
        "04 00 00 00 2D 01 02 00"                                // SELECTOBJECT 2
        "09 00 00 00 1D 06 21 00 F0 00 07 00 07 00 73 00 D7 00"  // PATBLT 215,115 7x7
        "04 00 00 00 2D 01 01 00"                                // SELECTOBJECT 1
        "04 00 00 00 2D 01 02 00"                                // SELECTOBJECT 2
        "09 00 00 00 1D 06 21 00 F0 00 07 00 07 00 73 00 E5 00"  // PATBLT 229,115 7x7
        "04 00 00 00 2D 01 01 00"                                // SELECTOBJECT 1
        "04 00 00 00 2D 01 02 00"                                // SELECTOBJECT 2
        "09 00 00 00 1D 06 21 00 F0 00 07 00 07 00 81 00 D7 00"  // PATBLT 215,129 7x7
        "04 00 00 00 2D 01 01 00"                                // SELECTOBJECT 1
        "05 00 00 00 14 02 00 00 00 00"                          // MOVETO 0,0
        "05 00 00 00 13 02 00 00 F4 01"                          // LINETO 500,0
        "05 00 00 00 14 02 00 00 F3 01"                          // MOVETO 499,0
        "05 00 00 00 13 02 2C 01 F3 01"                          // LINETO 499,300
        "05 00 00 00 14 02 2B 01 F4 01"                          // MOVETO 500,299
        "05 00 00 00 13 02 2B 01 00 00"                          // LINETO 0,299
        "05 00 00 00 14 02 2C 01 00 00"                          // MOVETO 0,300
        "05 00 00 00 13 02 00 00 00 00"                          // LINETO 0,0
        "04 00 00 00 F0 01 02 00"                                // DELETEOBJECT 2 (bar)
        "04 00 00 00 F0 01 00 00"                                // DELETEOBJECT 0 (background)
        "03 00 00 00 00 00");                                    // EOF
    ASSERT_EQ(expected.size(), 318u);
    EXPECT_EQ(RecordPicture({{215, 115, 222, 122}, {229, 115, 236, 122}, {215, 129, 222, 136}}, true), expected);
}

// The default picture: 55 dark modules and no frame give 2006 bytes, the
// 2028-byte WMF file less its 22-byte placeable header.
TEST(WmfRecorderTest, EachFurtherModuleCosts34Bytes) {
    std::vector<PixelRect> modules;
    for (std::int32_t i = 0; i < 55; ++i) modules.push_back({215 + 7 * (i % 10), 115 + 7 * (i / 10), 222 + 7 * (i % 10), 122 + 7 * (i / 10)});
    const std::vector<std::uint8_t> bits = RecordPicture(modules, false);
    EXPECT_EQ(bits.size(), 2006u);
    EXPECT_EQ(U32At(bits, 6), 1003u);  // mtSize in words
}

// Brushes made and deleted without ever being selected leave no trace.
TEST(WmfRecorderTest, NothingDrawnIs44Bytes) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    recorder->SetWindowExtEx(500, 300);
    recorder->SetWindowOrgEx(0, 0);
    const Brush bar = recorder->CreateSolidBrush(kBlack);
    const Brush background = recorder->CreateSolidBrush(kWhite);
    recorder->DeleteBrush(bar);
    recorder->DeleteBrush(background);
    EXPECT_EQ(Bits(*recorder), Hex("01 00 09 00 00 03 16 00 00 00 00 00 05 00 00 00 00 00"
                                   "05 00 00 00 0C 02 2C 01 F4 01"
                                   "05 00 00 00 0B 02 00 00 00 00"
                                   "03 00 00 00 00 00"));
}

TEST(WmfRecorderTest, EmptyRecordingIsHeaderAndEof) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    EXPECT_EQ(Bits(*recorder), Hex("01 00 09 00 00 03 0C 00 00 00 00 00 03 00 00 00 00 00"
                                   "03 00 00 00 00 00"));
}

// A deleted brush's slot goes to the next brush written; the copy of the
// stock white brush keeps its slot.
TEST(WmfRecorderTest, DeletedSlotIsReused) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    const Brush first = recorder->CreateSolidBrush(0x000000FF);
    recorder->FillRect({0, 0, 1, 1}, first);  // slot 0, stock white copy slot 1
    recorder->DeleteBrush(first);              // frees 0
    const Brush second = recorder->CreateSolidBrush(0x0000FF00);
    recorder->FillRect({0, 0, 1, 1}, second);  // slot 0 again
    const Brush third = recorder->CreateSolidBrush(0x00FF0000);
    recorder->FillRect({0, 0, 1, 1}, third);  // slot 2
    const std::vector<std::uint8_t> bits = Bits(*recorder);
    EXPECT_EQ(U16At(bits, 10), 3);  // mtNoObjects
    const std::vector<std::uint8_t> expected = Hex(
        "07 00 00 00 FC 02 00 00 FF 00 00 00 00 00  04 00 00 00 2D 01 00 00"
        "09 00 00 00 1D 06 21 00 F0 00 01 00 01 00 00 00 00 00"
        "07 00 00 00 FC 02 00 00 FF FF FF 00 00 00  04 00 00 00 2D 01 01 00"
        "04 00 00 00 F0 01 00 00"
        "07 00 00 00 FC 02 00 00 00 FF 00 00 00 00  04 00 00 00 2D 01 00 00"
        "09 00 00 00 1D 06 21 00 F0 00 01 00 01 00 00 00 00 00  04 00 00 00 2D 01 01 00"
        "07 00 00 00 FC 02 00 00 00 00 FF 00 00 00  04 00 00 00 2D 01 02 00"
        "09 00 00 00 1D 06 21 00 F0 00 01 00 01 00 00 00 00 00  04 00 00 00 2D 01 01 00"
        "03 00 00 00 00 00");
    EXPECT_EQ(std::vector<std::uint8_t>(bits.begin() + 18, bits.end()), expected);
}

// Coordinates and extents keep their low 16 bits; empty and reversed
// rectangles are recorded with their zero or negative extents.
TEST(WmfRecorderTest, CoordinatesKeepTheirLow16Bits) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    const Brush brush = recorder->CreateSolidBrush(kBlack);
    recorder->FillRect({54000, -9, 54010, 60}, brush);
    recorder->FillRect({8, 7, 2, 3}, brush);
    recorder->FillRect({5, 2, 5, 8}, brush);
    recorder->MoveToEx(-70000, 65536 + 3);
    recorder->LineTo(40000, -1);
    recorder->SetWindowExtEx(40000, 30);
    recorder->SetWindowOrgEx(-1, 70000);
    const std::vector<std::uint8_t> bits = Bits(*recorder);
    const std::vector<std::uint8_t> expected = Hex(
        "07 00 00 00 FC 02 00 00 00 00 00 00 00 00  04 00 00 00 2D 01 00 00"
        "09 00 00 00 1D 06 21 00 F0 00 45 00 0A 00 F7 FF F0 D2"  // height 69, width 10, y -9, x 54000
        "07 00 00 00 FC 02 00 00 FF FF FF 00 00 00  04 00 00 00 2D 01 01 00"
        "04 00 00 00 2D 01 00 00"
        "09 00 00 00 1D 06 21 00 F0 00 FC FF FA FF 07 00 08 00"  // height -4, width -6, y 7, x 8
        "04 00 00 00 2D 01 01 00  04 00 00 00 2D 01 00 00"
        "09 00 00 00 1D 06 21 00 F0 00 06 00 00 00 02 00 05 00"  // height 6, width 0
        "04 00 00 00 2D 01 01 00"
        "05 00 00 00 14 02 03 00 90 EE"                          // MOVETO -70000 -> 0xEE90, 65539 -> 3
        "05 00 00 00 13 02 FF FF 40 9C"                          // LINETO 40000 -> 0x9C40, -1
        "05 00 00 00 0C 02 1E 00 40 9C"                          // SETWINDOWEXT 40000 x 30
        "05 00 00 00 0B 02 70 11 FF FF"                          // SETWINDOWORG -1, 70000 -> 0x1170
        "03 00 00 00 00 00");
    EXPECT_EQ(std::vector<std::uint8_t>(bits.begin() + 18, bits.end()), expected);
}

// The library's own WMF never sets a mapping mode; when asked, GDI writes
// META_SETMAPMODE.
TEST(WmfRecorderTest, SetMapModeIsRecorded) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    recorder->SetMapModeText();
    const std::vector<std::uint8_t> bits = Bits(*recorder);
    EXPECT_EQ(std::vector<std::uint8_t>(bits.begin() + 18, bits.end()), Hex("04 00 00 00 03 01 01 00  03 00 00 00 00 00"));
    EXPECT_EQ(U32At(bits, 12), 4u);  // mtMaxRecord
}

// Recorded by GDI under Wine: a brush that no longer exists cannot be
// selected, so FillRect writes its blit alone; deleting a brush twice
// writes one META_DELETEOBJECT.
TEST(WmfRecorderTest, NonexistentBrushWritesTheBlitAlone) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    const Brush deleted = recorder->CreateSolidBrush(0x000000FF);
    recorder->DeleteBrush(deleted);
    recorder->FillRect({0, 0, 5, 5}, deleted);
    EXPECT_EQ(Bits(*recorder), Hex("01 00 09 00 00 03 15 00 00 00 00 00 09 00 00 00 00 00"
                                   "09 00 00 00 1D 06 21 00 F0 00 05 00 05 00 00 00 00 00"
                                   "03 00 00 00 00 00"));

    recorder = CreateMetafileRecorder();
    const Brush brush = recorder->CreateSolidBrush(0x00123456);
    recorder->FillRect({0, 0, 3, 3}, brush);
    recorder->FillRect({1, 1, 2, 2}, brush);
    recorder->DeleteBrush(brush);
    recorder->DeleteBrush(brush);
    EXPECT_EQ(Bits(*recorder), Hex("01 00 09 00 00 03 40 00 00 00 02 00 09 00 00 00 00 00"
                                   "07 00 00 00 FC 02 00 00 56 34 12 00 00 00  04 00 00 00 2D 01 00 00"
                                   "09 00 00 00 1D 06 21 00 F0 00 03 00 03 00 00 00 00 00"
                                   "07 00 00 00 FC 02 00 00 FF FF FF 00 00 00  04 00 00 00 2D 01 01 00"
                                   "04 00 00 00 2D 01 00 00"
                                   "09 00 00 00 1D 06 21 00 F0 00 01 00 01 00 01 00 01 00"
                                   "04 00 00 00 2D 01 01 00"
                                   "04 00 00 00 F0 01 00 00"
                                   "03 00 00 00 00 00"));
}

TEST(WmfRecorderTest, ClosesOnlyOnce) {
    std::unique_ptr<MetafileRecorder> recorder = CreateMetafileRecorder();
    ASSERT_TRUE(recorder->Close().has_value());
    recorder->MoveToEx(1, 1);
    EXPECT_FALSE(recorder->Close().has_value());
}

}  // namespace
}  // namespace ecc200::platform

#include "platform/emf_records.h"

#include <cassert>

#include "platform/wrapping_int32.h"

namespace ecc200::platform {
namespace {

constexpr std::int32_t kScreenWidthPixels = 1024;
constexpr std::int32_t kScreenHeightPixels = 768;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmfVersion = 0x00010000;
constexpr std::uint32_t kSolidBrushStyle = 0;        // BS_SOLID
constexpr std::uint32_t kEofPaletteOffset = 16;      // just past nPalEntries and offPalEntries

// round(pixels x 25.4 / dpi), halves rounded up, in exact integers.
std::int32_t Millimetres(std::int32_t pixels, std::int32_t dpi) {
    const std::int64_t tenthsDpi = 10 * std::int64_t{dpi};
    return static_cast<std::int32_t>((std::int64_t{pixels} * 254 + tenthsDpi / 2) / tenthsDpi);
}

std::int32_t FrameEdge(std::int32_t bound, std::int32_t millimetres, std::int32_t pixels) {
    return WrappingMul(WrappingMul(bound, 100), millimetres) / pixels;
}

std::int32_t Int32At(const std::uint8_t* at) {
    return Int32FromBits(static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
                         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24);
}

}  // namespace

ScreenMetrics ScreenAt(std::int32_t dpi) {
    return ScreenMetrics{dpi, dpi, kScreenWidthPixels, kScreenHeightPixels, Millimetres(kScreenWidthPixels, dpi),
                         Millimetres(kScreenHeightPixels, dpi)};
}

void ReferHeaderTo(std::uint8_t* header, const ScreenMetrics& device) {
    const EmfBounds bounds{Int32At(header + 8), Int32At(header + 12), Int32At(header + 16), Int32At(header + 20)};
    ByteCursor frame(header + 24);                                        //  24 rclFrame
    frame.i32le(FrameEdge(bounds.left, device.horzSize, device.horzRes));
    frame.i32le(FrameEdge(bounds.top, device.vertSize, device.vertRes));
    frame.i32le(FrameEdge(bounds.right, device.horzSize, device.horzRes));
    frame.i32le(FrameEdge(bounds.bottom, device.vertSize, device.vertRes));
    ByteCursor sizes(header + 72);
    sizes.i32le(device.horzRes);                                          //  72 szlDevice
    sizes.i32le(device.vertRes);
    sizes.i32le(device.horzSize);                                         //  80 szlMillimeters
    sizes.i32le(device.vertSize);
    ByteCursor micrometres(header + 100);
    micrometres.i32le(WrappingMul(1000, device.horzSize));                // 100 szlMicrometers
    micrometres.i32le(WrappingMul(1000, device.vertSize));
}

void EmfRecords::Simple(std::uint32_t type, std::initializer_list<std::int32_t> fields) {
    const std::size_t start = Begin(type);
    for (const std::int32_t field : fields) i32(field);
    End(start);
}

void EmfRecords::SelectObject(std::uint32_t handle) {
    ByteCursor record = Fixed(emf::kSelectObjectBytes);
    record.u32le(metafile::kEmrSelectObject);
    record.u32le(emf::kSelectObjectBytes);  // nSize
    record.u32le(handle);                   // ihObject
}

void EmfRecords::DeleteObject(std::uint32_t handle) { Simple(metafile::kEmrDeleteObject, {Int32FromBits(handle)}); }

void EmfRecords::CreateBrushIndirect(std::uint32_t handle, ColourRef colour) {
    const std::size_t start = Begin(metafile::kEmrCreateBrushIndirect);
    u32(handle);            // ihBrush
    u32(kSolidBrushStyle);  // LogBrush32: lbStyle
    u32(colour);            //   lbColor
    u32(0);                 //   lbHatch
    End(start);
}

std::vector<std::uint8_t> EmfRecords::Finish(const EmfBounds& bounds, const ScreenMetrics& device,
                                             std::uint16_t handles) {
    const std::size_t eof = Begin(metafile::kEmrEof);
    u32(0);                  // nPalEntries
    u32(kEofPaletteOffset);  // offPalEntries
    u32(emf::kEofBytes);     // nSizeLast: this record's size
    End(eof);
    assert(out_.size() - eof == emf::kEofBytes);
    ByteCursor out = out_.At(0);
    out.u32le(metafile::kEmrHeader);                             //   0 iType
    out.u32le(emf::kHeaderBytes);                        //   4 nSize
    out.i32le(bounds.left);                              //   8 rclBounds
    out.i32le(bounds.top);
    out.i32le(bounds.right);
    out.i32le(bounds.bottom);
    out.Skip(16);                                      //  24 rclFrame, below
    out.u32le(kEmfSignature);                            //  40 dSignature
    out.u32le(kEmfVersion);                              //  44 nVersion
    out.u32le(static_cast<std::uint32_t>(out_.size())); //  48 nBytes
    out.u32le(records_ + 1);                             //  52 nRecords, the header included
    out.u16le(handles);                                  //  56 nHandles
    out.u16le(0);                                        //  58 sReserved
    out.u32le(0);                                        //  60 nDescription
    out.u32le(0);                                        //  64 offDescription
    out.u32le(0);                                        //  68 nPalEntries
    out.Skip(16);                                      //  72 szlDevice, szlMillimeters, below
    out.u32le(0);                                        //  88 cbPixelFormat
    out.u32le(0);                                        //  92 offPixelFormat
    out.u32le(0);                                        //  96 bOpenGL
    out.Skip(8);                                       // 100 szlMicrometers, below
    assert(out.position() == out_.data() + emf::kHeaderBytes);
    ReferHeaderTo(out_.data(), device);
    return out_.Take();
}

}  // namespace ecc200::platform

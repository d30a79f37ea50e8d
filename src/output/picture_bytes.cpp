#include "output/picture_bytes.h"

#include <cstdint>
#include <new>
#include <utility>

#include "encoder/module_matrix.h"
#include "output/bmp_file.h"
#include "output/emf_recording_size.h"
#include "output/placeable_wmf.h"
#include "render/draw_symbol.h"

namespace ecc200 {
namespace {

// One logical unit per pixel, the window covering the picture.
void MapPictureOnto(platform::DeviceContext& dc, const DrawingStyle& style) {
    dc.SetWindowExtEx(style.width, style.height);
    dc.SetWindowOrgEx(0, 0);
}

// Runs a drawing, turning memory that cannot be had into OutOfMemory.
template <typename Drawing>
Outcome ReportingExhaustedMemory(Drawing drawing) {
    try {
        return drawing();
    } catch (const std::bad_alloc&) {
        return Failed(Failure::OutOfMemory);
    }
}

std::uint64_t DarkModulesOf(const SymbolMatrix& symbol) {
    std::uint64_t dark = 0;
    for (int row = 0; row < symbol.rows(); ++row) {
        for (int col = 0; col < symbol.cols(); ++col) dark += symbol.isDark(row, col) ? 1 : 0;
    }
    return dark;
}

Outcome DrawBmpPicture(const SymbolMatrix& symbol, const DrawingStyle& style, PictureBytes& out) {
    const std::optional<MonochromeGeometry> geometry = MonochromeGeometryOf(style.width, style.height);
    if (!geometry) return Failed(Failure::PictureTooLarge);
    // The bitmap and file of an earlier drawing are reused where they can be.
    if (!out.bitmap || !out.bitmap->Reset(style.width, style.height)) {
        out.bitmap = platform::CreateBitmapContext(style.width, style.height);
        if (!out.bitmap) return Failed(Failure::OutOfMemory);
    }
    MapPictureOnto(*out.bitmap, style);
    DrawSymbol(symbol, style, DrawingTarget{*out.bitmap, 0, 0});
    if (!out.bmp) out.bmp = std::make_unique<MonochromeBmpFile>();
    if (!CaptureMonochromeBmp(*out.bitmap, style.width, style.height, *geometry, *out.bmp)) {
        return Failed(Failure::OutOfMemory);
    }
    // The spans point into out.bmp and out.bitmap, which stay; the two
    // vectors keep their capacity for the next drawing.
    out.pieces.swap(out.bmp->pieces);
    return {};
}

// The placeable header's 16-bit box bounds the picture, and with it the
// recording: at most 20736 module blits and a frame of 32767-pixel sides,
// far inside the metafile's 32-bit size in words.
Outcome DrawWmfPicture(const SymbolMatrix& symbol, const DrawingStyle& style, std::int32_t unitsPerInch,
                       PictureBytes& out) {
    out.header = PlaceableMetafileHeader(style.width, style.height, unitsPerInch);
    std::unique_ptr<platform::MetafileRecorder> recorder = platform::CreateMetafileRecorder();
    if (!recorder) return Failed(Failure::OutOfMemory);
    MapPictureOnto(*recorder, style);
    DrawSymbol(symbol, style, DrawingTarget{*recorder, 0, 0});
    std::optional<std::vector<std::uint8_t>> bits = recorder->Close();
    if (!bits) return Failed(Failure::OutOfMemory);
    out.body = std::move(*bits);
    out.pieces = {{out.header.data(), out.header.size()}, {out.body.data(), out.body.size()}};
    return {};
}

Outcome RecordEmfPicture(const SymbolMatrix& symbol, const DrawingStyle& style,
                         std::unique_ptr<platform::EnhMetafile>& out) {
    // The exact size, from the symbol's dark modules, before any drawing.
    const std::uint64_t bytes = EnhMetafileSizeOf(symbol, style);
    if (bytes > UINT32_MAX) return Failed(Failure::PictureTooLarge);  // nBytes is 32 bits
    std::unique_ptr<platform::EnhMetafileRecorder> recorder = platform::CreateEnhMetafileRecorder();
    if (!recorder || !recorder->Reserve(bytes)) return Failed(Failure::OutOfMemory);
    recorder->SetMapModeText();
    MapPictureOnto(*recorder, style);
    DrawSymbol(symbol, style, DrawingTarget{*recorder, 0, 0});
    out = recorder->Close();
    return out ? Outcome{} : Failed(Failure::OutOfMemory);
}

}  // namespace

PictureBytes::PictureBytes() = default;
PictureBytes::PictureBytes(PictureBytes&&) noexcept = default;
PictureBytes& PictureBytes::operator=(PictureBytes&&) noexcept = default;
PictureBytes::~PictureBytes() = default;

std::uint64_t PictureBytes::size() const {
    std::uint64_t total = 0;
    for (const platform::ByteSpan& piece : pieces) total += piece.size;
    return total;
}

std::uint64_t EnhMetafileSizeOf(const SymbolMatrix& symbol, const DrawingStyle& style) {
    return EnhMetafileRecordingSize(style.width, style.height, style.border, DarkModulesOf(symbol)).bytes;
}

Outcome CheckBmpExtent(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return Failed(Failure::InvalidArgument);
    return MonochromeGeometryOf(width, height) ? Outcome{} : Failed(Failure::PictureTooLarge);
}

Outcome CheckWmfExtent(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return Failed(Failure::InvalidArgument);
    if (width > kMaxPlaceableExtent || height > kMaxPlaceableExtent) return Failed(Failure::PictureTooLarge);
    return {};
}

Outcome CheckEmfExtent(std::int32_t width, std::int32_t height, BorderStyle border) {
    if (width <= 0 || height <= 0) return Failed(Failure::InvalidArgument);
    if (EnhMetafileRecordingSize(width, height, border, 0).bytes > UINT32_MAX) return Failed(Failure::PictureTooLarge);
    return {};
}

Outcome DrawBmp(const SymbolMatrix& symbol, const DrawingStyle& style, PictureBytes& out) {
    return ReportingExhaustedMemory([&] { return DrawBmpPicture(symbol, style, out); });
}

Outcome DrawWmf(const SymbolMatrix& symbol, const DrawingStyle& style, std::int32_t unitsPerInch, PictureBytes& out) {
    if (const Outcome fits = CheckWmfExtent(style.width, style.height); !fits.ok()) return fits;
    return ReportingExhaustedMemory([&] { return DrawWmfPicture(symbol, style, unitsPerInch, out); });
}

Outcome RecordEmf(const SymbolMatrix& symbol, const DrawingStyle& style, std::unique_ptr<platform::EnhMetafile>& out) {
    if (const Outcome fits = CheckEmfExtent(style.width, style.height, style.border); !fits.ok()) return fits;
    return ReportingExhaustedMemory([&] { return RecordEmfPicture(symbol, style, out); });
}

Outcome DrawEmf(const SymbolMatrix& symbol, const DrawingStyle& style, PictureBytes& out) {
    std::unique_ptr<platform::EnhMetafile> metafile;
    const Outcome recorded = RecordEmf(symbol, style, metafile);
    if (!recorded.ok()) return recorded;
    return ReportingExhaustedMemory([&] {
        out.body = metafile->GetBits();
        out.pieces = {{out.body.data(), out.body.size()}};
        return Outcome{};
    });
}

}  // namespace ecc200

#include "output/picture_bytes.h"

#include <cstdint>
#include <new>
#include <utility>

#include "output/bmp_file.h"
#include "output/emf_recording_size.h"
#include "output/placeable_wmf.h"
#include "output/png_file.h"
#include "output/zpl_label.h"
#include "render/draw_symbol.h"
#include "render/picture_geometry.h"

namespace ecc200 {
namespace {

// One logical unit per pixel, the window covering the picture.
void MapPictureOnto(platform::DeviceContext& dc, const PictureGeometry& picture) {
    dc.SetWindowExtEx(picture.width, picture.height);
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

Outcome DrawBmpPicture(const PictureGeometry& picture, PictureBytes& out) {
    const std::optional<MonochromeGeometry> geometry = MonochromeGeometryOf(picture.width, picture.height);
    if (!geometry) return Failed(Failure::PictureTooLarge);
    // The bitmap and file of an earlier drawing are reused where they can be.
    if (!out.bitmap || !out.bitmap->Reset(picture.width, picture.height)) {
        out.bitmap = platform::CreateBitmapContext(picture.width, picture.height);
        if (!out.bitmap) return Failed(Failure::OutOfMemory);
    }
    MapPictureOnto(*out.bitmap, picture);
    DrawSymbol(picture, *out.bitmap);
    if (!out.bmp) out.bmp = std::make_unique<MonochromeBmpFile>();
    if (!CaptureMonochromeBmp(*out.bitmap, picture.width, picture.height, *geometry, *out.bmp)) {
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
Outcome DrawWmfPicture(const PictureGeometry& picture, PictureBytes& out) {
    out.header = PlaceableMetafileHeader(picture.width, picture.height, picture.unitsPerInch);
    std::unique_ptr<platform::MetafileRecorder> recorder = platform::CreateMetafileRecorder();
    if (!recorder) return Failed(Failure::OutOfMemory);
    MapPictureOnto(*recorder, picture);
    DrawSymbol(picture, *recorder);
    std::optional<std::vector<std::uint8_t>> bits = recorder->Close();
    if (!bits) return Failed(Failure::OutOfMemory);
    out.body = std::move(*bits);
    out.pieces = {{out.header.data(), out.header.size()}, {out.body.data(), out.body.size()}};
    return {};
}

Outcome RecordEmfPicture(const PictureGeometry& picture,
                         std::unique_ptr<platform::EnhMetafile>& out) {
    // The exact size, from the symbol's dark modules, before any drawing.
    const std::uint64_t bytes = EnhMetafileSizeOf(picture);
    if (bytes > UINT32_MAX) return Failed(Failure::PictureTooLarge);  // nBytes is 32 bits
    std::unique_ptr<platform::EnhMetafileRecorder> recorder = platform::CreateEnhMetafileRecorder(picture.unitsPerInch);
    if (!recorder || !recorder->Reserve(bytes)) return Failed(Failure::OutOfMemory);
    recorder->SetMapModeText();
    MapPictureOnto(*recorder, picture);
    DrawSymbol(picture, *recorder);
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

std::uint64_t EnhMetafileSizeOf(const PictureGeometry& picture) {
    return EnhMetafileRecordingSize(picture, picture.DarkModuleCount()).bytes;
}

Outcome CheckBmpExtent(const PictureGeometry& picture) {
    if (picture.width <= 0 || picture.height <= 0) return Failed(Failure::InvalidArgument);
    return MonochromeGeometryOf(picture.width, picture.height) ? Outcome{} : Failed(Failure::PictureTooLarge);
}

Outcome CheckWmfExtent(const PictureGeometry& picture) {
    if (picture.width <= 0 || picture.height <= 0) return Failed(Failure::InvalidArgument);
    if (picture.width > kMaxPlaceableExtent || picture.height > kMaxPlaceableExtent)
        return Failed(Failure::PictureTooLarge);
    return {};
}

Outcome CheckEmfExtent(const PictureGeometry& picture) {
    if (picture.width <= 0 || picture.height <= 0) return Failed(Failure::InvalidArgument);
    if (EnhMetafileRecordingSize(picture, 0).bytes > UINT32_MAX) return Failed(Failure::PictureTooLarge);
    return {};
}

Outcome DrawBmp(const PictureGeometry& picture, PictureBytes& out) {
    return ReportingExhaustedMemory([&] { return DrawBmpPicture(picture, out); });
}

Outcome DrawWmf(const PictureGeometry& picture, PictureBytes& out) {
    if (const Outcome fits = CheckWmfExtent(picture); !fits.ok()) return fits;
    return ReportingExhaustedMemory([&] { return DrawWmfPicture(picture, out); });
}

Outcome RecordEmf(const PictureGeometry& picture, std::unique_ptr<platform::EnhMetafile>& out) {
    if (const Outcome fits = CheckEmfExtent(picture); !fits.ok()) return fits;
    return ReportingExhaustedMemory([&] { return RecordEmfPicture(picture, out); });
}

Outcome DrawEmf(const PictureGeometry& picture, PictureBytes& out) {
    std::unique_ptr<platform::EnhMetafile> metafile;
    const Outcome recorded = RecordEmf(picture, metafile);
    if (!recorded.ok()) return recorded;
    return ReportingExhaustedMemory([&] {
        out.body = metafile->GetBits();
        out.pieces = {{out.body.data(), out.body.size()}};
        return Outcome{};
    });
}

}  // namespace ecc200

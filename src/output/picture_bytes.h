// The pictures of a finished symbol as the bytes of their files, in pieces:
// the three the library draws through a drawing surface as GDI would (a
// one-bit BMP file, a placeable Windows metafile and an enhanced metafile),
// and those it writes itself (PNG of the BMP's pixels, SVG, the seamless
// metafiles; output/written_picture_bytes.cpp). Saving, the clipboard
// and the in-memory calls are deliveries of the same pieces (see
// output/picture_delivery.h).
//
// Each check runs before anything is drawn, so that a picture the format
// cannot hold is refused at once (before the message is even encoded).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/failure.h"
#include "platform/drawing_surface.h"

namespace ecc200 {

struct PictureGeometry;
struct MonochromeBmpFile;
class PngDeflater;
struct ZplForm;
struct ZplScratch;

// One picture's bytes: `pieces`, in order, point into the storage below
// (a large BMP's rows into the bitmap it was drawn on, without a copy). A
// value drawn into again reuses its memory: a BMP of the same size drawn
// again allocates nothing on the portable backend.
struct PictureBytes {
    std::vector<platform::ByteSpan> pieces;
    std::vector<std::uint8_t> header;                  // a WMF's placeable header
    std::vector<std::uint8_t> body;                    // a metafile's records
    std::unique_ptr<platform::BitmapContext> bitmap;   // a BMP's drawing
    std::unique_ptr<MonochromeBmpFile> bmp;
    std::vector<platform::ByteSpan> rows;  // a PNG's view of the BMP's rows
    std::unique_ptr<PngDeflater> deflater; // kept, so that a warm PNG allocates nothing
    std::string text;                      // an SVG document
    std::unique_ptr<ZplScratch> zpl;       // a Z64 label's deflate state, kept as the PNG's

    PictureBytes();
    PictureBytes(PictureBytes&&) noexcept;
    PictureBytes& operator=(PictureBytes&&) noexcept;
    ~PictureBytes();
    std::uint64_t size() const;
};

// InvalidArgument for an empty picture (a side below 1); PictureTooLarge
// when the format's fields cannot hold the picture: a BMP's 32-bit sizes, a
// placeable WMF's 16-bit box, an EMF's 32-bit nBytes even with no dark
// module (a dashed frame grows it by 8 bytes per pixel). Only the sides and
// the frame are read: the symbol need not be built yet.
Outcome CheckBmpExtent(const PictureGeometry& picture);
Outcome CheckWmfExtent(const PictureGeometry& picture);
Outcome CheckEmfExtent(const PictureGeometry& picture);

// The bytes of the EMF of the picture, as recorded (nBytes).
std::uint64_t EnhMetafileSizeOf(const PictureGeometry& picture);

// Each draws the picture into `out`; OutOfMemory when its memory cannot be
// had.
Outcome DrawBmp(const PictureGeometry& picture, PictureBytes& out);
// The placeable header states the picture's unitsPerInch.
Outcome DrawWmf(const PictureGeometry& picture, PictureBytes& out);
// The recording itself (for the clipboard), or its bits; either describes
// the picture at its unitsPerInch.
Outcome RecordEmf(const PictureGeometry& picture, std::unique_ptr<platform::EnhMetafile>& out);
Outcome DrawEmf(const PictureGeometry& picture, PictureBytes& out);

// The PNG of the BMP's very pixels, its dotsPerInch in pHYs.
Outcome DrawPng(const PictureGeometry& picture, PictureBytes& out);
// The ZPL label of the BMP's very pixels drawn black on white (dark
// printed, the colours ignored), in `form` (output/zpl_label.h).
Outcome DrawZpl(const PictureGeometry& picture, const ZplForm& form, PictureBytes& out);
// The SVG document, its modules of exactModulePixels.
Outcome DrawSvg(const PictureGeometry& picture, PictureBytes& out);
// The metafiles with the dark modules as one filled shape (output/seamless_*.h).
Outcome DrawSeamlessWmf(const PictureGeometry& picture, PictureBytes& out);
Outcome DrawSeamlessEmf(const PictureGeometry& picture, PictureBytes& out);

}  // namespace ecc200

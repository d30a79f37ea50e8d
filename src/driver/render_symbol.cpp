#include "driver/render_symbol.h"

#include <memory>

#include "encoder/encode_segments.h"
#include "encoder/encoder_workspace.h"
#include "output/bmp_file.h"
#include "output/picture_bytes.h"

namespace ecc200 {
namespace {

// The calling thread's encoder workspace and symbol: allocated once, on the
// thread's first generation, reused by every later one and freed when the
// thread ends. An encoding reads nothing it has not written in the same
// call, so no call clears them; threads never share them.
struct JobEncoding {
    EncoderWorkspace workspace;
    EncodedSymbol symbol;
    const EncodeRequest request = LiteralAsciiRequest();
};

JobEncoding& ThreadJobEncoding() {
    thread_local const std::unique_ptr<JobEncoding> encoding = std::make_unique<JobEncoding>();
    return *encoding;
}

}  // namespace

const SymbolMatrix* BuildJobSymbol(std::string_view message) {
    // The nine's symbols: every byte in ASCII, the smallest square size.
    JobEncoding& job = ThreadJobEncoding();
    const Segment segment{message, 0};
    const Outcome encoded = EncodeSegments(&segment, 1, job.request, job.workspace, job.symbol);
    return encoded.ok() ? &job.symbol.matrix : nullptr;
}

Outcome CheckPictureFormat(PictureFormat format, const PictureRequest& request) {
    const DrawingStyle& style = request.style;
    switch (format) {
        case PictureFormat::Wmf: return CheckWmfExtent(style.width, style.height);
        // The seamless EMF's size depends on the merged runs; its writer
        // checks it.
        case PictureFormat::Emf:
            return request.seamless ? Outcome{} : CheckEmfExtent(style.width, style.height, style.border);
        case PictureFormat::Svg:
            return style.width > 0 && style.height > 0 ? Outcome{} : Failed(Failure::InvalidArgument);
        default: return CheckBmpExtent(style.width, style.height);  // PNG: the BMP's pixels
    }
}

std::uint64_t PictureSizeBeforeDrawing(PictureFormat format, const SymbolMatrix& symbol, const PictureRequest& request) {
    if (!CheckPictureFormat(format, request).ok()) return 0;
    const DrawingStyle& style = request.style;
    switch (format) {
        case PictureFormat::Bmp: return MonochromeGeometryOf(style.width, style.height)->fileSize;
        case PictureFormat::Emf: return request.seamless ? 0 : EnhMetafileSizeOf(symbol, style);
        default: return 0;
    }
}

Outcome RenderPicture(PictureFormat format, const SymbolMatrix& symbol, const PictureRequest& request,
                      PictureBytes& out) {
    const DrawingStyle& style = request.style;
    switch (format) {
        case PictureFormat::Wmf:
            return request.seamless ? DrawSeamlessWmf(symbol, style, request.unitsPerInch, out)
                                    : DrawWmf(symbol, style, request.unitsPerInch, out);
        case PictureFormat::Emf:
            return request.seamless ? DrawSeamlessEmf(symbol, style, request.unitsPerInch, out) : DrawEmf(symbol, style, out);
        case PictureFormat::Png: return DrawPng(symbol, style, request.dotsPerInch, out);
        case PictureFormat::Svg: return DrawSvg(symbol, style, request.svgModulePixels, request.dotsPerInch, out);
        case PictureFormat::Bmp: break;
    }
    return DrawBmp(symbol, style, out);
}

Outcome RecordPictureMetafile(const SymbolMatrix& symbol, const PictureRequest& request,
                              std::unique_ptr<platform::EnhMetafile>& out) {
    if (request.seamless) return Failed(Failure::Unsupported);
    return RecordEmf(symbol, request.style, out);
}

}  // namespace ecc200

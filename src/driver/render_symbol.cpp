#include "driver/render_symbol.h"

#include <memory>

#include "encoder/encode_segments.h"
#include "encoder/encoder_workspace.h"
#include "output/bmp_file.h"
#include "output/picture_bytes.h"
#include "output/print_documents.h"

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

Outcome CheckPictureFormat(PictureFormat format, const PictureGeometry& picture, MetafileDrawing metafiles,
                           const ZplForm& zpl) {
    switch (format) {
        case PictureFormat::Zpl: return CheckZplExtent(picture.width, picture.height, zpl);
        case PictureFormat::Wmf: return CheckWmfExtent(picture);
        // The seamless EMF's size depends on the merged blocks; its writer
        // checks it.
        case PictureFormat::Emf: return metafiles == MetafileDrawing::Seamless ? Outcome{} : CheckEmfExtent(picture);
        case PictureFormat::Svg:
        case PictureFormat::Pdf:  // their writers check the page in points
        case PictureFormat::Eps:
            return picture.width > 0 && picture.height > 0 ? Outcome{} : Failed(Failure::InvalidArgument);
        default: return CheckBmpExtent(picture);  // PNG: the BMP's pixels
    }
}

std::uint64_t PictureSizeBeforeDrawing(PictureFormat format, const PictureGeometry& picture, MetafileDrawing metafiles,
                                       const ZplForm& zpl) {
    if (!CheckPictureFormat(format, picture, metafiles, zpl).ok()) return 0;
    switch (format) {
        case PictureFormat::Bmp: return MonochromeGeometryOf(picture.width, picture.height)->fileSize;
        case PictureFormat::Emf: return metafiles == MetafileDrawing::Seamless ? 0 : EnhMetafileSizeOf(picture);
        default: return 0;
    }
}

Outcome RenderPicture(PictureFormat format, const PictureGeometry& picture, MetafileDrawing metafiles,
                      PictureBytes& out, const ZplForm& zpl) {
    const bool seamless = metafiles == MetafileDrawing::Seamless;
    switch (format) {
        case PictureFormat::Zpl: return DrawZpl(picture, zpl, out);
        case PictureFormat::Wmf: return seamless ? DrawSeamlessWmf(picture, out) : DrawWmf(picture, out);
        case PictureFormat::Emf: return seamless ? DrawSeamlessEmf(picture, out) : DrawEmf(picture, out);
        case PictureFormat::Png: return DrawPng(picture, out);
        case PictureFormat::Svg: return DrawSvg(picture, out);
        case PictureFormat::Pdf: return DrawPdf(picture, out);
        case PictureFormat::Eps: return DrawEps(picture, out);
        case PictureFormat::Bmp: break;
    }
    return DrawBmp(picture, out);
}

Outcome RecordPictureMetafile(const PictureGeometry& picture, MetafileDrawing metafiles,
                              std::unique_ptr<platform::EnhMetafile>& out) {
    if (metafiles == MetafileDrawing::Seamless) return Failed(Failure::Unsupported);
    return RecordEmf(picture, out);
}

}  // namespace ecc200

#include "driver/render_symbol.h"

#include <memory>

#include "encoder/build_symbol.h"
#include "output/bmp_file.h"
#include "output/picture_bytes.h"

namespace ecc200 {
namespace {

// The calling thread's working state: allocated (and cleared) once, on the
// thread's first generation, reused by every later one and freed when the
// thread ends. The stages read nothing they have not written in the same
// call, so no call clears it; threads never share one.
EncoderWorkingState& ThreadWorkingState() {
    thread_local const std::unique_ptr<EncoderWorkingState> state = std::make_unique<EncoderWorkingState>();
    return *state;
}

// The one place that says which formats and options this build draws:
// PNG and SVG join here when their writers move into src/output, the
// seamless metafiles when their writers land.
Outcome CheckProvided(PictureFormat format, const PictureRequest& request) {
    switch (format) {
        case PictureFormat::Bmp: return {};
        case PictureFormat::Wmf:
        case PictureFormat::Emf: return request.seamless ? Failed(Failure::Unsupported) : Outcome{};
        case PictureFormat::Png:
        case PictureFormat::Svg: return Failed(Failure::Unsupported);
    }
    return Failed(Failure::InvalidArgument);
}

}  // namespace

const SymbolMatrix* BuildJobSymbol(std::string_view message) {
    EncoderWorkingState& state = ThreadWorkingState();
    return BuildSymbol(message, state) ? &state.symbol : nullptr;
}

Outcome CheckPictureFormat(PictureFormat format, const PictureRequest& request) {
    if (const Outcome provided = CheckProvided(format, request); !provided.ok()) return provided;
    const DrawingStyle& style = request.style;
    switch (format) {
        case PictureFormat::Wmf: return CheckWmfExtent(style.width, style.height);
        case PictureFormat::Emf: return CheckEmfExtent(style.width, style.height, style.border);
        default: return CheckBmpExtent(style.width, style.height);
    }
}

std::uint64_t PictureSizeBeforeDrawing(PictureFormat format, const SymbolMatrix& symbol, const PictureRequest& request) {
    if (!CheckPictureFormat(format, request).ok()) return 0;
    const DrawingStyle& style = request.style;
    switch (format) {
        case PictureFormat::Bmp: return MonochromeGeometryOf(style.width, style.height)->fileSize;
        case PictureFormat::Emf: return EnhMetafileSizeOf(symbol, style);
        default: return 0;
    }
}

Outcome RenderPicture(PictureFormat format, const SymbolMatrix& symbol, const PictureRequest& request,
                      PictureBytes& out) {
    if (const Outcome provided = CheckProvided(format, request); !provided.ok()) return provided;
    switch (format) {
        case PictureFormat::Wmf: return DrawWmf(symbol, request.style, request.unitsPerInch, out);
        case PictureFormat::Emf: return DrawEmf(symbol, request.style, out);
        default: return DrawBmp(symbol, request.style, out);
    }
}

Outcome RecordPictureMetafile(const SymbolMatrix& symbol, const PictureRequest& request,
                              std::unique_ptr<platform::EnhMetafile>& out) {
    if (const Outcome provided = CheckProvided(PictureFormat::Emf, request); !provided.ok()) return provided;
    return RecordEmf(symbol, request.style, out);
}

}  // namespace ecc200

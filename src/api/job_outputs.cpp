#include "api/job_outputs.h"

#include <algorithm>
#include <cerrno>

#include "driver/picture_scratch.h"
#include "encoder/module_matrix.h"
#include "output/picture_bytes.h"
#include "output/picture_delivery.h"
#include "render/draw_symbol.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

bool Fail(const Outcome& outcome) {
    errno = ErrnoOf(outcome);
    return false;
}

// The job's picture before its module size is known: enough for the
// format's checks, which look at the sides and the frame only. The nine's
// placeable header states the screen's horizontal resolution.
PictureGeometry UnsizedPicture(const PictureStyle& style) {
    const std::int32_t screenDpi = platform::GetScreenMetrics().logPixelsX;
    return PictureGeometry{nullptr,          style.width,   style.height, 0, style.orientation, style.border,
                           style.barColour, style.backgroundColour, screenDpi, screenDpi, 0.0};
}

// The checks, the symbol and the resolved request, in the order the nine
// have always reported: an empty picture, a picture past the format, a
// message too long.
Outcome PrepareJob(PictureFormat format, const SymbolJob& job, std::int32_t& modulePixels, PictureGeometry& picture) {
    picture = UnsizedPicture(job.style);
    if (const Outcome fits = CheckPictureFormat(format, picture, MetafileDrawing::GdiFaithful); !fits.ok()) return fits;
    const SymbolMatrix* symbol = BuildJobSymbol(job.message);
    if (symbol == nullptr) return Failed(Failure::MessageTooLong);
    picture = ResolveJobStyle(job.style, *symbol, modulePixels);
    return {};
}

Outcome SaveJob(PictureFormat format, const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
                const platform::SaveOptions& options) {
    if (fileName == nullptr) return Failed(Failure::InvalidArgument);
    PictureGeometry geometry{};
    if (const Outcome prepared = PrepareJob(format, job, modulePixels, geometry); !prepared.ok()) return prepared;
    ScratchPictureBytes scratch;
    PictureBytes& picture = scratch.get();
    if (const Outcome drawn = RenderPicture(format, geometry, MetafileDrawing::GdiFaithful, picture); !drawn.ok())
        return drawn;
    return SaveToFile(fileName, picture, options);
}

}  // namespace

int ErrnoOf(const Outcome& outcome) {
    switch (outcome.failure) {
        case Failure::None: return 0;
        case Failure::MessageTooLong: return E2BIG;
        case Failure::PictureTooLarge: return EFBIG;
        case Failure::OutOfMemory: return ENOMEM;
        case Failure::FileError: return outcome.systemError;
        case Failure::ClipboardRefused: return EBUSY;
        default: return EINVAL;
    }
}

PictureGeometry ResolveJobStyle(const PictureStyle& style, const SymbolMatrix& symbol, std::int32_t& modulePixels) {
    const platform::ScreenMetrics screen = platform::GetScreenMetrics();
    const bool quarterTurn = style.orientation == 1 || style.orientation == 3;
    const std::int32_t dotsPerInch = quarterTurn ? screen.logPixelsY : screen.logPixelsX;
    modulePixels = ModulePixels(dotsPerInch, style.moduleCentimetres, modulePixels,
                                std::max(symbol.rows(), symbol.cols()), std::max(style.width, style.height));
    return PictureGeometry{&symbol,         style.width,          style.height, modulePixels,
                           style.orientation, style.border,       style.barColour, style.backgroundColour,
                           dotsPerInch,     screen.logPixelsX,    static_cast<double>(modulePixels)};
}

bool RenderSymbol(const SymbolJob& job, platform::DeviceContext& dc, std::int32_t originX, std::int32_t originY,
                  std::int32_t& modulePixels) {
    const SymbolMatrix* symbol = BuildJobSymbol(job.message);
    if (symbol == nullptr) return Fail(Failed(Failure::MessageTooLong));
    PictureGeometry picture = ResolveJobStyle(job.style, *symbol, modulePixels);
    picture.originX = originX;
    picture.originY = originY;
    DrawSymbol(picture, dc);
    return true;
}

std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels) {
    PictureGeometry picture{};
    std::unique_ptr<platform::EnhMetafile> metafile;
    Outcome outcome = PrepareJob(PictureFormat::Emf, job, modulePixels, picture);
    if (outcome.ok()) outcome = RecordPictureMetafile(picture, MetafileDrawing::GdiFaithful, metafile);
    if (!outcome.ok()) Fail(outcome);
    return metafile;
}

bool CopyToClipboard(const SymbolJob& job, std::int32_t& modulePixels) {
    std::unique_ptr<platform::EnhMetafile> metafile = RecordEnhMetafile(job, modulePixels);
    if (!metafile) return false;
    const Outcome put = PutOnClipboard(std::move(metafile));
    return put.ok() || Fail(put);
}

bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options) {
    const Outcome saved = SaveJob(PictureFormat::Wmf, fileName, job, modulePixels, options);
    return saved.ok() || Fail(saved);
}

bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options) {
    const Outcome saved = SaveJob(PictureFormat::Bmp, fileName, job, modulePixels, options);
    return saved.ok() || Fail(saved);
}

}  // namespace ecc200

#include "api/job_outputs.h"

#include <algorithm>
#include <cerrno>

#include "driver/picture_scratch.h"
#include "encoder/module_matrix.h"
#include "output/picture_bytes.h"
#include "output/picture_delivery.h"
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
PictureRequest UnsizedRequest(const PictureStyle& style) {
    return PictureRequest{DrawingStyle{style.width, style.height, 0, style.orientation, style.border, style.barColour,
                                       style.backgroundColour},
                          platform::GetScreenMetrics().logPixelsX, false};
}

// The checks, the symbol and the resolved request, in the order the nine
// have always reported: an empty picture, a picture past the format, a
// message too long.
Outcome PrepareJob(PictureFormat format, const SymbolJob& job, std::int32_t& modulePixels, PictureRequest& request,
                   const SymbolMatrix*& symbol) {
    request = UnsizedRequest(job.style);
    if (const Outcome fits = CheckPictureFormat(format, request); !fits.ok()) return fits;
    symbol = BuildJobSymbol(job.message);
    if (symbol == nullptr) return Failed(Failure::MessageTooLong);
    request.style = ResolveJobStyle(job.style, *symbol, modulePixels);
    return {};
}

Outcome SaveJob(PictureFormat format, const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
                const platform::SaveOptions& options) {
    if (fileName == nullptr) return Failed(Failure::InvalidArgument);
    PictureRequest request{};
    const SymbolMatrix* symbol = nullptr;
    if (const Outcome prepared = PrepareJob(format, job, modulePixels, request, symbol); !prepared.ok()) return prepared;
    ScratchPictureBytes scratch;
    PictureBytes& picture = scratch.get();
    if (const Outcome drawn = RenderPicture(format, *symbol, request, picture); !drawn.ok()) return drawn;
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

DrawingStyle ResolveJobStyle(const PictureStyle& style, const SymbolMatrix& symbol, std::int32_t& modulePixels) {
    const platform::ScreenMetrics screen = platform::GetScreenMetrics();
    const bool quarterTurn = style.orientation == 1 || style.orientation == 3;
    const std::int32_t dotsPerInch = quarterTurn ? screen.logPixelsY : screen.logPixelsX;
    modulePixels = ModulePixels(dotsPerInch, style.moduleCentimetres, modulePixels,
                                std::max(symbol.rows(), symbol.cols()), std::max(style.width, style.height));
    return DrawingStyle{style.width, style.height, modulePixels, style.orientation, style.border, style.barColour,
                        style.backgroundColour};
}

bool RenderSymbol(const SymbolJob& job, const DrawingTarget& target, std::int32_t& modulePixels) {
    const SymbolMatrix* symbol = BuildJobSymbol(job.message);
    if (symbol == nullptr) return Fail(Failed(Failure::MessageTooLong));
    DrawSymbol(*symbol, ResolveJobStyle(job.style, *symbol, modulePixels), target);
    return true;
}

std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels) {
    PictureRequest request{};
    const SymbolMatrix* symbol = nullptr;
    std::unique_ptr<platform::EnhMetafile> metafile;
    Outcome outcome = PrepareJob(PictureFormat::Emf, job, modulePixels, request, symbol);
    if (outcome.ok()) outcome = RecordPictureMetafile(*symbol, request, metafile);
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

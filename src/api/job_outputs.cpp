#include "api/job_outputs.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <iterator>

#include "api/diagnosis.h"
#include "api/picture_request.h"
#include "driver/picture_scratch.h"
#include "encoder/module_matrix.h"
#include "output/picture_bytes.h"
#include "output/picture_delivery.h"
#include "render/draw_symbol.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

// Every failure and the errno value the nine leave for it; a file error
// keeps the system's own number.
struct ErrnoOfFailure {
    Failure failure;
    int errnoValue;
};
constexpr ErrnoOfFailure kErrnoValues[] = {
    {Failure::None, 0},
    {Failure::InvalidArgument, EINVAL},
    {Failure::MessageTooLong, E2BIG},
    {Failure::PictureTooLarge, EFBIG},
    {Failure::OutOfMemory, ENOMEM},
    {Failure::FileError, 0},  // Outcome::systemError
    {Failure::Unsupported, EINVAL},
    {Failure::SymbolCropped, EINVAL},
    {Failure::WriteRefused, EINVAL},
    {Failure::BufferTooSmall, EINVAL},
    {Failure::ClipboardRefused, EBUSY},
    {Failure::InvalidData, EINVAL},
};

// One row per failure, in the order Failure lists them up to its last,
// InvalidData: the index of a failure is its row.
constexpr bool EveryFailureInOrder() {
    for (std::size_t i = 0; i < std::size(kErrnoValues); ++i) {
        if (kErrnoValues[i].failure != static_cast<Failure>(i)) return false;
    }
    return kErrnoValues[std::size(kErrnoValues) - 1].failure == Failure::InvalidData;
}
static_assert(EveryFailureInOrder());

// A module of this many centimetres is no whole pixel at any resolution a
// 32-bit dpi can state (2^31 x 1e-9 / 2.54 < 1): how a picture asks for the
// nine's modules of 0 pixels, which draw the background and frame alone.
constexpr double kNoWholePixel = 1e-9;

bool Fail(const Outcome& outcome) {
    errno = ErrnoOf(outcome);
    return false;
}

// The frame as the per-call picture states it. DMSetInfo stores 0 to 2
// only; any other style the drawing has always drawn dashed (a frame that
// is neither none nor solid).
std::int32_t BorderOf(BorderStyle border) {
    switch (border) {
        case BorderStyle::None: return ECC200_BORDER_NONE;
        case BorderStyle::Solid: return ECC200_BORDER_SOLID;
        default: return ECC200_BORDER_DASHED;
    }
}

// The job's picture before its module size is known: enough for the
// format's checks, which look at the sides and the frame only. The nine's
// placeable header states the screen's horizontal resolution.
PictureGeometry UnsizedPicture(const PictureStyle& style) {
    const std::int32_t screenDpi = platform::GetScreenMetrics().logPixelsX;
    return PictureGeometry{nullptr,          style.width,   style.height, 0, style.orientation, style.border,
                           style.barColour, style.backgroundColour, screenDpi, screenDpi, 0.0};
}

// The checks, the symbol and the geometry, in the order the nine have
// always reported: an empty picture, a picture past the format, a message
// too long. Then the per-call interface's own path: the picture resolved
// and checked against the format.
Outcome PrepareJob(PictureFormat format, const SymbolJob& job, std::int32_t& modulePixels, PictureGeometry& picture) {
    picture = UnsizedPicture(job.style);
    if (const Outcome fits = CheckPictureFormat(format, picture, MetafileDrawing::GdiFaithful); !fits.ok()) return fits;
    const SymbolMatrix* symbol = BuildJobSymbol(job.message);
    if (symbol == nullptr) return Failed(Failure::MessageTooLong);
    Diagnosis diagnosis;
    const ecc200_picture request = PictureOfJob(job.style, *symbol, modulePixels);
    if (const Outcome resolved = ResolvePicture(request, format, *symbol, picture, diagnosis); !resolved.ok())
        return resolved;
    return CheckPictureFormat(format, picture, MetafileDrawing::GdiFaithful);
}

Outcome SaveJob(PictureFormat format, const char* fileName, const SymbolJob& job, std::int32_t& modulePixels) {
    if (fileName == nullptr) return Failed(Failure::InvalidArgument);
    PictureGeometry geometry{};
    if (const Outcome prepared = PrepareJob(format, job, modulePixels, geometry); !prepared.ok()) return prepared;
    ScratchPictureBytes scratch;
    PictureBytes& picture = scratch.get();
    if (const Outcome drawn = RenderPicture(format, geometry, MetafileDrawing::GdiFaithful, picture); !drawn.ok())
        return drawn;
    return SaveToFile(fileName, picture);
}

}  // namespace

int ErrnoOf(const Outcome& outcome) {
    if (outcome.failure == Failure::FileError) return outcome.systemError;
    return kErrnoValues[static_cast<std::size_t>(outcome.failure)].errnoValue;
}

ecc200_picture PictureOfJob(const PictureStyle& style, const SymbolMatrix& symbol, std::int32_t& modulePixels) {
    const platform::ScreenMetrics screen = platform::GetScreenMetrics();
    const bool quarterTurn = style.orientation == 1 || style.orientation == 3;
    const std::int32_t dotsPerInch = quarterTurn ? screen.logPixelsY : screen.logPixelsX;
    // Exactly 0 keeps the previous pixels; a module past 32-bit coordinates
    // is clamped, not refused (render/layout.h).
    modulePixels = ModulePixels(dotsPerInch, style.moduleCentimetres, modulePixels,
                                std::max(symbol.rows(), symbol.cols()), std::max(style.width, style.height));
    ecc200_picture picture{};
    picture.struct_size = sizeof picture;
    picture.width = style.width;
    picture.height = style.height;
    picture.module_px = modulePixels;
    picture.module_cm = modulePixels > 0 ? 0.0 : kNoWholePixel;
    picture.dpi = 0;  // the screen's
    picture.quarter_turns = style.orientation;
    picture.border = BorderOf(style.border);
    picture.bar = ColourRefOf(style.barColour);  // COLORREF and 0xRRGGBB swap the same two bytes
    picture.background = ColourRefOf(style.backgroundColour);
    picture.allow_crop = 1;
    return picture;
}

PictureGeometry ResolveJobStyle(const PictureStyle& style, const SymbolMatrix& symbol, std::int32_t& modulePixels) {
    PictureGeometry geometry = UnsizedPicture(style);
    const ecc200_picture picture = PictureOfJob(style, symbol, modulePixels);
    geometry.symbol = &symbol;
    geometry.modulePixels = modulePixels;
    geometry.exactModulePixels = static_cast<double>(modulePixels);
    // An empty picture, which the outputs refuse, is drawn as given.
    Diagnosis diagnosis;
    if (style.width > 0 && style.height > 0) ResolvePicture(picture, PictureFormat::Bmp, symbol, geometry, diagnosis);
    return geometry;
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

bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels) {
    const Outcome saved = SaveJob(PictureFormat::Wmf, fileName, job, modulePixels);
    return saved.ok() || Fail(saved);
}

bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels) {
    const Outcome saved = SaveJob(PictureFormat::Bmp, fileName, job, modulePixels);
    return saved.ok() || Fail(saved);
}

}  // namespace ecc200

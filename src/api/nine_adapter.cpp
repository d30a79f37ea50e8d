#include "api/nine_adapter.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <limits>

#include "api/diagnosis.h"
#include "api/picture_request.h"
#include "common/indexed_table.h"
#include "driver/picture_scratch.h"
#include "encoder/module_matrix.h"
#include "output/picture_bytes.h"
#include "output/picture_delivery.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

// Every status and what the nine make of it: their one-byte result and the
// errno value they leave.
constexpr int kSystemsOwnNumber = -1;  // the outcome's systemError: the file's, or EBUSY for the clipboard
struct NineResultOfStatus {
    ecc200_status status;
    unsigned char result;
    int errnoValue;
};
constexpr NineResultOfStatus kNineResults[] = {
    {ECC200_OK, 1, 0},
    {ECC200_INVALID_ARGUMENT, 0, EINVAL},
    {ECC200_MESSAGE_TOO_LONG, 0, E2BIG},
    {ECC200_PICTURE_TOO_LARGE, 0, EFBIG},
    {ECC200_OUT_OF_MEMORY, 0, ENOMEM},
    {ECC200_FILE_ERROR, 0, kSystemsOwnNumber},
    {ECC200_UNSUPPORTED, 0, EINVAL},
    {ECC200_SYMBOL_CROPPED, 0, EINVAL},
    {ECC200_BUFFER_TOO_SMALL, 0, EINVAL},
    {ECC200_WRITE_REFUSED, 0, EINVAL},
    {ECC200_INVALID_DATA, 0, EINVAL},
};
// One row per status, in their order: a status is its row.
static_assert(RowsInKeyOrder(kNineResults, &NineResultOfStatus::status, ECC200_INVALID_DATA));

// The nine's result for an outcome; on failure errno is set from the same
// row.
bool NineResult(const Outcome& outcome) {
    const NineResultOfStatus& row = kNineResults[static_cast<std::size_t>(StatusOf(outcome))];
    if (row.result == 0) errno = row.errnoValue == kSystemsOwnNumber ? outcome.systemError : row.errnoValue;
    return row.result == 1;
}

// A module of this many centimetres is no whole pixel at any resolution a
// 32-bit dpi can state (2^31 x 1e-9 / 2.54 < 1): how a picture asks for the
// nine's modules of 0 pixels, which draw the background and frame alone.
constexpr double kNoWholePixel = 1e-9;

// The frame as the per-call picture states it. DMSetInfo stores 0 to 2
// only; any other style the drawing has always drawn dashed (a frame that
// is neither none nor solid).
std::int32_t BorderOf(std::int16_t border) {
    switch (border) {
        case ECC200_BORDER_NONE: return ECC200_BORDER_NONE;
        case ECC200_BORDER_SOLID: return ECC200_BORDER_SOLID;
        default: return ECC200_BORDER_DASHED;
    }
}

// The checks the nine have always made before the symbol is built, in their
// order: an empty picture, a picture past the format (its sides and frame,
// at the screen's horizontal resolution that the placeable header states).
Outcome CheckSidesForFormat(const DMSettings& settings, PictureFormat format) {
    const std::int32_t screenDpi = platform::GetScreenMetrics().logPixelsX;
    const PictureGeometry sides{nullptr, settings.width, settings.height, 0, settings.orientation,
                                static_cast<BorderStyle>(settings.borderStyle), settings.barColour,
                                settings.backgroundColour, screenDpi, screenDpi, 0.0};
    return CheckPictureFormat(format, sides, MetafileDrawing::GdiFaithful);
}

// The sides checked, then a message too long, then the per-call interface's
// own path: the picture resolved and checked against the format.
Outcome PrepareOutput(PictureFormat format, const DMSettings& settings, std::int32_t& modulePixels,
                      PictureGeometry& geometry) {
    if (const Outcome fits = CheckSidesForFormat(settings, format); !fits.ok()) return fits;
    const SymbolMatrix* symbol = BuildJobSymbol(settings.messageBytes());
    if (symbol == nullptr) return Failed(Failure::MessageTooLong);
    if (const Outcome resolved = ResolveSettings(settings, format, *symbol, modulePixels, geometry); !resolved.ok())
        return resolved;
    return CheckPictureFormat(format, geometry, MetafileDrawing::GdiFaithful);
}

Outcome SaveOutput(PictureFormat format, const char* fileName, const DMSettings& settings,
                   std::int32_t& modulePixels) {
    if (fileName == nullptr) return Failed(Failure::InvalidArgument);
    PictureGeometry geometry{};
    if (const Outcome prepared = PrepareOutput(format, settings, modulePixels, geometry); !prepared.ok())
        return prepared;
    ScratchPictureBytes scratch;
    PictureBytes& picture = scratch.get();
    if (const Outcome drawn = RenderPicture(format, geometry, MetafileDrawing::GdiFaithful, picture); !drawn.ok())
        return drawn;
    return SaveToFile(fileName, picture);
}

// The module size in pixels of the previous drawing, reused when the module
// size setting is exactly 0.
std::int32_t& PreviousModulePixels() {
    static std::int32_t modulePixels = 0;
    return modulePixels;
}

// One exported output under the lock, on the record; every failure, an
// exhausted memory included, is the result 0.
template <typename Output>
unsigned char RunOutput(Output output) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    try {
        return output(Settings(), PreviousModulePixels()) ? 1 : 0;
    } catch (...) {
        // Nothing may unwind into a C caller.
        return 0;
    }
}

}  // namespace

std::string_view DMSettings::messageBytes() const {
    // The field is always terminated within its 2000 bytes.
    return std::string_view(message.data(), std::strlen(message.data()));
}

DMSettings& Settings() {
    static DMSettings settings;
    return settings;
}

std::mutex& ApiMutex() {
    static std::mutex mutex;
    return mutex;
}

void ApplyDefaults(DMSettings& settings) {
    settings.borderStyle = 0;
    settings.orientation = 0;
    settings.moduleSize = kDefaultModuleSize;
    settings.backgroundColour = kWhite;
    settings.barColour = 0;
    ApplyMessage(settings, kDefaultMessage.data());
    settings.height = kDefaultHeight;
    settings.width = kDefaultWidth;
}

void ApplySize(DMSettings& settings, int width, int height) {
    settings.height = height > 0 ? height : kDefaultHeight;
    settings.width = width > 0 ? width : kDefaultWidth;
}

void ApplyMessage(DMSettings& settings, const char* text) {
    // NULL stores the empty message; a longer string keeps its first 1999
    // bytes. Never reads past the terminator or past 1999 bytes.
    std::size_t length = 0;
    if (text != nullptr) {
        while (length < static_cast<std::size_t>(kMaxMessageBytes) && text[length] != '\0') ++length;
        std::memcpy(settings.message.data(), text, length);
    }
    settings.message[length] = '\0';
}

void ApplyInfo(DMSettings& settings, double moduleSize, int orientation, int borderStyle) {
    // "moduleSize > 0" is false for NaN too. A size beyond the float range is
    // stored as infinity rather than converted (out-of-range conversion is
    // undefined); a positive size below it rounds, possibly to 0.
    if (moduleSize > 0) {
        const double largest = std::numeric_limits<float>::max();
        settings.moduleSize = moduleSize > largest ? std::numeric_limits<float>::infinity() : static_cast<float>(moduleSize);
    } else {
        settings.moduleSize = kDefaultModuleSize;
    }
    settings.borderStyle = static_cast<std::int16_t>(borderStyle >= 0 && borderStyle <= 2 ? borderStyle : 0);
    settings.orientation = static_cast<std::int16_t>(orientation >= 0 && orientation <= 3 ? orientation : 0);
}

std::uint32_t ColourFromComponents(int red, int green, int blue) {
    const auto component = [](int value) { return static_cast<std::uint32_t>(value >= 0 && value <= 255 ? value : 0); };
    return component(red) | component(green) << 8 | component(blue) << 16;
}

ecc200_picture PictureOfSettings(const DMSettings& settings, const SymbolMatrix& symbol, std::int32_t& modulePixels) {
    const platform::ScreenMetrics screen = platform::GetScreenMetrics();
    const bool quarterTurn = settings.orientation == 1 || settings.orientation == 3;
    const std::int32_t dotsPerInch = quarterTurn ? screen.logPixelsY : screen.logPixelsX;
    // Exactly 0 keeps the previous pixels; a module past 32-bit coordinates
    // is clamped, not refused (render/layout.h).
    modulePixels = ModulePixels(dotsPerInch, settings.moduleSize, modulePixels, std::max(symbol.rows(), symbol.cols()),
                                std::max(settings.width, settings.height));
    ecc200_picture picture{};
    picture.struct_size = sizeof picture;
    picture.width = settings.width;
    picture.height = settings.height;
    picture.module_px = modulePixels;
    picture.module_cm = modulePixels > 0 ? 0.0 : kNoWholePixel;
    picture.dpi = 0;  // the screen's
    picture.quarter_turns = settings.orientation;
    picture.border = BorderOf(settings.borderStyle);
    picture.bar = ColourRefOf(settings.barColour);  // COLORREF and 0xRRGGBB swap the same two bytes
    picture.background = ColourRefOf(settings.backgroundColour);
    picture.allow_crop = 1;
    return picture;
}

Outcome ResolveSettings(const DMSettings& settings, PictureFormat format, const SymbolMatrix& symbol,
                        std::int32_t& modulePixels, PictureGeometry& geometry) {
    const ecc200_picture picture = PictureOfSettings(settings, symbol, modulePixels);
    Diagnosis diagnosis;
    return ResolvePicture(picture, format, symbol, geometry, diagnosis);
}

std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const DMSettings& settings, std::int32_t& modulePixels) {
    PictureGeometry geometry{};
    std::unique_ptr<platform::EnhMetafile> metafile;
    Outcome outcome = PrepareOutput(PictureFormat::Emf, settings, modulePixels, geometry);
    if (outcome.ok()) outcome = RecordPictureMetafile(geometry, MetafileDrawing::GdiFaithful, metafile);
    if (!outcome.ok()) NineResult(outcome);
    return metafile;
}

bool CopyToClipboard(const DMSettings& settings, std::int32_t& modulePixels) {
    std::unique_ptr<platform::EnhMetafile> metafile = RecordEnhMetafile(settings, modulePixels);
    if (!metafile) return false;
    const Outcome put = PutOnClipboard(std::move(metafile));
    return NineResult(put);
}

bool SaveAsWmf(const char* fileName, const DMSettings& settings, std::int32_t& modulePixels) {
    const Outcome saved = SaveOutput(PictureFormat::Wmf, fileName, settings, modulePixels);
    return NineResult(saved);
}

bool SaveAsBmp(const char* fileName, const DMSettings& settings, std::int32_t& modulePixels) {
    const Outcome saved = SaveOutput(PictureFormat::Bmp, fileName, settings, modulePixels);
    return NineResult(saved);
}

}  // namespace ecc200

using ecc200::ApiMutex;
using ecc200::Settings;

extern "C" {

ECC200_API void ECC200_CALL DMSetDefault(void) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplyDefaults(Settings());
}

ECC200_API void ECC200_CALL DMSetSize(int width, int height) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplySize(Settings(), width, height);
}

ECC200_API void ECC200_CALL DMSetMessage(const char* text) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplyMessage(Settings(), text);
}

ECC200_API void ECC200_CALL DMSetInfo(double moduleSize, int orientation, int borderStyle) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    ecc200::ApplyInfo(Settings(), moduleSize, orientation, borderStyle);
}

ECC200_API void ECC200_CALL DMSetBackColor(int red, int green, int blue) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    Settings().backgroundColour = ecc200::ColourFromComponents(red, green, blue);
}

ECC200_API void ECC200_CALL DMSetBarColor(int red, int green, int blue) {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    Settings().barColour = ecc200::ColourFromComponents(red, green, blue);
}

ECC200_API unsigned char ECC200_CALL DMCopyToClipboard(void) { return ecc200::RunOutput(ecc200::CopyToClipboard); }

ECC200_API unsigned char ECC200_CALL DMSaveAsWMF(const char* fileName) {
    return ecc200::RunOutput([fileName](const ecc200::DMSettings& settings, std::int32_t& modulePixels) {
        return ecc200::SaveAsWmf(fileName, settings, modulePixels);
    });
}

ECC200_API unsigned char ECC200_CALL DMSaveAsBMP(const char* fileName) {
    return ecc200::RunOutput([fileName](const ecc200::DMSettings& settings, std::int32_t& modulePixels) {
        return ecc200::SaveAsBmp(fileName, settings, modulePixels);
    });
}

}  // extern "C"

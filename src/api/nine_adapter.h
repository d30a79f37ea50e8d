// The nine DM functions, as one thin adapter on the per-call interface: the
// process-wide settings record the setters write, its mapping onto an
// ecc200_picture (cropping allowed, the module resolved by the nine's rules:
// a module size of exactly 0 keeps the previous drawing's pixels), and one
// table from the status of a call to the nine's result and errno. The
// outputs draw along the path ecc200_save and ecc200_copy_to_clipboard take
// (ResolvePicture, CheckPictureFormat, RenderPicture, SaveToFile or the
// clipboard); the symbol is the nine's: ASCII encodation, squares
// (BuildJobSymbol). No other code of the library knows the record.
//
// On every result 0 errno holds the cause, for strerror:
// - EINVAL: no file name, or an empty picture (width or height below 1);
// - E2BIG: the message needs more than 1558 codewords;
// - EFBIG: the picture is larger than the format holds (a BMP past 32-bit
//   sizes, a WMF past 32767 pixels a side, an EMF past 32-bit nBytes);
// - ENOMEM: memory for the picture or its recording cannot be had;
// - from saving: EACCES, ENOSPC, ENOENT, EISDIR, EROFS, ELOOP, EPIPE, ...;
// - EBUSY: the clipboard did not take the metafile.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

#include "common/failure.h"
#include "driver/render_symbol.h"
#include "ecc200.h"
#include "platform/drawing_surface.h"

namespace ecc200 {

constexpr int kMessageFieldSize = 2000;  // 1999 bytes and the terminator
constexpr int kMaxMessageBytes = kMessageFieldSize - 1;

struct DMSettings {
    std::uint32_t barColour = 0;         // COLORREF: red in the low byte, then green, then blue
    std::uint32_t backgroundColour = 0;
    std::int32_t width = 0;              // picture size in pixels
    std::int32_t height = 0;
    std::int16_t borderStyle = 0;        // 0 none, 1 dashed, 2 solid
    float moduleSize = 0.0f;             // module edge in centimetres
    std::int16_t orientation = 0;        // counter-clockwise quarter turns, 0 to 3
    std::array<char, kMessageFieldSize> message{};  // zero-terminated

    std::string_view messageBytes() const;
};

// The record as the library was loaded: all zero.
DMSettings& Settings();

// Taken by every exported function for its whole duration.
std::mutex& ApiMutex();

// Values that DMSetDefault stores.
constexpr std::int32_t kDefaultWidth = 500;
constexpr std::int32_t kDefaultHeight = 300;
constexpr float kDefaultModuleSize = 0.2f;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::string_view kDefaultMessage = "12";

// The setters' rules, on a record passed in (the exports apply them to
// Settings()).
void ApplyDefaults(DMSettings& settings);
void ApplySize(DMSettings& settings, int width, int height);
void ApplyMessage(DMSettings& settings, const char* text);
void ApplyInfo(DMSettings& settings, double moduleSize, int orientation, int borderStyle);
std::uint32_t ColourFromComponents(int red, int green, int blue);

// The record's picture of `symbol` as the per-call interface takes it: the
// sides as given, cropping allowed, the screen's resolution, and the module
// in whole pixels from the screen's resolution along the axis the symbol's
// rows run on; a module size of exactly 0 keeps `modulePixels`, which is
// updated to the size used.
ecc200_picture PictureOfSettings(const DMSettings& settings, const SymbolMatrix& symbol, std::int32_t& modulePixels);

// That picture resolved as the per-call interface resolves it for `format`:
// the geometry the outputs draw.
Outcome ResolveSettings(const DMSettings& settings, PictureFormat format, const SymbolMatrix& symbol,
                        std::int32_t& modulePixels, PictureGeometry& geometry);

// The outputs on a record passed in (the exports run them on Settings()
// under the lock), the record's message the symbol's: false, or nothing,
// with errno set on failure.
std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const DMSettings& settings, std::int32_t& modulePixels);
bool CopyToClipboard(const DMSettings& settings, std::int32_t& modulePixels);
bool SaveAsWmf(const char* fileName, const DMSettings& settings, std::int32_t& modulePixels);
bool SaveAsBmp(const char* fileName, const DMSettings& settings, std::int32_t& modulePixels);

}  // namespace ecc200

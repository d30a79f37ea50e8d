// A picture described as the nine DM functions describe it: their settings
// record, the values stored as given (the setters' own rules are tested in
// tests/api), and the geometry their outputs draw of it.
#pragma once

#include <cstdint>
#include <string>

#include "api/nine_adapter.h"
#include "render/picture_geometry.h"

namespace ecc200::test {

// Colours as COLORREF (0x00BBGGRR); `border` stored as its number, so that
// a frame DMSetInfo never stores can be drawn too.
inline DMSettings NineSettings(std::int32_t width, std::int32_t height, float centimetres, int orientation,
                               BorderStyle border, std::uint32_t bar = 0x000000, std::uint32_t background = 0xFFFFFF) {
    DMSettings settings;
    settings.width = width;
    settings.height = height;
    settings.moduleSize = centimetres;
    settings.orientation = static_cast<std::int16_t>(orientation);
    settings.borderStyle = static_cast<std::int16_t>(border);
    settings.barColour = bar;
    settings.backgroundColour = background;
    return settings;
}

// The settings with `message` stored as DMSetMessage stores it.
inline DMSettings WithMessage(DMSettings settings, const std::string& message) {
    ApplyMessage(settings, message.c_str());
    return settings;
}

// The geometry the nine's outputs draw of `symbol` (as a BMP);
// `modulePixels` is the previous drawing's module, updated to this one's.
inline PictureGeometry NinesGeometry(const DMSettings& settings, const SymbolMatrix& symbol,
                                     std::int32_t& modulePixels) {
    PictureGeometry geometry{};
    ResolveSettings(settings, PictureFormat::Bmp, symbol, modulePixels, geometry);
    return geometry;
}

}  // namespace ecc200::test

#include "picture_geometry.h"

#include <cstdio>
#include <sstream>
#include <system_error>

namespace ecc200::tool {
namespace {

constexpr double kCentimetresPerInch = 2.54;
// Laid out on the smallest square (10 x 10 modules): the module's pixels do
// not depend on the symbol.
constexpr const char* kProbeMessage = "12";
constexpr double kTolerableShrink = 0.9;  // a module drawn up to 10 % below the size asked passes unremarked

bool QuarterTurned(const Picture& picture) { return picture.quarter_turns % 2 != 0; }

// The symbol's extent in modules along the picture's width and height.
PixelSize SymbolModules(const Symbol& symbol, const Picture& picture) {
    const bool turned = QuarterTurned(picture);
    return {turned ? symbol.rows() : symbol.columns(), turned ? symbol.columns() : symbol.rows()};
}

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string Centimetres(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

}  // namespace

std::optional<ModuleMeasure> MeasureModule(const Picture& picture, Format format) {
    std::error_code error;
    const Symbol probe = encode(kProbeMessage, {}, error);
    if (error) return std::nullopt;
    Picture fitted = picture;
    fitted.width = fitted.height = fitted.quiet_zone = fitted.quarter_turns = 0;
    fitted.border = Border::none;
    try {
        const Layout laid = layout(probe, fitted, format);
        return ModuleMeasure{laid.module_px, laid.dpi};
    } catch (const Error& refusal) {
        if (refusal.code() == Status::invalid_argument) throw;
        return std::nullopt;
    }
}

PixelSize PictureSizeOf(const Symbol& symbol, const Picture& picture, int modulePixels) {
    if (picture.width > 0 && picture.height > 0) return {picture.width, picture.height};
    const PixelSize modules = SymbolModules(symbol, picture);
    const std::int64_t margin = 2 * std::int64_t{picture.quiet_zone};
    return {(modules.width + margin) * modulePixels, (modules.height + margin) * modulePixels};
}

std::string PictureText(PixelSize size) {
    return "a " + std::to_string(size.width) + " x " + std::to_string(size.height) + " picture";
}

std::string CroppedProblem(const Symbol& symbol, const Picture& picture, int modulePixels) {
    const PixelSize modules = SymbolModules(symbol, picture);
    Picture fitted = picture;
    fitted.width = fitted.height = 0;
    const PixelSize fits = PictureSizeOf(symbol, fitted, modulePixels);
    return "the symbol needs " + SizeText(modules.width * modulePixels, modules.height * modulePixels) +
           " pixels; --size " + SizeText(picture.width, picture.height) + " cuts it (--size " +
           SizeText(fits.width, fits.height) + " fits it with its quiet zone; --allow-crop draws it cut)";
}

std::optional<std::string> ModuleShrunk(const Picture& picture, const ModuleMeasure& module) {
    if (picture.module_px != 0 || module.dpi <= 0) return std::nullopt;
    const double drawn = module.pixels * kCentimetresPerInch / module.dpi;
    if (drawn >= kTolerableShrink * picture.module_cm) return std::nullopt;
    char percent[16];
    std::snprintf(percent, sizeof percent, "%.0f", 100 * (1 - drawn / picture.module_cm));
    return "warning: modules of " + Centimetres(picture.module_cm) + " cm are drawn as " +
           std::to_string(module.pixels) + (module.pixels == 1 ? " pixel" : " pixels") + " at " +
           std::to_string(module.dpi) + " dpi, " + Centimetres(drawn) + " cm (" + percent +
           " % smaller); --module-px N sets the pixels, --dpi N the resolution";
}

}  // namespace ecc200::tool

#include "api/picture_request.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "encoder/module_matrix.h"
#include "render/human_readable_band.h"
#include "render/layout.h"

namespace ecc200 {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t kLargestRgb = 0xFFFFFF;
// A ZPL label's resolution when none is given: the common label printer
// head, 8 dots/mm.
constexpr std::int32_t kZplDefaultDpi = 203;

Outcome CheckFields(const ecc200_picture& p, Diagnosis& diagnosis) {
    if (p.width < 0 || p.height < 0 || (p.width == 0) != (p.height == 0))
        return diagnosis.Refuse(Failure::InvalidArgument, "picture %d x %d: both sides 0 (fit) or both positive",
                                p.width, p.height);
    if (p.quiet_zone < 0) return diagnosis.Refuse(Failure::InvalidArgument, "quiet zone %d is negative", p.quiet_zone);
    if (p.module_px < 0) return diagnosis.Refuse(Failure::InvalidArgument, "module of %d pixels", p.module_px);
    if (p.module_px == 0 && !(p.module_cm > 0))  // NaN too
        return diagnosis.Refuse(Failure::InvalidArgument, "module of %g cm: not a positive size", p.module_cm);
    if (p.dpi < 0) return diagnosis.Refuse(Failure::InvalidArgument, "resolution of %d dpi", p.dpi);
    if (p.quarter_turns < 0 || p.quarter_turns > 3)
        return diagnosis.Refuse(Failure::InvalidArgument, "%d quarter turns: not 0 to 3", p.quarter_turns);
    if (p.border < ECC200_BORDER_NONE || p.border > ECC200_BORDER_SOLID)
        return diagnosis.Refuse(Failure::InvalidArgument, "border %d: not 0 to 2", p.border);
    if (p.bar > kLargestRgb || p.background > kLargestRgb)
        return diagnosis.Refuse(Failure::InvalidArgument, "colour 0x%X or 0x%X is not 0xRRGGBB", p.bar, p.background);
    return {};
}

// An SVG draws a module of exactly the size asked in centimetres, in
// fractional pixels; every other format whole pixels.
bool StatesPhysicalSize(PictureFormat format) {
    return format == PictureFormat::Svg || format == PictureFormat::Pdf || format == PictureFormat::Eps;
}

bool ExactModules(const ecc200_picture& p, PictureFormat format) {
    return StatesPhysicalSize(format) && p.module_px == 0;
}

// P = trunc((dpi * cm) / 2.54) from the size as a float, as the nine store
// it (render/layout.h), or the whole pixels given. An SVG of exact modules
// needs no whole pixel. A ZPL label's module is the nearest whole number of
// the printer's dots, at least one.
Outcome ModulePixelsOf(const ecc200_picture& p, PictureFormat format, std::int32_t dotsPerInch, std::int32_t& pixels,
                       Diagnosis& diagnosis) {
    if (p.module_px > 0) {
        pixels = p.module_px;
        return {};
    }
    if (format == PictureFormat::Zpl) {
        const double dots = std::round(static_cast<double>(dotsPerInch) * p.module_cm * kInchesPerCentimetre);
        if (!(dots < static_cast<double>(kInt32Max)))
            return diagnosis.Refuse(Failure::PictureTooLarge, "a module of %g cm at %d dpi is past 32-bit dots",
                                    p.module_cm, dotsPerInch);
        pixels = std::max(1, static_cast<std::int32_t>(dots));
        return {};
    }
    const double largest = std::numeric_limits<float>::max();
    const float centimetres = p.module_cm > largest ? std::numeric_limits<float>::infinity() : static_cast<float>(p.module_cm);
    const double exact = (static_cast<double>(dotsPerInch) * static_cast<double>(centimetres)) * kInchesPerCentimetre;
    if (!(exact < static_cast<double>(kInt32Max)))
        return diagnosis.Refuse(Failure::PictureTooLarge, "a module of %g cm at %d dpi is past 32-bit pixels", p.module_cm,
                                dotsPerInch);
    pixels = static_cast<std::int32_t>(exact);
    if (pixels == 0 && !(p.allow_crop && p.width > 0) && !ExactModules(p, format))
        return diagnosis.Refuse(Failure::InvalidArgument, "a module of %g cm at %d dpi is less than one pixel",
                                p.module_cm, dotsPerInch);
    return {};
}

// The symbol's extent in pixels across and down the picture, after the turn.
void SymbolExtent(const SymbolMatrix& symbol, const ecc200_picture& p, std::int64_t modules, std::int64_t& across,
                  std::int64_t& down) {
    const bool quarterTurn = p.quarter_turns == 1 || p.quarter_turns == 3;
    across = modules * (quarterTurn ? symbol.rows() : symbol.cols());
    down = modules * (quarterTurn ? symbol.cols() : symbol.rows());
}

// The picture's sides: as given, or the symbol plus the quiet zone on
// every side, modules of `pixels` (whole pixels, or exactly the size asked,
// the picture then rounded up to whole pixels), and the text's band under
// it (render/human_readable_band.h).
Outcome PictureSides(const ecc200_picture& p, const SymbolMatrix& symbol, double pixels, PictureGeometry& style,
                     Diagnosis& diagnosis) {
    std::int64_t across = 0;
    std::int64_t down = 0;
    SymbolExtent(symbol, p, 1, across, down);
    const std::int64_t margin = 2 * std::int64_t{p.quiet_zone};
    const double exactWidth = p.width > 0 ? p.width : static_cast<double>(across + margin) * pixels;
    style.textBand = style.text.empty() ? 0 : HumanReadableEm(pixels, exactWidth, style.text.size());
    const double exactHeight = p.height > 0 ? p.height : static_cast<double>(down + margin) * pixels + style.textBand;
    const double width = std::ceil(exactWidth);
    const double height = std::ceil(exactHeight);
    if (!(width <= static_cast<double>(kInt32Max) && height <= static_cast<double>(kInt32Max)))
        return diagnosis.Refuse(Failure::PictureTooLarge, "the fitted picture is past 32-bit pixels");
    style.width = static_cast<std::int32_t>(width);
    style.height = static_cast<std::int32_t>(height);
    style.exactWidth = exactWidth;
    style.exactHeight = exactHeight;
    return {};
}

// The human-readable line: only where it is drawn as text, and only for a
// message that has one.
Outcome TextOf(const ecc200_picture& p, PictureFormat format, const HumanReadableLine& line, PictureGeometry& style,
               Diagnosis& diagnosis) {
    if (p.hri == 0) return {};
    if (!StatesPhysicalSize(format))
        return diagnosis.Refuse(Failure::InvalidArgument,
                                "the human-readable text (hri) is drawn in SVG, PDF and EPS only");
    if (line.text.empty())
        return diagnosis.Refuse(Failure::InvalidData, "the message is empty: there is no human-readable text to print");
    if (line.unprintable < line.text.size())
        return diagnosis.Refuse(Failure::InvalidData,
                                "byte 0x%02X at %zu cannot be printed as human-readable text, which takes printable "
                                "ASCII only",
                                static_cast<unsigned>(static_cast<unsigned char>(line.text[line.unprintable])),
                                line.unprintable);
    style.text = line.text;
    return {};
}

// The drawing's coordinates stay within 32 bits (render/layout.h), and the
// symbol (modules of `pixels`) within the picture unless cropping is
// allowed.
Outcome CheckLayout(const ecc200_picture& p, const SymbolMatrix& symbol, const PictureGeometry& style, double pixels,
                    Diagnosis& diagnosis) {
    const std::int64_t side = std::max(symbol.rows(), symbol.cols());
    const double whole = std::max(std::ceil(pixels), static_cast<double>(style.modulePixels));
    if (whole * static_cast<double>(side + 1) + std::max(style.width, style.height) > static_cast<double>(kInt32Max))
        return diagnosis.Refuse(Failure::PictureTooLarge, "modules of %g pixels take the drawing past 32 bits", pixels);
    std::int64_t across = 0;
    std::int64_t down = 0;
    SymbolExtent(symbol, p, 1, across, down);
    // A fitted SVG is rounded up, so exact modules always fit it.
    if (p.allow_crop || (static_cast<double>(across) * pixels <= style.width &&
                         static_cast<double>(down) * pixels + style.textBand <= style.height))
        return {};
    SymbolExtent(symbol, p, style.modulePixels, across, down);
    // The picture that holds the symbol: the one fitted to it.
    ecc200_picture fitted = p;
    fitted.width = fitted.height = 0;
    PictureGeometry holding{};
    if (const Outcome sides = PictureSides(fitted, symbol, pixels, holding, diagnosis); !sides.ok()) return sides;
    diagnosis.outcome.neededWidth = holding.width;
    diagnosis.outcome.neededHeight = holding.height;
    return diagnosis.Refuse(Failure::SymbolCropped,
                            "a %d x %d picture cuts the %lld x %lld-pixel symbol; %d x %d holds it with a quiet zone of %d modules",
                            style.width, style.height, static_cast<long long>(across), static_cast<long long>(down),
                            holding.width, holding.height, p.quiet_zone);
}

}  // namespace

std::uint32_t ColourRefOf(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

Outcome ResolvePicture(const ecc200_picture& p, PictureFormat format, const SymbolMatrix& symbol,
                       const HumanReadableLine& line, PictureGeometry& style, Diagnosis& diagnosis) {
    if (const Outcome fields = CheckFields(p, diagnosis); !fields.ok()) return fields;
    // The screen's resolution along the axis the symbol's rows run on, as
    // the nine; the placeable header states the horizontal one.
    // A ZPL label is in the printer's dots, never the screen's.
    const std::int32_t givenDpi = p.dpi == 0 && format == PictureFormat::Zpl ? kZplDefaultDpi : p.dpi;
    const platform::ScreenMetrics screen = givenDpi == 0 ? platform::GetScreenMetrics() : platform::ScreenMetrics{};
    const bool quarterTurn = p.quarter_turns == 1 || p.quarter_turns == 3;
    const std::int32_t dotsPerInch = givenDpi != 0 ? givenDpi : quarterTurn ? screen.logPixelsY : screen.logPixelsX;
    style = PictureGeometry{&symbol,
                            0,
                            0,
                            0,
                            p.quarter_turns,
                            static_cast<BorderStyle>(p.border),
                            ColourRefOf(p.bar),
                            ColourRefOf(p.background),
                            dotsPerInch,
                            givenDpi != 0 ? givenDpi : screen.logPixelsX,
                            0.0};
    if (const Outcome pixels = ModulePixelsOf(p, format, dotsPerInch, style.modulePixels, diagnosis); !pixels.ok())
        return pixels;
    if (const Outcome text = TextOf(p, format, line, style, diagnosis); !text.ok()) return text;
    // The exact module of an SVG from the size as given (not its float).
    style.exactModulePixels = ExactModules(p, format)
                                  ? (static_cast<double>(dotsPerInch) * p.module_cm) * kInchesPerCentimetre
                                  : static_cast<double>(style.modulePixels);
    if (const Outcome sides = PictureSides(p, symbol, style.exactModulePixels, style, diagnosis); !sides.ok())
        return sides;
    return CheckLayout(p, symbol, style, style.exactModulePixels, diagnosis);
}

}  // namespace ecc200

#include "picture_plan.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <sstream>

#include "api/settings.h"
#include "encoder/ascii_encodation.h"
#include "encoder/symbol_table.h"
#include "platform/drawing_surface.h"
#include "render/layout.h"

namespace ecc200::tool {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::string CentimetresText(double centimetres) {
    std::ostringstream text;
    text << centimetres;
    return text.str();
}

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// DrawSymbol's resolution: the screen's, along the axis the rows run on.
std::int32_t DotsPerInchFor(int orientation) {
    const platform::ScreenMetrics screen = platform::GetScreenMetrics();
    return orientation == 1 || orientation == 3 ? screen.logPixelsY : screen.logPixelsX;
}

}  // namespace

PictureStyle StyleOf(const Options& options, int width, int height) {
    DMSettings settings;
    ApplyDefaults(settings);
    ApplySize(settings, width, height);
    ApplyInfo(settings, options.moduleCentimetres, options.orientation, options.border);
    settings.barColour = ColourFromComponents(options.bar.red, options.bar.green, options.bar.blue);
    settings.backgroundColour =
        ColourFromComponents(options.background.red, options.background.green, options.background.blue);
    return PictureStyle{settings.width, settings.height, settings.moduleSize, settings.orientation,
                        static_cast<BorderStyle>(settings.borderStyle), settings.barColour, settings.backgroundColour};
}

PlanOrProblem PlanPicture(std::string_view message, const Options& options) {
    // Encodation alone gives the codeword count and so the symbol's size;
    // each thread keeps its stream (4 KB) for the next line of a batch.
    thread_local const std::unique_ptr<CodewordStream> stream = std::make_unique<CodewordStream>();
    EncodeMessage(message, *stream);
    const std::optional<SymbolAttributes> attributes = SelectSymbolSize(stream->count);
    if (!attributes) {
        return {std::nullopt, "the message needs " + std::to_string(stream->count) +
                                  " codewords; the largest symbol (144x144) holds " + std::to_string(kMaxDataCodewords)};
    }
    const std::int32_t side = attributes->symbolRows;
    const PictureStyle unsized = StyleOf(options, 1, 1);
    const std::int32_t dpi = DotsPerInchFor(unsized.orientation);
    const std::int64_t framed = side + 2 * std::int64_t{options.quietZoneModules};

    if (!options.size) {
        const std::int32_t pixels = ModulePixels(dpi, unsized.moduleCentimetres, 0, side, 0);
        if (pixels == 0) {
            return {std::nullopt, "a module of " + CentimetresText(options.moduleCentimetres) +
                                      " cm is less than one pixel at " + std::to_string(dpi) + " dpi"};
        }
        const std::int64_t extent = framed * pixels;
        // The drawing keeps the symbol plus the picture within 32 bits.
        if (extent > kInt32Max || ModulePixels(dpi, unsized.moduleCentimetres, 0, side, static_cast<std::int32_t>(extent)) != pixels) {
            return {std::nullopt, "a picture of " + SizeText(extent, extent) + " pixels is too large"};
        }
        const int e = static_cast<int>(extent);
        return {PicturePlan{StyleOf(options, e, e), side, pixels}, ""};
    }

    const PictureStyle style = StyleOf(options, options.size->width, options.size->height);
    const std::int32_t pixels = ModulePixels(dpi, style.moduleCentimetres, 0, side, std::max(style.width, style.height));
    const std::int64_t symbolExtent = std::int64_t{side} * pixels;
    const bool cut = pixels == 0 || symbolExtent > style.width || symbolExtent > style.height;
    if (cut && !options.allowCrop) {
        if (pixels == 0) {
            return {std::nullopt, "a module of " + CentimetresText(options.moduleCentimetres) +
                                      " cm is less than one pixel at " + std::to_string(dpi) + " dpi"};
        }
        return {std::nullopt, "the symbol needs " + SizeText(symbolExtent, symbolExtent) + " pixels; --size " +
                                  SizeText(style.width, style.height) + " cuts it (--size " +
                                  SizeText(framed * pixels, framed * pixels) +
                                  " fits it with its quiet zone; --allow-crop draws it cut)"};
    }
    return {PicturePlan{style, side, pixels}, ""};
}

}  // namespace ecc200::tool

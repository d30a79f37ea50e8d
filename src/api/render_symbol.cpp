#include "api/render_symbol.h"

#include <memory>

#include "api/settings.h"
#include "encoder/build_symbol.h"

namespace ecc200 {

bool RenderSymbol(const DMSettings& settings, const DrawingTarget& target, std::int32_t& modulePixels) {
    // The working state is per call; the stages allocate nothing.
    const auto state = std::make_unique<EncoderWorkingState>();
    // Encodation to assembly; no symbol when the message is too long.
    if (!BuildSymbol(settings.messageBytes(), *state)) return false;
    // Drawing at the physical module size, centred and turned.
    const PictureStyle style{settings.width,
                             settings.height,
                             settings.moduleSize,
                             settings.orientation,
                             static_cast<BorderStyle>(settings.borderStyle),
                             settings.barColour,
                             settings.backgroundColour};
    DrawSymbol(state->symbol, style, target, modulePixels);
    return true;
}

}  // namespace ecc200

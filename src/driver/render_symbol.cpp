#include "driver/render_symbol.h"

#include <memory>

#include "encoder/build_symbol.h"

namespace ecc200 {

bool RenderSymbol(const SymbolJob& job, const DrawingTarget& target, std::int32_t& modulePixels) {
    // The working state is per call; the stages allocate nothing.
    const auto state = std::make_unique<EncoderWorkingState>();
    // Encodation to assembly; no symbol when the message is too long.
    if (!BuildSymbol(job.message, *state)) return false;
    // Drawing at the physical module size, centred and turned.
    DrawSymbol(state->symbol, job.style, target, modulePixels);
    return true;
}

}  // namespace ecc200

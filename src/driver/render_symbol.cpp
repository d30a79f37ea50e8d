#include "driver/render_symbol.h"

#include <memory>

#include "encoder/build_symbol.h"

namespace ecc200 {
namespace {

// The calling thread's working state: allocated (and cleared) once, on the
// thread's first generation, reused by every later one and freed when the
// thread ends. The stages read nothing they have not written in the same
// call, so no call clears it; threads never share one.
EncoderWorkingState& ThreadWorkingState() {
    thread_local const std::unique_ptr<EncoderWorkingState> state = std::make_unique<EncoderWorkingState>();
    return *state;
}

}  // namespace

const SymbolMatrix* BuildJobSymbol(std::string_view message) {
    EncoderWorkingState& state = ThreadWorkingState();
    return BuildSymbol(message, state) ? &state.symbol : nullptr;
}

bool RenderSymbol(const SymbolJob& job, const DrawingTarget& target, std::int32_t& modulePixels) {
    // Encodation to assembly; no symbol when the message is too long.
    const SymbolMatrix* symbol = BuildJobSymbol(job.message);
    if (symbol == nullptr) return false;
    // Drawing at the physical module size, centred and turned.
    DrawSymbol(*symbol, job.style, target, modulePixels);
    return true;
}

}  // namespace ecc200

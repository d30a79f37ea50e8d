// One complete symbol generation: encode a job's message, build the symbol
// and draw it onto a drawing target. A job is a plain value, so the outputs
// and any number of concurrent callers run without the process-wide
// settings.
#pragma once

#include <cstdint>
#include <string_view>

#include "render/draw_symbol.h"

namespace ecc200 {

// Everything one picture needs: the message's bytes and how to draw them.
struct SymbolJob {
    std::string_view message;
    PictureStyle style;
};

// The symbol of a message, built in the calling thread's own working state
// (valid until the thread's next call), or null when the message needs more
// than 1558 codewords. Any number of threads may call it at once.
const SymbolMatrix* BuildJobSymbol(std::string_view message);

// Returns false, having drawn nothing, when the message needs more than
// 1558 codewords. `modulePixels` is the module size in pixels that outlives
// each call (reused when the module size setting is exactly 0).
bool RenderSymbol(const SymbolJob& job, const DrawingTarget& target, std::int32_t& modulePixels);

}  // namespace ecc200

#include "render/layout.h"

#include <algorithm>
#include <limits>

namespace ecc200 {

std::int32_t ModulePixels(std::int32_t dotsPerInch, float moduleCentimetres, std::int32_t previous,
                          std::int32_t symbolSide, std::int32_t pictureExtent) {
    const std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();
    const std::int64_t limit = (int32Max - std::max<std::int64_t>(pictureExtent, 0)) / (std::int64_t{symbolSide} + 1);
    std::int64_t pixels = previous;
    if (moduleCentimetres != 0.0f) {
        const double exact = (static_cast<double>(dotsPerInch) * static_cast<double>(moduleCentimetres)) * kInchesPerCentimetre;
        // Compare before converting: a value beyond the range (or NaN) has no
        // defined conversion. Truncation toward zero otherwise.
        if (!(exact < static_cast<double>(limit))) return static_cast<std::int32_t>(limit);
        if (exact <= 0.0) return 0;
        pixels = static_cast<std::int64_t>(exact);
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(pixels, 0, limit));
}

SymbolLayout CentreSymbol(std::int32_t modulePixels, std::int32_t width, std::int32_t height, std::int32_t rows,
                          std::int32_t cols, int orientation) {
    // Turned a quarter, the symbol's columns run vertically.
    const bool quarterTurn = orientation == 1 || orientation == 3;
    const std::int64_t across = std::int64_t{modulePixels} * (quarterTurn ? rows : cols);
    const std::int64_t down = std::int64_t{modulePixels} * (quarterTurn ? cols : rows);
    return SymbolLayout{modulePixels, static_cast<std::int32_t>((width - across) / 2),
                        static_cast<std::int32_t>((height - down) / 2)};
}

}  // namespace ecc200

// The size and place of the human-readable line under a symbol, in the
// base-14 Courier (every glyph 0.6 em wide, 0.629 em above the baseline and
// 0.157 em below it): an em of three modules, smaller where the line would
// be wider than the picture less a module on each side (so that it clears
// a frame). The line takes a band of one em at the
// picture's foot, its baseline 0.8 em down the band, so that every glyph
// lies inside it.
#pragma once

#include <cstddef>

namespace ecc200 {

constexpr double kHriEmModules = 3;
constexpr double kHriBaselineEm = 0.8;
constexpr double kCourierAdvanceEm = 0.6;

// The em of a line of `characters` (at least one) under modules of
// `modulePixels` in a picture `width` pixels wide; the band is one em.
inline double HumanReadableEm(double modulePixels, double width, std::size_t characters) {
    const double room = width > 2 * modulePixels ? width - 2 * modulePixels : width;
    const double fitting = room / (kCourierAdvanceEm * static_cast<double>(characters));
    return fitting < kHriEmModules * modulePixels ? fitting : kHriEmModules * modulePixels;
}

}  // namespace ecc200

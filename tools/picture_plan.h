// The picture for one message: its size (the symbol and its quiet zone
// unless --size is given), and the refusal of a size that cuts the symbol.
// Only the encodation runs here, to learn the symbol's size; the symbol is
// built once, by the output that draws it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "driver/render_symbol.h"
#include "options.h"

namespace ecc200::tool {

struct PicturePlan {
    PictureStyle style;
    int side;          // modules per side of the symbol
    int modulePixels;  // what the drawing will use
};

// The plan, or in `problem` the reason there is none (the message is too
// long, the picture too large, or --size cuts the symbol).
struct PlanOrProblem {
    std::optional<PicturePlan> plan;
    std::string problem;
};

PlanOrProblem PlanPicture(std::string_view message, const Options& options);

// The style the options give for a picture of width x height pixels,
// through the setters' own rules.
PictureStyle StyleOf(const Options& options, int width, int height);

}  // namespace ecc200::tool

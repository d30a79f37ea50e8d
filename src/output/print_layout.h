// Where a print picture's pieces lie: the symbol centred exactly, modules of
// exactly the size asked, the frame along the edges and the human-readable
// text in a band under the symbol. Every length is in pixels of the
// picture's resolution, fractional where the module asks for it, so that
// the page has exactly its physical size.
#pragma once

#include <cstdint>
#include <string>

#include "common/failure.h"
#include "render/draw_symbol.h"

namespace ecc200 {

class SymbolMatrix;
struct PrintPicture;

// The text's size: an em of kHriEmModules modules, smaller where the line
// would be wider than the picture; the picture grows by one em under the
// symbol (or, at a size given, the symbol's area shrinks by it). Courier's
// glyphs reach 0.629 em above the baseline and 0.157 em below it, so a
// baseline 0.8 em down the band keeps every glyph inside.
constexpr double kHriEmModules = 3;
constexpr double kHriBaselineEm = 0.8;
constexpr double kCourierAdvanceEm = 0.6;

struct PrintRequest {
    double width;          // pixels; 0 with height 0: the symbol, its quiet zone and the text band
    double height;
    double modulePixels;   // a module's edge, exactly
    std::int32_t quietZone;  // modules, when fitting
    int orientation;       // counter-clockwise quarter turns, 0 to 3
    BorderStyle border;
    std::uint32_t bar;         // 0xRRGGBB
    std::uint32_t background;  // 0xRRGGBB
    std::int32_t dotsPerInch;
    std::string text;      // the human-readable line; empty for none
};

// Lays the picture out; InvalidArgument for a side or resolution below 1
// pixel, a module not above 0, an orientation outside 0 to 3 or a quiet
// zone below 0; PictureTooLarge past a billion pixels; OutOfMemory.
Outcome LayPrintPicture(const SymbolMatrix& symbol, const PrintRequest& request, PrintPicture& picture);

}  // namespace ecc200

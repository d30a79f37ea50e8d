// What the seamless WMF and EMF writers draw: the picture's plain values,
// the same that the default drawing resolves before it draws.
//
// The seamless metafiles hold the same picture as the default ones, pixel
// for pixel when GDI plays them back, but drawn the way vector clients read
// well: the background one filled polygon, the dark modules one filled
// polypolygon of merged rectangles (module_runs.h), both with a null pen.
// The WMF's frame is a filled rectangle for each of DrawBorder's lines, the
// pixels it paints (seamless_frame.h); the EMF's frame is DrawBorder's
// lines in quarter pixels with a pen the metafile creates, selects and
// deletes itself (seamless_emf.cpp says why). The EMF keeps the lines: its
// clients clip the picture at rclBounds, which for a dashed frame end on
// its last pixels, and filled there those pixels would be lost.
#pragma once

#include <cstdint>

#include "output/module_runs.h"
#include "render/draw_symbol.h"

namespace ecc200 {

struct SeamlessPicture {
    SymbolPlacement placement;      // picture size, module edge P in pixels, quarter turns
    BorderStyle border;
    std::uint32_t barColour;        // COLORREF, 0x00BBGGRR
    std::uint32_t backgroundColour;
    std::int32_t dotsPerInch;       // the placeable header's units per inch; the EMF's reference screen
};

// Whether the writers can draw the picture at all: a picture of 1 x 1
// pixels or more, P of 0 or more, 0 to 3 quarter turns, one of the three
// frames and a positive resolution.
bool IsDrawable(const SeamlessPicture& picture);

}  // namespace ecc200

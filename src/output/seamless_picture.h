// What the seamless WMF and EMF writers draw: the picture's plain values,
// the same that the default drawing resolves before it draws.
//
// The seamless metafiles hold the same picture as the default ones, pixel
// for pixel when GDI plays them back, but drawn the way vector clients read
// well: the background one filled polygon, the dark modules one filled
// polypolygon of merged rectangles (module_runs.h), both with a null pen, and
// the frame's lines with a pen the metafile creates, selects and deletes
// itself instead of the context's default pen.
//
// Both draw in quarter pixels: MM_ANISOTROPIC, the window four times the
// picture's size in pixels, the viewport the picture's size. Every corner of
// a polygon lies on a pixel edge (a multiple of 4) and GDI maps it to
// exactly that pixel edge. A frame line is a 1-pixel pen, and a client that
// draws vectors centres the pen on the line: on a pixel edge, as in MM_TEXT,
// the line at the picture's left edge loses half its width to the clip and
// rasterises light grey at 96 dpi. So each frame line lies a quarter pixel
// into the pixels it paints (FrameLineInUnits): three quarters of its width
// then fall on them, and GDI, which rounds the quarter away, still paints
// exactly those pixels. A half (the pixel's centre) would not do: GDI rounds
// halves up, onto the next pixel (measured under Wine).
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

// Logical units per pixel.
constexpr std::int32_t kQuarterPixelUnits = 4;
constexpr std::int32_t kWholePixelUnits = 1;

// Quarter pixels when every coordinate of the picture in quarters, a frame
// line's quarter-pixel shift included, is at most `largestCoordinate` (what
// the format's points hold), else whole pixels: the widest pictures keep
// their frame lines on pixel edges.
std::int32_t UnitsPerPixel(const SymbolPlacement& placement, std::int64_t largestCoordinate);

// A rectangle of pixels in logical units: its corners stay on pixel edges.
PictureRect InUnits(const PictureRect& pixels, std::int32_t units);

}  // namespace ecc200

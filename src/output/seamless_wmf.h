// The seamless placeable Windows metafile ([MS-WMF]): the picture of the
// default WMF, pixel for pixel when GDI plays it back, drawn the way vector
// clients read well: the background one filled polygon, the dark modules
// one filled polypolygon of the geometry's merged blocks, the frame one
// filled rectangle per line of it (the pixels the line paints), all with a
// null pen.
#pragma once

#include <cstdint>
#include <vector>

#include "common/failure.h"

namespace ecc200 {

struct PictureGeometry;

// Appends the whole .wmf file to `out`: the 22-byte placeable header
// (bounding box (0, 0, width, height), units per inch the picture's
// unitsPerInch), then the metafile:
//   META_SETWINDOWEXT (width, height), META_SETWINDOWORG (0, 0);
//   the background brush and a PS_NULL pen, created and selected;
//   META_POLYGON: the picture's rectangle;
//   when any dark module shows: the bar brush, created and selected, and
//   META_POLYPOLYGON: one 4-point polygon per merged block of modules;
//   with a frame: a black brush, created and selected, and one
//   META_POLYGON per frame line, the rectangle of pixels it paints;
//   META_DELETEOBJECT for every object no longer selected; META_EOF.
// InvalidArgument for a picture that is not Drawable(), PictureTooLarge
// past 32767 pixels a side (the placeable box holds 16 bits), OutOfMemory;
// `out` unchanged on failure.
Outcome WriteSeamlessWmf(const PictureGeometry& picture, std::vector<std::uint8_t>& out);

}  // namespace ecc200

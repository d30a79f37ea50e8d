// The seamless enhanced metafile ([MS-EMF]): the picture of the default
// EMF, pixel for pixel when GDI plays it back, drawn the way vector clients
// read well: the background one filled polygon and the dark modules one
// filled polypolygon of the geometry's merged blocks, with a null pen; the
// frame its lines in quarter pixels with a pen the metafile creates, selects
// and deletes itself (seamless_emf.cpp says why). The EMF keeps the lines:
// its clients clip the picture at rclBounds, which for a dashed frame end on
// its last pixels, and filled there those pixels would be lost.
#pragma once

#include <cstdint>
#include <vector>

#include "common/failure.h"

namespace ecc200 {

struct PictureGeometry;

// Writes the metafile's bytes into `out`:
//   EMR_HEADER, its reference device a 1024 x 768 screen at the picture's
//   unitsPerInch (as GDI's screen and the portable one report it),
//   rclBounds the pixels drawn and rclFrame worked out from them as GDI does;
//   EMR_SETMAPMODE (MM_TEXT), EMR_SETWINDOWEXTEX (width, height),
//   EMR_SETWINDOWORGEX (0, 0);
//   the background brush, created and selected, and the stock NULL_PEN;
//   EMR_POLYGON16: the picture's rectangle;
//   when any dark module shows: the bar brush, created and selected, and
//   EMR_POLYPOLYGON16: one 4-point polygon per merged block of modules;
//   with a frame: a solid black pen 4 units wide, created and selected;
//   EMR_SETMAPMODE (MM_ANISOTROPIC), EMR_SETWINDOWEXTEX (4 x width,
//   4 x height), EMR_SETVIEWPORTEXTEX (width, height), a logical unit now
//   a quarter pixel and the pen one pixel under GDI; EMR_MOVETOEX /
//   EMR_LINETO per frame line, pixel (x, y) at (4x + 1, 4y + 1);
//   the stock WHITE_BRUSH and BLACK_PEN selected again, EMR_DELETEOBJECT
//   for every object created, EMR_EOF.
// Pictures wider or taller than 32767 pixels take EMR_POLYGON and
// EMR_POLYPOLYGON, whose points are 32 bits. InvalidArgument for a picture
// that is not Drawable(), PictureTooLarge when the metafile would pass the
// 32-bit nBytes or a framed picture's side its 536870911 pixels (whose
// quarter pixels pass 32 bits), OutOfMemory; `out` unchanged on failure.
Outcome WriteSeamlessEmf(const PictureGeometry& picture, std::vector<std::uint8_t>& out);

}  // namespace ecc200

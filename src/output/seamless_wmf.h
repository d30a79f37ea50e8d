// The seamless placeable Windows metafile ([MS-WMF]): the picture of the
// default WMF, drawn as filled polygons and an explicit pen (see
// seamless_picture.h).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ecc200 {

class SymbolMatrix;
struct SeamlessPicture;

// The whole .wmf file, in logical units of a quarter pixel (U = 4; whole
// pixels, U = 1, for a picture wider or taller than 8191 pixels or at more
// than 16383 dpi): the 22-byte placeable header (bounding box (0, 0,
// U x width, U x height), units per inch U x the picture's dpi), then the
// metafile:
//   META_SETMAPMODE (MM_ANISOTROPIC), META_SETWINDOWEXT (U x width,
//   U x height), META_SETWINDOWORG (0, 0), META_SETVIEWPORTEXT (width, height);
//   the background brush and a PS_NULL pen, created and selected;
//   META_POLYGON: the picture's rectangle;
//   when any dark module shows: the bar brush, created and selected, and
//   META_POLYPOLYGON: one 4-point polygon per merged block of modules;
//   with a frame: a solid black pen of one pixel (U units), created and
//   selected, and META_MOVETO / META_LINETO per line of DrawBorder, a
//   quarter pixel into its pixels (seamless_frame.h);
//   META_DELETEOBJECT for every object no longer selected; META_EOF.
// No value when the picture cannot be drawn (errno EINVAL), a side passes
// 32767 pixels (EFBIG, the placeable box holds 16 bits) or memory runs
// out (ENOMEM).
std::optional<std::vector<std::uint8_t>> SeamlessWmf(const SymbolMatrix& symbol, const SeamlessPicture& picture);

}  // namespace ecc200

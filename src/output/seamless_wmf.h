// The seamless placeable Windows metafile ([MS-WMF]): the picture of the
// default WMF, drawn as filled polygons only (see
// seamless_picture.h).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ecc200 {

class SymbolMatrix;
struct SeamlessPicture;

// The whole .wmf file: the 22-byte placeable header (bounding box (0, 0,
// width, height), units per inch the picture's dpi), then the metafile:
//   META_SETWINDOWEXT (width, height), META_SETWINDOWORG (0, 0);
//   the background brush and a PS_NULL pen, created and selected;
//   META_POLYGON: the picture's rectangle;
//   when any dark module shows: the bar brush, created and selected, and
//   META_POLYPOLYGON: one 4-point polygon per merged block of modules;
//   with a frame: a black brush, created and selected, and one
//   META_POLYGON per line of DrawBorder, the rectangle of pixels it
//   paints (seamless_frame.h);
//   META_DELETEOBJECT for every object no longer selected; META_EOF.
// No value when the picture cannot be drawn (errno EINVAL), a side passes
// 32767 pixels (EFBIG, the placeable box holds 16 bits) or memory runs
// out (ENOMEM).
std::optional<std::vector<std::uint8_t>> SeamlessWmf(const SymbolMatrix& symbol, const SeamlessPicture& picture);

}  // namespace ecc200

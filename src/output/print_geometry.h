// The print picture (output/print_picture.h) of a picture's geometry: its
// exact sides, the module grid and the dark modules merged into blocks of
// grid cells, the frame's pixels stretched onto the exact sides, and the
// human-readable line in its band.
#pragma once

#include "common/failure.h"

namespace ecc200 {

struct PictureGeometry;
struct PrintPicture;

// PictureTooLarge for a geometry that does not describe a picture
// (PictureGeometry::Drawable) or a module not above 0; OutOfMemory.
Outcome PrintPictureOf(const PictureGeometry& geometry, PrintPicture& picture);

}  // namespace ecc200

// Encapsulated PostScript 3.0 of a print picture (Adobe's EPSF 3.0 and
// DSC 3.0): the %%BoundingBox in whole points round the picture and the
// %%HiResBoundingBox its exact size, then the picture's drawing
// (output/print_drawing.h) run through PostScript procedures named as the
// PDF operators it uses, in a dictionary of its own. Text is set in the
// printer's Courier, named as a needed resource, not embedded.
#pragma once

#include <string>

#include "common/failure.h"

namespace ecc200 {

struct PrintPicture;

// PictureTooLarge, appending nothing, for a picture PrintPictureWritable
// refuses or whose bounding box passes 32-bit points; OutOfMemory,
// appending nothing.
Outcome AppendEpsFile(std::string& out, const PrintPicture& picture);

}  // namespace ecc200

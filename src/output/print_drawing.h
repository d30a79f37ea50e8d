// The drawing of a print picture in the operators of a PDF content stream
// (ISO 32000-1 8.4.4 q/Q/cm, 8.5.2 re, 8.5.3.1 f, 8.6.8 rg, 9.4 BT/ET,
// 9.3 Tf, 9.4.2 Td, 9.4.3 Tj). The PDF page uses it as it is; the EPS
// defines the same few operators as PostScript procedures and runs it
// unchanged, so the two documents cannot draw different pictures.
//
// Coordinates: the whole drawing is scaled once from picture units to
// points, and flipped so that the page's y runs upwards; the module grid
// is one more transform, so that each block is four small integers.
#pragma once

#include <string>

namespace ecc200 {

struct PrintPicture;

// Whether every number of the picture can be written (finite, positive
// sizes, within PrintNumberFits once in points), every block has cells and
// every text byte is printable ASCII.
bool PrintPictureWritable(const PrintPicture& picture);

// The picture's size in points.
double PageWidthPoints(const PrintPicture& picture);
double PageHeightPoints(const PrintPicture& picture);

// Appends the drawing; the text's font is the resource named /F1.
void AppendPrintDrawing(std::string& out, const PrintPicture& picture);

}  // namespace ecc200

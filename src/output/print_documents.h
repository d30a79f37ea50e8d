// The print documents of a picture's geometry, as the driver draws every
// format: a one-page PDF (output/pdf_file.h) and an EPS
// (output/eps_file.h), both at the picture's exact physical size.
#pragma once

#include "common/failure.h"

namespace ecc200 {

struct PictureGeometry;
struct PictureBytes;

Outcome DrawPdf(const PictureGeometry& geometry, PictureBytes& out);
Outcome DrawEps(const PictureGeometry& geometry, PictureBytes& out);

}  // namespace ecc200

// PDF documents of print pictures (ISO 32000-1): one page per picture, its
// MediaBox the picture's size in points, its content the picture's drawing
// (output/print_drawing.h) uncompressed. A page with text refers to the
// base-14 Courier, which a reader supplies, so no font is embedded. No
// information dictionary and no date: the same pictures give the same bytes.
#pragma once

#include <string>
#include <vector>

#include "common/failure.h"

namespace ecc200 {

struct PrintPicture;

// One page, drawn: its content stream and size. Pages are drawn one by one,
// on any thread, then put into a document in order.
struct PdfPage {
    std::string content;
    double widthPoints = 0;
    double heightPoints = 0;
    bool hasText = false;
};

// PictureTooLarge for a picture PrintPictureWritable refuses or larger than
// a page may be (14,400 points a side, ISO 32000-1 Annex C.2);
// OutOfMemory. Either way `page` is left empty.
Outcome DrawPdfPage(const PrintPicture& picture, PdfPage& page);

// Appends the document of `pages` (at least one) to `out`: header, the
// catalogue, the page tree, the font where a page has text, each page and
// its content, the cross-reference table and trailer. InvalidArgument for
// no page; OutOfMemory. On failure `out` is as it was.
Outcome AppendPdfDocument(std::string& out, const std::vector<PdfPage>& pages);

// A document of the one page.
Outcome AppendPdfFile(std::string& out, const PrintPicture& picture);

}  // namespace ecc200

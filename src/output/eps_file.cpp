#include "output/eps_file.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

#include "output/print_drawing.h"
#include "output/print_numbers.h"
#include "output/print_picture.h"

namespace ecc200 {
namespace {

// The PDF operators of the drawing as PostScript procedures (PostScript
// Language Reference, 3rd edition: gsave, concat, setrgbcolor, fill,
// scalefont, show). `re` appends a closed rectangle to the path as PDF's
// does; BT and ET mark nothing in PostScript.
constexpr char kProcedures[] =
    "/q {gsave} bind def\n"
    "/Q {grestore} bind def\n"
    "/cm {6 array astore concat} bind def\n"
    "/rg {setrgbcolor} bind def\n"
    "/re {4 2 roll moveto 1 index 0 rlineto 0 exch rlineto neg 0 rlineto closepath} bind def\n"
    "/f {fill} bind def\n";
constexpr char kTextProcedures[] =
    "/F1 /Courier findfont def\n"
    "/Tf {exch load exch scalefont setfont} bind def\n"
    "/Td {moveto} bind def\n"
    "/Tj {show} bind def\n"
    "/BT {} def\n"
    "/ET {} def\n";
// Room for every procedure above.
constexpr int kDictionarySize = 16;

void AppendBoundingBoxes(std::string& out, double width, double height) {
    out += "%%BoundingBox: 0 0 ";
    AppendInteger(out, static_cast<std::int64_t>(std::ceil(width)));
    out += ' ';
    AppendInteger(out, static_cast<std::int64_t>(std::ceil(height)));
    out += "\n%%HiResBoundingBox: 0 0 ";
    AppendReal(out, width);
    out += ' ';
    AppendReal(out, height);
    out += '\n';
}

void AppendComments(std::string& out, const PrintPicture& picture) {
    out += "%!PS-Adobe-3.0 EPSF-3.0\n";
    AppendBoundingBoxes(out, PageWidthPoints(picture), PageHeightPoints(picture));
    out += "%%Creator: ecc200\n%%LanguageLevel: 2\n";
    if (!picture.text.empty()) out += "%%DocumentNeededResources: font Courier\n";
    out += "%%EndComments\n";
}

void AppendProlog(std::string& out, const PrintPicture& picture) {
    out += "%%BeginProlog\n";
    AppendInteger(out, kDictionarySize);
    out += " dict begin\n";
    out += kProcedures;
    if (!picture.text.empty()) out += kTextProcedures;
    out += "%%EndProlog\n";
}

bool BoundingBoxFits(const PrintPicture& picture) {
    const double largest = std::numeric_limits<std::int32_t>::max();
    return PageWidthPoints(picture) <= largest && PageHeightPoints(picture) <= largest;
}

}  // namespace

Outcome AppendEpsFile(std::string& out, const PrintPicture& picture) {
    if (!PrintPictureWritable(picture) || !BoundingBoxFits(picture))
        return Refused(Failure::PictureTooLarge, "the picture has no EPS bounding box in 32-bit points");
    const std::size_t originalSize = out.size();
    try {
        AppendComments(out, picture);
        AppendProlog(out, picture);
        AppendPrintDrawing(out, picture);
        // An importer redefines showpage; a printer or Ghostscript given the
        // file alone prints the page with it (EPSF 3.0, "showpage").
        out += "end\nshowpage\n%%EOF\n";
        return {};
    } catch (const std::bad_alloc&) {
        out.resize(originalSize);
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200

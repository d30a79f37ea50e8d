#include "output/print_documents.h"

#include "output/eps_file.h"
#include "output/pdf_file.h"
#include "output/picture_bytes.h"
#include "output/print_geometry.h"
#include "output/print_picture.h"

namespace ecc200 {
namespace {

template <typename Writer>
Outcome WriteDocument(Writer writer, const PictureGeometry& geometry, PictureBytes& out) {
    PrintPicture picture;
    if (const Outcome laid = PrintPictureOf(geometry, picture); !laid.ok()) return laid;
    out.text.clear();
    if (const Outcome written = writer(out.text, picture); !written.ok()) return written;
    out.pieces.assign(1, {reinterpret_cast<const std::uint8_t*>(out.text.data()), out.text.size()});
    return {};
}

}  // namespace

Outcome DrawPdf(const PictureGeometry& geometry, PictureBytes& out) {
    return WriteDocument(AppendPdfFile, geometry, out);
}

Outcome DrawEps(const PictureGeometry& geometry, PictureBytes& out) {
    return WriteDocument(AppendEpsFile, geometry, out);
}

}  // namespace ecc200

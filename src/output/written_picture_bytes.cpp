// The pictures written rather than recorded through a drawing surface: PNG
// from the very pixels of the BMP output, SVG from the symbol's modules,
// and the seamless metafiles (see output/picture_bytes.h).
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "output/bmp_file.h"
#include "output/picture_bytes.h"
#include "output/png_file.h"
#include "output/seamless_emf.h"
#include "output/seamless_wmf.h"
#include "output/svg_file.h"
#include "output/zpl_label.h"
#include "render/picture_geometry.h"

namespace ecc200 {
namespace {

// The BMP's rows, bottom-up: its pieces past the file header, the info
// header and the colour table (kRowsOffset bytes), as spans of whole rows.
void RowSpansOf(const std::vector<platform::ByteSpan>& pieces, std::vector<platform::ByteSpan>& rows) {
    rows.clear();
    std::size_t skip = kRowsOffset;
    for (const platform::ByteSpan& piece : pieces) {
        if (piece.size <= skip) {
            skip -= piece.size;
            continue;
        }
        rows.push_back({piece.data + skip, piece.size - skip});
        skip = 0;
    }
}

constexpr std::uint32_t kPrintedColour = 0x000000;    // COLORREF black: bit 0 of the one-bit rows
constexpr std::uint32_t kUnprintedColour = 0xFFFFFF;  // white: bit 1

template <typename Writer>
Outcome WriteSeamless(Writer writer, const PictureGeometry& picture, PictureBytes& out) {
    if (const Outcome written = writer(picture, out.body); !written.ok()) return written;
    out.pieces = {{out.body.data(), out.body.size()}};
    return {};
}

// A file written from the one-bit rows of `picture`'s BMP: the BMP drawn
// into `out`, then `write(body, rows)` appending the file to out.body, which
// becomes out's one piece.
template <typename Write>
Outcome WriteFromBmpRows(const PictureGeometry& picture, PictureBytes& out, Write write) {
    if (const Outcome drawn = DrawBmp(picture, out); !drawn.ok()) return drawn;
    try {
        RowSpansOf(out.pieces, out.rows);
        out.body.clear();
        const MonochromeRows rows{out.rows.data(), out.rows.size(), picture.width, picture.height};
        if (const Outcome written = write(out.body, rows); !written.ok()) return written;
        out.pieces.assign(1, {out.body.data(), out.body.size()});
        return {};
    } catch (const std::bad_alloc&) {
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace

Outcome DrawPng(const PictureGeometry& picture, PictureBytes& out) {
    return WriteFromBmpRows(picture, out, [&](std::vector<std::uint8_t>& body, const MonochromeRows& rows) {
        if (!out.deflater) out.deflater = std::make_unique<PngDeflater>();
        return AppendPngFile(body, rows, picture.barColour, picture.backgroundColour, picture.dotsPerInch,
                             *out.deflater);
    });
}

Outcome DrawZpl(const PictureGeometry& picture, const ZplForm& form, PictureBytes& out) {
    // Dark is printed: the bars black, the background white, whatever the
    // colours asked (the frame is black already).
    PictureGeometry printed = picture;
    printed.barColour = kPrintedColour;
    printed.backgroundColour = kUnprintedColour;
    return WriteFromBmpRows(printed, out, [&](std::vector<std::uint8_t>& body, const MonochromeRows& rows) {
        if (!out.zpl) out.zpl = std::make_unique<ZplScratch>();
        return AppendZplLabel(body, rows, form, *out.zpl);
    });
}

Outcome DrawSvg(const PictureGeometry& picture, PictureBytes& out) {
    out.text.clear();
    if (const Outcome written = AppendSvgFile(out.text, picture); !written.ok()) return written;
    out.pieces.assign(1, {reinterpret_cast<const std::uint8_t*>(out.text.data()), out.text.size()});
    return {};
}

Outcome DrawSeamlessWmf(const PictureGeometry& picture, PictureBytes& out) {
    return WriteSeamless(WriteSeamlessWmf, picture, out);
}

Outcome DrawSeamlessEmf(const PictureGeometry& picture, PictureBytes& out) {
    return WriteSeamless(WriteSeamlessEmf, picture, out);
}

}  // namespace ecc200

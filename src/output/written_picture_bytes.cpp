// The pictures written rather than recorded through a drawing surface: PNG
// from the very pixels of the BMP output, SVG from the symbol's modules,
// and the seamless metafiles (see output/picture_bytes.h).
#include <cerrno>
#include <cstddef>
#include <new>
#include <utility>

#include "output/bmp_file.h"
#include "output/picture_bytes.h"
#include "output/png_file.h"
#include "output/seamless_emf.h"
#include "output/seamless_picture.h"
#include "output/seamless_wmf.h"
#include "output/svg_file.h"
#include "render/draw_symbol.h"

namespace ecc200 {
namespace {

Outcome OutcomeOf(WriteResult result) {
    switch (result) {
        case WriteResult::Written: return {};
        case WriteResult::OutOfMemory: return Failed(Failure::OutOfMemory);
        case WriteResult::NotRepresentable: break;
    }
    return Failed(Failure::PictureTooLarge);
}

// The seamless writers report through errno: EINVAL for values that draw no
// picture, EFBIG past the format's fields, ENOMEM.
Outcome OutcomeOfErrno(int error) {
    switch (error) {
        case EFBIG: return Failed(Failure::PictureTooLarge);
        case ENOMEM: return Failed(Failure::OutOfMemory);
        default: return Failed(Failure::InvalidArgument);
    }
}

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

SeamlessPicture SeamlessOf(const DrawingStyle& style, std::int32_t dotsPerInch) {
    return SeamlessPicture{{style.width, style.height, style.modulePixels, style.orientation},
                           style.border,
                           style.barColour,
                           style.backgroundColour,
                           dotsPerInch};
}

template <typename Writer>
Outcome WriteSeamless(Writer writer, const SymbolMatrix& symbol, const SeamlessPicture& picture, PictureBytes& out) {
    errno = 0;
    std::optional<std::vector<std::uint8_t>> bytes = writer(symbol, picture);
    if (!bytes) return OutcomeOfErrno(errno);
    out.body = std::move(*bytes);
    out.pieces = {{out.body.data(), out.body.size()}};
    return {};
}

}  // namespace

Outcome DrawPng(const SymbolMatrix& symbol, const DrawingStyle& style, std::int32_t dotsPerInch, PictureBytes& out) {
    if (const Outcome drawn = DrawBmp(symbol, style, out); !drawn.ok()) return drawn;
    try {
        if (!out.deflater) out.deflater = std::make_unique<PngDeflater>();
        RowSpansOf(out.pieces, out.rows);
        out.body.clear();
        const MonochromeRows rows{out.rows.data(), out.rows.size(), style.width, style.height};
        const Outcome written = OutcomeOf(
            AppendPngFile(out.body, rows, style.barColour, style.backgroundColour, dotsPerInch, *out.deflater));
        if (!written.ok()) return written;
        out.pieces.assign(1, {out.body.data(), out.body.size()});
        return {};
    } catch (const std::bad_alloc&) {
        return Failed(Failure::OutOfMemory);
    }
}

Outcome DrawSvg(const SymbolMatrix& symbol, const DrawingStyle& style, double modulePixels, std::int32_t dotsPerInch,
                PictureBytes& out) {
    const SvgPicture picture{style.width,    style.height,   modulePixels,          style.orientation,
                             style.border,   style.barColour, style.backgroundColour, dotsPerInch};
    out.text.clear();
    const Outcome written = OutcomeOf(AppendSvgFile(out.text, symbol, picture));
    if (!written.ok()) return written;
    out.pieces.assign(1, {reinterpret_cast<const std::uint8_t*>(out.text.data()), out.text.size()});
    return {};
}

Outcome DrawSeamlessWmf(const SymbolMatrix& symbol, const DrawingStyle& style, std::int32_t unitsPerInch,
                        PictureBytes& out) {
    return WriteSeamless(SeamlessWmf, symbol, SeamlessOf(style, unitsPerInch), out);
}

Outcome DrawSeamlessEmf(const SymbolMatrix& symbol, const DrawingStyle& style, std::int32_t dotsPerInch,
                        PictureBytes& out) {
    return WriteSeamless(SeamlessEmf, symbol, SeamlessOf(style, dotsPerInch), out);
}

}  // namespace ecc200

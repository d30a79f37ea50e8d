// One complete picture: a symbol, built from a message in the calling
// thread's working state, drawn in one of the formats. Every value comes in
// as an argument, so any number of threads run it at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "common/failure.h"
#include "output/zpl_label.h"
#include "platform/drawing_surface.h"
#include "render/picture_geometry.h"

namespace ecc200 {

class SymbolMatrix;
struct PictureBytes;

// The symbol of a message, built in the calling thread's own working state
// (valid until the thread's next call), or null when the message needs more
// than 1558 codewords. Any number of threads may call it at once.
const SymbolMatrix* BuildJobSymbol(std::string_view message);

// The formats, numbered as ecc200_format.
enum class PictureFormat { Bmp = 1, Wmf = 2, Emf = 3, Png = 4, Svg = 5, Zpl = 6, Pdf = 7, Eps = 8 };

// How the metafiles draw: as GDI records DrawSymbol's calls, or with the
// dark modules as one filled shape (output/seamless_*.h).
enum class MetafileDrawing { GdiFaithful, Seamless };

// Whether the format can hold the picture's sides and frame (see
// output/picture_bytes.h); run before drawing, even before the symbol is
// built, so that the cheapest refusal comes first. `zpl`: how a ZPL label
// is written (its limits depend on it).
Outcome CheckPictureFormat(PictureFormat format, const PictureGeometry& picture, MetafileDrawing metafiles,
                           const ZplForm& zpl = ZplForm{});

// The size of the picture's bytes where it is known before drawing (a BMP's
// from its sides, an EMF's from the symbol's dark modules); 0 where only the
// drawing tells.
std::uint64_t PictureSizeBeforeDrawing(PictureFormat format, const PictureGeometry& picture, MetafileDrawing metafiles,
                                       const ZplForm& zpl = ZplForm{});

// Draws the symbol in the format.
Outcome RenderPicture(PictureFormat format, const PictureGeometry& picture, MetafileDrawing metafiles,
                      PictureBytes& out, const ZplForm& zpl = ZplForm{});

// The enhanced metafile itself, for the clipboard (the GDI-exact drawing:
// Unsupported for a seamless one).
Outcome RecordPictureMetafile(const PictureGeometry& picture, MetafileDrawing metafiles,
                              std::unique_ptr<platform::EnhMetafile>& out);

}  // namespace ecc200

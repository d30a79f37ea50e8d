// The nine DM functions as a thin adapter on the per-call interface: a job
// (the settings as they stand during one call) is mapped onto an
// ecc200_picture, cropping allowed and the module resolved by the nine's
// rules, and drawn along the path ecc200_render and ecc200_save take
// (ResolvePicture, CheckPictureFormat, RenderPicture, SaveToFile). The
// symbol is the nine's: ASCII encodation, squares (BuildJobSymbol).
//
// On every false return errno holds the cause, for strerror (ErrnoOf):
// - EINVAL: no file name, or an empty picture (width or height below 1);
// - E2BIG: the message needs more than 1558 codewords;
// - EFBIG: the picture is larger than the format holds (a BMP past 32-bit
//   sizes, a WMF past 32767 pixels a side, an EMF past 32-bit nBytes);
// - ENOMEM: memory for the picture or its recording cannot be had;
// - from saving: EACCES, ENOSPC, ENOENT, EISDIR, EROFS, ELOOP, EPIPE, ...;
// - EBUSY: the clipboard did not take the metafile.
#pragma once

#include <cstdint>
#include <memory>

#include "driver/render_symbol.h"
#include "ecc200.h"
#include "platform/drawing_surface.h"

namespace ecc200 {

// The errno value the nine report for a failure, from the one table.
int ErrnoOf(const Outcome& outcome);

// The job's picture for `symbol` as the per-call interface takes it: the
// sides as given, cropping allowed, the screen's resolution, and the module
// in whole pixels from the screen's resolution along the axis the symbol's
// rows run on; a module size of exactly 0 keeps `modulePixels`, which is
// updated to the size used.
ecc200_picture PictureOfJob(const PictureStyle& style, const SymbolMatrix& symbol, std::int32_t& modulePixels);

// The drawing of a job's picture, as the outputs draw it.
PictureGeometry ResolveJobStyle(const PictureStyle& style, const SymbolMatrix& symbol, std::int32_t& modulePixels);

// The enhanced metafile of the job, or nothing with errno set.
std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels);

bool CopyToClipboard(const SymbolJob& job, std::int32_t& modulePixels);
bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels);
bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels);

}  // namespace ecc200

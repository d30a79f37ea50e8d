// The three ways a symbol leaves the library: an enhanced metafile on the
// clipboard, a placeable Windows metafile file and a one-bit BMP file. Each
// works out whether the format can hold the picture before drawing, draws
// on a surface of its own, delivers it only when the whole drawing
// succeeded, and never leaves a half-written or emptied file behind (see
// platform::ReplaceFileWith for what saving does with links, devices,
// read-only files, modes and flushing).
//
// On every false return errno holds the cause, for strerror:
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

#include "platform/drawing_surface.h"

namespace ecc200 {

struct SymbolJob;

// Records the drawing as an enhanced metafile; nothing when the picture is
// empty, the message is too long, the recording would pass the format's
// 32-bit size or its memory cannot be had.
std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels);

bool CopyToClipboard(const SymbolJob& job, std::int32_t& modulePixels);
bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options = {});
bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options = {});

}  // namespace ecc200

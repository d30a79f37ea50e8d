// The nine DM functions' outputs on a job (and the tool's, until it moves
// onto the public interface): the module size resolved against the screen
// with the "exactly 0 keeps the previous pixels" rule, the symbol built and
// drawn, the failure turned into errno.
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

#include "driver/render_symbol.h"
#include "platform/drawing_surface.h"

namespace ecc200 {

// The errno value the nine report for a failure.
int ErrnoOf(const Outcome& outcome);

// The drawing of a job's picture: the module size in pixels from the
// screen's resolution along the axis the symbol's rows run on; a module size
// of exactly 0 keeps `modulePixels`, which is updated to the size used.
PictureGeometry ResolveJobStyle(const PictureStyle& style, const SymbolMatrix& symbol, std::int32_t& modulePixels);

// Builds the job's symbol and draws it onto `dc`, the picture's top-left
// corner at the origin; false (errno E2BIG) when the message is too long.
bool RenderSymbol(const SymbolJob& job, platform::DeviceContext& dc, std::int32_t originX, std::int32_t originY,
                  std::int32_t& modulePixels);

// The enhanced metafile of the job, or nothing with errno set.
std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels);

bool CopyToClipboard(const SymbolJob& job, std::int32_t& modulePixels);
bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options = {});
bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options = {});

}  // namespace ecc200

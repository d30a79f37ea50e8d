// Where a picture's bytes go: a file, saved safely, or the clipboard. (The
// in-memory deliveries, a caller's buffer or writer, are the C interface's
// own, in src/api.)
#pragma once

#include <memory>

#include "common/failure.h"
#include "platform/drawing_surface.h"

namespace ecc200 {

struct PictureBytes;

// platform::ReplaceFileWith: the file replaced whole or not at all;
// FileError with the system's error number otherwise.
Outcome SaveToFile(const char* path, const PictureBytes& picture, const platform::SaveOptions& options = {});

// The clipboard takes the metafile, or ClipboardRefused with EBUSY (it
// keeps what it held).
Outcome PutOnClipboard(std::unique_ptr<platform::EnhMetafile> metafile);

}  // namespace ecc200

// Delivers one picture: to a file or standard output in any of the five
// formats, or to the clipboard. BMP and WMF files are the library's own
// outputs; EMF, PNG and SVG are made in memory and saved the library's way.
// A failure comes back as one line naming its cause.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "library_saving.h"
#include "output_format.h"

namespace ecc200 {
struct SymbolJob;
}

namespace ecc200::tool {

// Writes `job` in `format` to `path` ("-": standard output). batch given:
// a batch flushes the file system once at the end instead, where
// batch->flushOwed was set (a file replaced). Returns nothing on success,
// else the error line without the program's name.
std::optional<std::string> WritePicture(OutputFormat format, const std::string& path, const SymbolJob& job,
                                        BatchSaving* batch);

// Puts the enhanced metafile on the system clipboard (Windows); elsewhere
// there is none, and the result says so.
std::optional<std::string> PutPictureOnClipboard(const SymbolJob& job);

// Whether this build has a system clipboard.
bool HasSystemClipboard();

}  // namespace ecc200::tool

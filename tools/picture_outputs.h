// Delivers one picture through the library's public interface: to a file or
// standard output in any of the five formats, or to the clipboard. A failure
// comes back as one line naming its cause in the user's terms
// (failure_line.h).
#pragma once

#include <optional>
#include <string>

#include <ecc200.hpp>

#include "failure_line.h"
#include "options.h"
#include "output_format.h"

namespace ecc200::tool {

// The module the options' outputs draw `symbol` with, from the library's
// layout: on standard error a warning when a whole-pixel output draws it
// more than 10 % below the size asked, or the library's refusal when it is
// under one pixel. False after a refusal: nothing is to be drawn.
bool CheckOutputModule(const Options& options, const Symbol& symbol);

// Writes the job's picture in `format` to `path` ("-": standard output).
// Returns nothing on success, else the error line without the program's
// name; on failure no file is left changed.
std::optional<std::string> WritePicture(OutputFormat format, const std::string& path, const PictureJob& job);

// Puts the enhanced metafile on the system clipboard through the library
// (Windows); elsewhere there is none, and the result says so.
std::optional<std::string> PutPictureOnClipboard(const PictureJob& job);

// Whether this build has a system clipboard.
bool HasSystemClipboard();

}  // namespace ecc200::tool

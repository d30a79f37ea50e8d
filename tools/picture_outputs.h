// Delivers one picture through the library's public interface: to a file or
// standard output in any of the five formats, or to the clipboard. A failure
// comes back as one line naming its cause in the user's terms.
#pragma once

#include <optional>
#include <string>

#include <ecc200.hpp>

#include "options.h"
#include "output_format.h"
#include "picture_geometry.h"

namespace ecc200::tool {

// A symbol, how to draw it, and the module the library draws it with (when
// it could be measured).
struct PictureJob {
    Symbol symbol;
    Picture picture;
    std::optional<ModuleMeasure> module;
};

// The module the options' outputs will be drawn with, laid out once; on
// standard error a warning when a whole-pixel output draws it more than
// 10 % below the size asked, or the library's refusal when it is under one
// pixel (`failed`: nothing is to be drawn).
struct OutputModule {
    std::optional<ModuleMeasure> module;
    bool failed = false;
};
OutputModule MeasureOutputModule(const Options& options);

// Writes the job's picture in `format` to `path` ("-": standard output).
// Returns nothing on success, else the error line without the program's
// name; on failure no file is left changed.
std::optional<std::string> WritePicture(OutputFormat format, const std::string& path, const PictureJob& job);

// Puts the enhanced metafile on the system clipboard through the library
// (Windows); elsewhere there is none, and the result says so.
std::optional<std::string> PutPictureOnClipboard(const PictureJob& job);

// The library's explanation of a failure, as the user's line: what()
// without the status text std::system_error adds to it.
std::string Explanation(const Error& error);

// Whether this build has a system clipboard.
bool HasSystemClipboard();

}  // namespace ecc200::tool

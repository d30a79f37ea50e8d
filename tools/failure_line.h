// The tool's one translation of the library's failures: each ecc200::Error
// (its status, explanation and numbers) becomes the one line the tool
// prints after "ecc200: ", in the words of the tool's options. Every size
// the line names comes from the library: its diagnostic or
// ecc200_picture_layout.
#pragma once

#include <string>

#include <ecc200.hpp>

#include "output_format.h"

namespace ecc200::tool {

// A symbol and how to draw it.
struct PictureJob {
    Symbol symbol;
    Picture picture;
};

// The line for a failure to encode, or any failure without a picture.
std::string FailureLine(const Error& error);

// The line for a failure to draw the job in `format` into `path` ("-":
// standard output).
std::string PictureFailureLine(const Error& error, OutputFormat format, const std::string& path, const PictureJob& job);

// The line for memory that ran out drawing the job in `format`.
std::string OutOfMemoryLine(const PictureJob& job, OutputFormat format);

// The warning when a whole-pixel format draws the module more than 10 %
// below the centimetres asked, from the library's layout of the job; empty
// otherwise.
std::string ModuleShrunkWarning(const Picture& picture, const Layout& laid);

// The warning when a ZPL label's module, rounded to whole printer dots,
// differs from the centimetres asked by more than 5 %, both sizes in mm and
// in dots; empty otherwise.
std::string ZplModuleWarning(const Picture& picture, const Layout& laid);

}  // namespace ecc200::tool

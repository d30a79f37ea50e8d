// The picture formats the tool writes and how an output names its format.
#pragma once

#include <optional>
#include <string>

#include <ecc200.hpp>

namespace ecc200::tool {

enum class OutputFormat { Bmp, Wmf, Emf, Png, Svg, Zpl, Pdf, Eps };

struct OutputRequest {
    OutputFormat format;
    std::string path;  // "-" for standard output; a pattern with # in batch mode
};

// A batch output that is one stream of ZPL labels, one a line (a ZPL output
// without #), rather than a file per line.
bool IsLabelStream(const OutputRequest& output);

// "bmp", "wmf", "emf", "png", "svg", "zpl", "pdf" or "eps", any case, with or without the dot.
std::optional<OutputFormat> FormatNamed(std::string name);

// The format a file name's extension names, if any.
std::optional<OutputFormat> FormatOfPath(const std::string& path);

const char* FormatName(OutputFormat format);  // "BMP", ...
Format LibraryFormat(OutputFormat format);
// SVG, PDF and EPS: the formats that carry the human-readable text.
bool CarriesText(OutputFormat format);

}  // namespace ecc200::tool

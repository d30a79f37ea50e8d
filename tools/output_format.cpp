#include "output_format.h"

#include <cctype>

namespace ecc200::tool {
namespace {

struct FormatEntry {
    OutputFormat format;
    Format library;
    const char* extension;
    const char* name;
};

constexpr FormatEntry kFormats[] = {
    {OutputFormat::Bmp, Format::bmp, ".bmp", "BMP"}, {OutputFormat::Wmf, Format::wmf, ".wmf", "WMF"},
    {OutputFormat::Emf, Format::emf, ".emf", "EMF"}, {OutputFormat::Png, Format::png, ".png", "PNG"},
    {OutputFormat::Svg, Format::svg, ".svg", "SVG"}, {OutputFormat::Zpl, Format::zpl, ".zpl", "ZPL"},
    {OutputFormat::Pdf, Format::pdf, ".pdf", "PDF"}, {OutputFormat::Eps, Format::eps, ".eps", "EPS"},
};

const FormatEntry& EntryOf(OutputFormat format) {
    for (const FormatEntry& entry : kFormats) {
        if (entry.format == format) return entry;
    }
    return kFormats[0];
}

}  // namespace

std::optional<OutputFormat> FormatNamed(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name.empty() || name[0] != '.') name.insert(0, 1, '.');
    for (const FormatEntry& entry : kFormats) {
        if (name == entry.extension) return entry.format;
    }
    return std::nullopt;
}

std::optional<OutputFormat> FormatOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
    return FormatNamed(path.substr(dot));
}

bool IsLabelStream(const OutputRequest& output) {
    return output.format == OutputFormat::Zpl && output.path.find('#') == std::string::npos;
}

const char* FormatName(OutputFormat format) { return EntryOf(format).name; }
Format LibraryFormat(OutputFormat format) { return EntryOf(format).library; }
bool CarriesText(OutputFormat format) {
    return format == OutputFormat::Svg || format == OutputFormat::Pdf || format == OutputFormat::Eps;
}

}  // namespace ecc200::tool

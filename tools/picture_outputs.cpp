#include "picture_outputs.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <new>
#include <system_error>
#include <vector>

#include "png_picture.h"
#include "svg_picture.h"
#include "system_io.h"

namespace ecc200::tool {
namespace {

using Bytes = std::vector<std::uint8_t>;

// PNG and SVG: the tool's own writers until the library dispatches these
// formats; then this becomes true and png_picture.*, svg_picture.* and
// one_bit_picture.* go.
constexpr bool kLibraryWritesPngAndSvg = false;

// The resolution the tool's own PNG and SVG record when it could not be measured.
constexpr int kFallbackDpi = 96;

bool ToolDraws(OutputFormat format) {
    return !kLibraryWritesPngAndSvg && (format == OutputFormat::Png || format == OutputFormat::Svg);
}

Bytes ToolPicture(OutputFormat format, const PictureJob& job) {
    const int dpi = job.module ? job.module->dpi : kFallbackDpi;
    if (format == OutputFormat::Png) return PngPicture(job.symbol, job.picture, dpi);
    const std::string svg = SvgPicture(job.symbol, job.picture, dpi);
    return Bytes(svg.begin(), svg.end());
}

Bytes PictureBytes(OutputFormat format, const PictureJob& job) {
    if (ToolDraws(format)) return ToolPicture(format, job);
    return render(job.symbol, job.picture, LibraryFormat(format));
}

std::string Where(const std::string& path) { return path == "-" ? "standard output" : path; }

// The library reports errno values on every system (ecc200.h), as the tool does.
std::string SystemText(int error) { return std::generic_category().message(error); }

// The line for a failure the library reported.
std::string Failure(const Error& error, OutputFormat format, const std::string& path, const PictureJob& job) {
    const int pixels = job.module ? job.module->pixels : 0;
    switch (static_cast<Status>(error.code().value())) {
        case Status::symbol_cropped:
            if (pixels > 0) return CroppedProblem(job.symbol, job.picture, pixels);
            break;
        case Status::picture_too_large:
            if (pixels > 0) {
                return PictureText(PictureSizeOf(job.symbol, job.picture, pixels)) + " is too large for a " +
                       FormatName(format) + " file";
            }
            break;
        case Status::file_error:
            if (error.system_error() != 0) return "cannot write " + Where(path) + ": " + SystemText(error.system_error());
            return "cannot write " + Where(path);
        default: break;
    }
    return Explanation(error);
}

void Deliver(OutputFormat format, const std::string& path, const PictureJob& job) {
    if (path == "-") {
        const Bytes bytes = PictureBytes(format, job);
        if (!WriteStandardOutput(bytes.data(), bytes.size())) throw Error(Status::file_error, "", errno);
    } else if (ToolDraws(format)) {
        if (!ReplaceFileWith(path, ToolPicture(format, job))) throw Error(Status::file_error, "", errno);
    } else {
        save(job.symbol, job.picture, path, LibraryFormat(format));
    }
}

}  // namespace

std::string Explanation(const Error& error) {
    std::string text = error.what();
    const std::string added = ": " + error.code().message();
    const bool suffixed = text.size() > added.size() && text.compare(text.size() - added.size(), added.size(), added) == 0;
    if (suffixed) text.erase(text.size() - added.size());
    return text;
}

OutputModule MeasureOutputModule(const Options& options) {
    const std::optional<ModuleMeasure> module = MeasureModule(options.picture);
    if (!module) return {module, false};
    if (const std::optional<std::string> problem = ModuleTooSmall(options.picture, *module)) {
        std::cerr << "ecc200: " << *problem << '\n';
        return {module, true};
    }
    // SVG draws the exact size; every other format whole pixels.
    const bool pixels = options.clipboard || std::any_of(options.outputs.begin(), options.outputs.end(), [](const OutputRequest& output) {
                            return output.format != OutputFormat::Svg;
                        });
    const std::optional<std::string> shrunk = ModuleShrunk(options.picture, *module);
    if (shrunk && pixels) std::cerr << "ecc200: " << *shrunk << '\n';
    return {module, false};
}

std::optional<std::string> WritePicture(OutputFormat format, const std::string& path, const PictureJob& job) {
    try {
        Deliver(format, path, job);
        return std::nullopt;
    } catch (const Error& error) {
        return Failure(error, format, path, job);
    } catch (const std::bad_alloc&) {
        if (!job.module) return "out of memory";
        return "out of memory for " + PictureText(PictureSizeOf(job.symbol, job.picture, job.module->pixels));
    }
}

#ifdef _WIN32
bool HasSystemClipboard() { return true; }

std::optional<std::string> PutPictureOnClipboard(const PictureJob& job) {
    // The C++ layer has no clipboard call; the C one takes the C picture.
    ecc200_diagnostic diagnostic{};
    diagnostic.struct_size = sizeof diagnostic;
    const ecc200_picture picture = detail::ToC(job.picture);
    if (ecc200_copy_to_clipboard(job.symbol.handle(), &picture, &diagnostic) == ECC200_OK) return std::nullopt;
    if (diagnostic.message[0] != '\0') return std::string(diagnostic.message);
    return std::string("cannot put the symbol on the clipboard");
}
#else
bool HasSystemClipboard() { return false; }

std::optional<std::string> PutPictureOnClipboard(const PictureJob&) {
    return std::string("no system clipboard on this platform; use -o FILE.emf");
}
#endif

}  // namespace ecc200::tool

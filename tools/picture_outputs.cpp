#include "picture_outputs.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <new>
#include <system_error>
#include <vector>

#include "system_io.h"

namespace ecc200::tool {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Where(const std::string& path) { return path == "-" ? "standard output" : path; }

// The library reports errno values on every system (ecc200.h), as the tool does.
std::string SystemText(int error) { return std::generic_category().message(error); }

// The line for a failure the library reported.
std::string Failure(const Error& error, OutputFormat format, const std::string& path, const PictureJob& job) {
    // An SVG's modules are exact, not the whole pixels measured: its
    // refusals are the library's own.
    const int pixels = job.module && format != OutputFormat::Svg ? job.module->pixels : 0;
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
        const Bytes bytes = render(job.symbol, job.picture, LibraryFormat(format));
        if (!WriteStandardOutput(bytes.data(), bytes.size())) throw Error(Status::file_error, "", errno);
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

// Every format but SVG draws whole pixels (the clipboard's EMF too): the
// module is measured, and any shrinking reported, for those; an SVG of
// exact modules needs no whole pixel.
OutputModule MeasureOutputModule(const Options& options) {
    const bool pixels = options.clipboard || std::any_of(options.outputs.begin(), options.outputs.end(), [](const OutputRequest& output) {
                            return output.format != OutputFormat::Svg;
                        });
    std::optional<ModuleMeasure> module;
    try {
        module = MeasureModule(options.picture, pixels ? Format::bmp : Format::svg);
    } catch (const Error& refusal) {
        std::cerr << "ecc200: " << Explanation(refusal) << '\n';
        return {std::nullopt, true};
    }
    if (!module || !pixels) return {module, false};
    if (const std::optional<std::string> shrunk = ModuleShrunk(options.picture, *module)) std::cerr << "ecc200: " << *shrunk << '\n';
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

// Elsewhere the library's clipboard is a stand-in of the process, gone
// when the tool exits.
bool HasSystemClipboard() {
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

std::optional<std::string> PutPictureOnClipboard(const PictureJob& job) {
    if (!HasSystemClipboard()) return std::string("no system clipboard on this platform; use -o FILE.emf");
    try {
        copy_to_clipboard(job.symbol, job.picture);
        return std::nullopt;
    } catch (const Error& error) {
        return Explanation(error);
    } catch (const std::bad_alloc&) {
        return std::string("out of memory");
    }
}

}  // namespace ecc200::tool

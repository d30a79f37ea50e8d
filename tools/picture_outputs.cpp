#include "picture_outputs.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <new>
#include <vector>

#include "system_io.h"

namespace ecc200::tool {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Deliver(OutputFormat format, const std::string& path, const PictureJob& job) {
    if (path == "-") {
        const Bytes bytes = render(job.symbol, job.picture, LibraryFormat(format));
        if (!WriteStandardOutput(bytes.data(), bytes.size())) throw Error(Status::file_error, "", errno);
    } else {
        save(job.symbol, job.picture, path, LibraryFormat(format));
    }
}

}  // namespace

// Every format but SVG, PDF and EPS draws whole pixels (the clipboard's EMF too): the
// module is checked, and any shrinking reported, for those; an SVG of exact
// modules needs no whole pixel. The picture is laid out fitted, so that
// only the module itself can be refused here: a size that cuts the symbol
// or a picture the format cannot hold is the drawing's to name.
bool CheckOutputModule(const Options& options, const Symbol& symbol) {
    const bool pixels = options.clipboard || std::any_of(options.outputs.begin(), options.outputs.end(), [](const OutputRequest& output) {
                            return !CarriesText(output.format);  // SVG, PDF and EPS draw exact modules
                        });
    const auto isZpl = [](const OutputRequest& output) { return output.format == OutputFormat::Zpl; };
    const bool zpl = std::any_of(options.outputs.begin(), options.outputs.end(), isZpl);
    const bool zplOnly = !options.clipboard && std::all_of(options.outputs.begin(), options.outputs.end(), isZpl);
    Picture fitted = options.picture;
    fitted.width = fitted.height = 0;
    fitted.allow_crop = false;
    try {
        if (!zplOnly) {
            const Layout laid = layout(symbol, fitted, pixels ? Format::bmp : Format::svg);
            const std::string warning = pixels ? ModuleShrunkWarning(options.picture, laid) : "";
            if (!warning.empty()) std::cerr << "ecc200: " << warning << '\n';
        }
        // A ZPL label's module in the printer's whole dots, at its own
        // resolution: never below one dot.
        const std::string zplWarning = zpl ? ZplModuleWarning(options.picture, layout(symbol, fitted, Format::zpl)) : "";
        if (!zplWarning.empty()) std::cerr << "ecc200: " << zplWarning << '\n';
    } catch (const Error& refusal) {
        if (refusal.code() != Status::invalid_argument) return true;
        std::cerr << "ecc200: " << FailureLine(refusal) << '\n';
        return false;
    }
    return true;
}

std::optional<std::string> WritePicture(OutputFormat format, const std::string& path, const PictureJob& job) {
    try {
        Deliver(format, path, job);
        return std::nullopt;
    } catch (const Error& error) {
        return PictureFailureLine(error, format, path, job);
    } catch (const std::bad_alloc&) {
        return OutOfMemoryLine(job, format);
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
        return FailureLine(error);
    } catch (const std::bad_alloc&) {
        return OutOfMemoryLine(job, OutputFormat::Emf);
    }
}

}  // namespace ecc200::tool

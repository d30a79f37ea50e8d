#include "picture_outputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "driver/render_symbol.h"
#include "library_saving.h"
#include "output/bmp_file.h"
#include "api/job_outputs.h"
#include "output/placeable_wmf.h"
#include "platform/drawing_surface.h"
#include "png_picture.h"
#include "svg_picture.h"
#include "system_io.h"

namespace ecc200::tool {

#ifndef ECC200_TOOL_PNG
// Builds without libpng (the Windows cross-builds) write no PNG.
std::optional<std::vector<std::uint8_t>> PngPicture(const SymbolJob&, std::int32_t&) {
    errno = ENOSYS;
    return std::nullopt;
}
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string PictureText(const PictureStyle& style) {
    return "a " + std::to_string(style.width) + " x " + std::to_string(style.height) + " picture";
}

// The error line for a failed output from the cause the system gave.
std::string Failure(int error, OutputFormat format, const std::string& path, const PictureStyle& style) {
    const std::string where = path == "-" ? "standard output" : path;
    switch (error) {
        case ENOMEM: return "out of memory for " + PictureText(style);
        case EFBIG: return PictureText(style) + " is too large for a " + FormatName(format) + " file";
        case E2BIG: return "the message is too long for any symbol";
        case ENOSYS: return std::string("this build of ecc200 cannot write ") + FormatName(format);
        case 0: return "cannot write " + where;
        default: return "cannot write " + where + ": " + std::strerror(error);
    }
}

// BMP and WMF bytes exactly as the library saves them: saved to a private
// file, read back and removed.
std::optional<Bytes> SavedBytes(OutputFormat format, const SymbolJob& job, std::int32_t& modulePixels) {
    const std::string temporary = PrivateTemporaryPath(FormatExtension(format));
    // A new file, so never flushed.
    const bool saved = format == OutputFormat::Bmp ? SaveBmpFile(temporary, job, modulePixels, nullptr)
                                                   : SaveWmfFile(temporary, job, modulePixels, nullptr);
    if (!saved) return std::nullopt;
    std::string content;
    const bool read = ReadWholeFile(temporary, content);
    const int readError = errno;
    std::remove(temporary.c_str());
    errno = readError;
    if (!read) return std::nullopt;
    return Bytes(content.begin(), content.end());
}

std::optional<Bytes> EmfBytes(const SymbolJob& job, std::int32_t& modulePixels) {
    const std::unique_ptr<platform::EnhMetafile> metafile = RecordEnhMetafile(job, modulePixels);
    if (!metafile) return std::nullopt;
    return metafile->GetBits();
}

std::optional<Bytes> PictureBytes(OutputFormat format, const SymbolJob& job, std::int32_t& modulePixels) {
    switch (format) {
        case OutputFormat::Bmp:
        case OutputFormat::Wmf: return SavedBytes(format, job, modulePixels);
        case OutputFormat::Emf: return EmfBytes(job, modulePixels);
        case OutputFormat::Png: return PngPicture(job, modulePixels);
        case OutputFormat::Svg: {
            const std::optional<std::string> svg = SvgPicture(job, modulePixels);
            if (!svg) return std::nullopt;
            return Bytes(svg->begin(), svg->end());
        }
    }
    return std::nullopt;
}

// The formats' own limits, checked before anything is drawn.
bool FitsFormat(OutputFormat format, const PictureStyle& style) {
    switch (format) {
        case OutputFormat::Bmp:
        case OutputFormat::Png: return MonochromeGeometryOf(style.width, style.height).has_value();
        case OutputFormat::Wmf: return style.width <= kMaxPlaceableExtent && style.height <= kMaxPlaceableExtent;
        default: return true;
    }
}

bool Deliver(OutputFormat format, const std::string& path, const SymbolJob& job, BatchSaving* batch) {
    std::int32_t modulePixels = 0;
    if (path == "-") {
        const std::optional<Bytes> bytes = PictureBytes(format, job, modulePixels);
        return bytes && WriteStandardOutput(bytes->data(), bytes->size());
    }
    switch (format) {
        case OutputFormat::Bmp: return SaveBmpFile(path, job, modulePixels, batch);
        case OutputFormat::Wmf: return SaveWmfFile(path, job, modulePixels, batch);
        default: {
            const std::optional<Bytes> bytes = PictureBytes(format, job, modulePixels);
            return bytes && SaveBytes(path, *bytes, batch);
        }
    }
}

}  // namespace

std::optional<std::string> WritePicture(OutputFormat format, const std::string& path, const SymbolJob& job,
                                        BatchSaving* batch) {
    if (!FitsFormat(format, job.style)) return Failure(EFBIG, format, path, job.style);
    try {
        errno = 0;
        if (Deliver(format, path, job, batch)) return std::nullopt;
        return Failure(errno, format, path, job.style);
    } catch (const std::bad_alloc&) {
        return Failure(ENOMEM, format, path, job.style);
    }
}

#ifdef _WIN32
bool HasSystemClipboard() { return true; }

std::optional<std::string> PutPictureOnClipboard(const SymbolJob& job) {
    std::int32_t modulePixels = 0;
    try {
        if (CopyToClipboard(job, modulePixels)) return std::nullopt;
        return std::string("cannot put the symbol on the clipboard");
    } catch (const std::bad_alloc&) {
        return "out of memory for " + PictureText(job.style);
    }
}
#else
bool HasSystemClipboard() { return false; }

std::optional<std::string> PutPictureOnClipboard(const SymbolJob&) {
    return std::string("no system clipboard on this platform; use -o FILE.emf");
}
#endif

}  // namespace ecc200::tool

// ecc200_render, ecc200_render_to, ecc200_render_alloc, ecc200_save and
// ecc200_copy_to_clipboard: one drawing (driver/render_symbol.h), delivered
// into the caller's buffer, to its writer, into a block of our own, to a
// file or to the clipboard.
#include <cstdlib>
#include <cstring>
#include <new>

#include "api/picture_request.h"
#include "api/symbol_object.h"
#include "api/versioned_structs.h"
#include "driver/picture_scratch.h"
#include "output/picture_bytes.h"
#include "output/picture_delivery.h"

namespace ecc200 {
namespace {

const char* FormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp: return "BMP";
        case PictureFormat::Wmf: return "WMF";
        case PictureFormat::Emf: return "EMF";
        case PictureFormat::Png: return "PNG";
        case PictureFormat::Svg: return "SVG";
        case PictureFormat::Zpl: return "ZPL";
        case PictureFormat::Pdf: return "PDF";
        case PictureFormat::Eps: return "EPS";
    }
    return "?";
}

// The explanation of a format's refusal.
Outcome ExplainFormatRefusal(PictureFormat format, const PictureGeometry& style, const Outcome& refusal,
                             Diagnosis& diagnosis) {
    diagnosis.outcome = refusal;
    // A writer that says why in its own words (a PDF page past its limit).
    if (!refusal.message.empty()) return diagnosis.Refuse(refusal.failure, "%s", refusal.message.c_str());
    switch (refusal.failure) {
        case Failure::Unsupported:
            return diagnosis.Refuse(Failure::Unsupported, "the clipboard takes the GDI-exact %s, not a seamless one",
                                    FormatName(format));
        case Failure::PictureTooLarge:
            // ZPL names the field it passed.
            if (format == PictureFormat::Zpl && !refusal.message.empty())
                return diagnosis.Refuse(Failure::PictureTooLarge, "%s", refusal.message.c_str());
            return diagnosis.Refuse(Failure::PictureTooLarge, "a %d x %d picture is too large for a %s file", style.width,
                                    style.height, FormatName(format));
        default: return diagnosis.Refuse(refusal.failure, "%s: %s", FormatName(format), "cannot draw this picture");
    }
}

bool KnownFormat(ecc200_format format) {
    return format >= ECC200_FORMAT_BMP && format <= ECC200_FORMAT_EPS;
}

// How the picture's metafiles draw.
MetafileDrawing MetafilesOf(const ecc200_picture& picture) {
    return picture.seamless != 0 ? MetafileDrawing::Seamless : MetafileDrawing::GdiFaithful;
}

// How a ZPL label is written.
ZplForm ZplFormOf(const ecc200_picture& picture) { return ZplForm{picture.zpl_z64 != 0, picture.zpl_field_only != 0}; }

// Everything before drawing: the arguments, the picture's fields (read into
// `picture`) and sizes (resolved into `geometry`), the format's limits.
Outcome PreparePicture(const ecc200_symbol* symbol, const ecc200_picture* given, ecc200_format format,
                       ecc200_picture& picture, PictureGeometry& geometry, Diagnosis& diagnosis) {
    if (symbol == nullptr) return diagnosis.Refuse(Failure::InvalidArgument, "no symbol");
    if (!ReadVersioned(given, kFirstPictureSize, DefaultPicture(), picture))
        return diagnosis.Refuse(Failure::InvalidArgument, "the picture's struct_size %u is below the first release's %zu",
                                given->struct_size, kFirstPictureSize);
    if (!KnownFormat(format)) return diagnosis.Refuse(Failure::InvalidArgument, "unknown format %d", format);
    const Outcome resolved = ResolvePicture(picture, static_cast<PictureFormat>(format), *symbol->matrix,
                                            HumanReadableLine{std::string_view(symbol->hriText, symbol->hriLength), symbol->hriUnprintable}, geometry, diagnosis);
    if (!resolved.ok()) return resolved;
    const Outcome fits =
        CheckPictureFormat(static_cast<PictureFormat>(format), geometry, MetafilesOf(picture), ZplFormOf(picture));
    return fits.ok() ? fits : ExplainFormatRefusal(static_cast<PictureFormat>(format), geometry, fits, diagnosis);
}

// `capacity`: a picture whose size, known before drawing, passes it is
// refused (BufferTooSmall, *sizeNeeded set) without being drawn.
Outcome DrawPicture(const ecc200_symbol* symbol, const ecc200_picture* given, ecc200_format format, PictureBytes& out,
                    Diagnosis& diagnosis, std::size_t capacity = SIZE_MAX, std::size_t* sizeNeeded = nullptr) {
    ecc200_picture picture{};
    PictureGeometry geometry{};
    if (const Outcome prepared = PreparePicture(symbol, given, format, picture, geometry, diagnosis); !prepared.ok())
        return prepared;
    const std::uint64_t known = PictureSizeBeforeDrawing(static_cast<PictureFormat>(format), geometry, MetafilesOf(picture),
                                                         ZplFormOf(picture));
    if (sizeNeeded != nullptr && known > capacity && known <= SIZE_MAX) {
        *sizeNeeded = static_cast<std::size_t>(known);
        return diagnosis.Refuse(Failure::BufferTooSmall, "the picture takes %zu bytes; the buffer holds %zu",
                                *sizeNeeded, capacity);
    }
    const Outcome drawn =
        RenderPicture(static_cast<PictureFormat>(format), geometry, MetafilesOf(picture), out, ZplFormOf(picture));
    if (drawn.ok()) return drawn;
    return ExplainFormatRefusal(static_cast<PictureFormat>(format), geometry, drawn, diagnosis);
}

// The frame of every call: a diagnostic of a usable size, nothing thrown
// into C, the status and the diagnostic made from the diagnosis.
template <typename Call>
ecc200_status Guarded(ecc200_diagnostic* diagnostic, Call call) {
    Diagnosis diagnosis;
    if (!DiagnosticIsUsable(diagnostic)) {
        diagnosis.Refuse(Failure::InvalidArgument, "the diagnostic's struct_size is below the first release's");
        return Conclude(diagnosis.outcome, nullptr);
    }
    try {
        diagnosis.outcome = call(diagnosis);
    } catch (const std::bad_alloc&) {
        diagnosis.Refuse(Failure::OutOfMemory, "memory for the picture cannot be had");
    }
    return Conclude(diagnosis.outcome, diagnostic);
}

// The total of a picture's bytes as a size_t, or PictureTooLarge where it
// does not fit one (32-bit hosts).
Outcome TotalSize(const PictureBytes& picture, std::size_t& total, Diagnosis& diagnosis) {
    const std::uint64_t bytes = picture.size();
    if (bytes > SIZE_MAX) return diagnosis.Refuse(Failure::PictureTooLarge, "%llu bytes do not fit memory",
                                                  static_cast<unsigned long long>(bytes));
    total = static_cast<std::size_t>(bytes);
    return {};
}

void CopyPieces(const PictureBytes& picture, std::uint8_t* to) {
    for (const platform::ByteSpan& piece : picture.pieces) {
        if (piece.size == 0) continue;
        std::memcpy(to, piece.data, piece.size);
        to += piece.size;
    }
}

Outcome RenderIntoBuffer(const ecc200_symbol* symbol, const ecc200_picture* picture, ecc200_format format,
                         std::uint8_t* buffer, std::size_t capacity, std::size_t* size, Diagnosis& diagnosis) {
    if (size == nullptr || (buffer == nullptr && capacity != 0))
        return diagnosis.Refuse(Failure::InvalidArgument, "no size, or no buffer for %zu bytes", capacity);
    *size = 0;
    ScratchPictureBytes scratch;
    PictureBytes& bytes = scratch.get();
    const Outcome drawn = DrawPicture(symbol, picture, format, bytes, diagnosis, capacity, size);
    if (!drawn.ok()) return drawn;
    if (const Outcome total = TotalSize(bytes, *size, diagnosis); !total.ok()) return total;
    if (*size > capacity)
        return diagnosis.Refuse(Failure::BufferTooSmall, "the picture takes %zu bytes; the buffer holds %zu", *size,
                                capacity);
    CopyPieces(bytes, buffer);
    return {};
}

Outcome RenderToWriter(const ecc200_symbol* symbol, const ecc200_picture* picture, ecc200_format format,
                       ecc200_write_fn write, void* context, Diagnosis& diagnosis) {
    if (write == nullptr) return diagnosis.Refuse(Failure::InvalidArgument, "no write function");
    ScratchPictureBytes scratch;
    PictureBytes& bytes = scratch.get();
    if (const Outcome drawn = DrawPicture(symbol, picture, format, bytes, diagnosis); !drawn.ok()) return drawn;
    for (const platform::ByteSpan& piece : bytes.pieces) {
        if (piece.size != 0 && write(context, piece.data, piece.size) == 0)
            return diagnosis.Refuse(Failure::WriteRefused, "the write function stopped the output");
    }
    return {};
}

Outcome RenderIntoBlock(const ecc200_symbol* symbol, const ecc200_picture* picture, ecc200_format format,
                        std::uint8_t** block, std::size_t* size, Diagnosis& diagnosis) {
    if (block == nullptr || size == nullptr) return diagnosis.Refuse(Failure::InvalidArgument, "no place for the bytes");
    *block = nullptr;
    *size = 0;
    ScratchPictureBytes scratch;
    PictureBytes& bytes = scratch.get();
    if (const Outcome drawn = DrawPicture(symbol, picture, format, bytes, diagnosis); !drawn.ok()) return drawn;
    std::size_t total = 0;
    if (const Outcome counted = TotalSize(bytes, total, diagnosis); !counted.ok()) return counted;
    auto* copy = static_cast<std::uint8_t*>(std::malloc(total));
    if (copy == nullptr) return diagnosis.Refuse(Failure::OutOfMemory, "%zu bytes cannot be had", total);
    CopyPieces(bytes, copy);
    *block = copy;
    *size = total;
    return {};
}

Outcome SavePicture(const ecc200_symbol* symbol, const ecc200_picture* picture, ecc200_format format, const char* path,
                    Diagnosis& diagnosis) {
    if (path == nullptr) return diagnosis.Refuse(Failure::InvalidArgument, "no file name");
    ScratchPictureBytes scratch;
    PictureBytes& bytes = scratch.get();
    if (const Outcome drawn = DrawPicture(symbol, picture, format, bytes, diagnosis); !drawn.ok()) return drawn;
    diagnosis.outcome = SaveToFile(path, bytes);
    if (diagnosis.outcome.ok()) return {};
    return diagnosis.Refuse(Failure::FileError, "%s: %s", path, std::strerror(diagnosis.outcome.systemError));
}

Outcome LayOutPicture(const ecc200_symbol* symbol, const ecc200_picture* picture, ecc200_format format,
                      ecc200_layout* layout, Diagnosis& diagnosis) {
    if (layout == nullptr || layout->struct_size < kFirstLayoutSize)
        return diagnosis.Refuse(Failure::InvalidArgument, "no layout, or its struct_size is below the first release's");
    ecc200_picture read{};
    PictureGeometry geometry{};
    if (const Outcome prepared = PreparePicture(symbol, picture, format, read, geometry, diagnosis); !prepared.ok())
        return prepared;
    layout->width = geometry.width;
    layout->height = geometry.height;
    layout->module_px = geometry.modulePixels;
    layout->dpi = geometry.dotsPerInch;
    layout->svg_module_px = geometry.exactModulePixels;
    return {};
}

Outcome CopyPictureToClipboard(const ecc200_symbol* symbol, const ecc200_picture* picture, Diagnosis& diagnosis) {
    ecc200_picture read{};
    PictureGeometry geometry{};
    if (const Outcome prepared = PreparePicture(symbol, picture, ECC200_FORMAT_EMF, read, geometry, diagnosis);
        !prepared.ok())
        return prepared;
    std::unique_ptr<platform::EnhMetafile> metafile;
    const Outcome recorded = RecordPictureMetafile(geometry, MetafilesOf(read), metafile);
    if (!recorded.ok()) return ExplainFormatRefusal(PictureFormat::Emf, geometry, recorded, diagnosis);
    diagnosis.outcome = PutOnClipboard(std::move(metafile));  // EBUSY when refused
    if (diagnosis.outcome.ok()) return {};
    return diagnosis.Refuse(Failure::ClipboardRefused, "the clipboard could not be opened");
}

}  // namespace
}  // namespace ecc200

using ecc200::Diagnosis;

extern "C" {

ECC200_API ecc200_status ECC200_CALL ecc200_picture_layout(const ecc200_symbol* symbol, const ecc200_picture* picture,
                                                           ecc200_format format, ecc200_layout* layout,
                                                           ecc200_diagnostic* diagnostic) {
    return ecc200::Guarded(diagnostic, [&](Diagnosis& diagnosis) {
        return ecc200::LayOutPicture(symbol, picture, format, layout, diagnosis);
    });
}

ECC200_API ecc200_status ECC200_CALL ecc200_render(const ecc200_symbol* symbol, const ecc200_picture* picture,
                                                   ecc200_format format, uint8_t* buffer, size_t capacity,
                                                   size_t* size, ecc200_diagnostic* diagnostic) {
    return ecc200::Guarded(diagnostic, [&](Diagnosis& diagnosis) {
        return ecc200::RenderIntoBuffer(symbol, picture, format, buffer, capacity, size, diagnosis);
    });
}

ECC200_API ecc200_status ECC200_CALL ecc200_render_to(const ecc200_symbol* symbol, const ecc200_picture* picture,
                                                      ecc200_format format, ecc200_write_fn write, void* context,
                                                      ecc200_diagnostic* diagnostic) {
    return ecc200::Guarded(diagnostic, [&](Diagnosis& diagnosis) {
        return ecc200::RenderToWriter(symbol, picture, format, write, context, diagnosis);
    });
}

ECC200_API ecc200_status ECC200_CALL ecc200_render_alloc(const ecc200_symbol* symbol, const ecc200_picture* picture,
                                                         ecc200_format format, uint8_t** bytes, size_t* size,
                                                         ecc200_diagnostic* diagnostic) {
    return ecc200::Guarded(diagnostic, [&](Diagnosis& diagnosis) {
        return ecc200::RenderIntoBlock(symbol, picture, format, bytes, size, diagnosis);
    });
}

ECC200_API void ECC200_CALL ecc200_free(void* bytes) { std::free(bytes); }

ECC200_API ecc200_status ECC200_CALL ecc200_save(const ecc200_symbol* symbol, const ecc200_picture* picture,
                                                 ecc200_format format, const char* path,
                                                 ecc200_diagnostic* diagnostic) {
    return ecc200::Guarded(diagnostic, [&](Diagnosis& diagnosis) {
        return ecc200::SavePicture(symbol, picture, format, path, diagnosis);
    });
}

ECC200_API ecc200_status ECC200_CALL ecc200_copy_to_clipboard(const ecc200_symbol* symbol,
                                                              const ecc200_picture* picture,
                                                              ecc200_diagnostic* diagnostic) {
    return ecc200::Guarded(diagnostic, [&](Diagnosis& diagnosis) {
        return ecc200::CopyPictureToClipboard(symbol, picture, diagnosis);
    });
}

}  // extern "C"

#include "png_picture.h"

#ifdef ECC200_TOOL_PNG
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <new>
#endif

#include "one_bit_picture.h"

namespace ecc200::tool {

#ifndef ECC200_TOOL_PNG
// Builds without libpng (the Windows cross-builds) write no PNG.
std::vector<std::uint8_t> PngPicture(const Symbol&, const Picture&, int) {
    throw Error(Status::unsupported, "this build of ecc200 cannot write PNG");
}
#else
namespace {

constexpr double kMetresPerInch = 0.0254;

struct MemorySink {
    std::vector<std::uint8_t> bytes;
    bool outOfMemory = false;
};

void AppendToSink(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<MemorySink*>(png_get_io_ptr(png));
    try {
        sink->bytes.insert(sink->bytes.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        // No exception may cross libpng's C frames; its error path unwinds.
        sink->outOfMemory = true;
        png_error(png, "out of memory");
    }
}

void NoFlush(png_structp) {}

// Only plain data lives in this function, since libpng leaves it by
// longjmp on error.
bool EncodePng(MemorySink& sink, const OneBitPicture& pixels, const png_color palette[2], std::uint32_t pixelsPerMetre) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, AppendToSink, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), 1,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, 2);
    png_set_pHYs(png, info, pixelsPerMetre, pixelsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    // The bitmap's rows have PNG's bit order (leftmost pixel in the highest
    // bit); their padding bits are ignored.
    for (std::int32_t y = 0; y < pixels.height; ++y) png_write_row(png, const_cast<png_bytep>(pixels.row(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> PngPicture(const Symbol& symbol, const Picture& picture, int dpi) {
    const OneBitPicture pixels = DrawOneBit(symbol, picture);
    png_color palette[2];
    for (int b = 0; b < 2; ++b) palette[b] = png_color{pixels.palette[b].r, pixels.palette[b].g, pixels.palette[b].b};
    const auto pixelsPerMetre = static_cast<std::uint32_t>(std::lround(dpi / kMetresPerInch));
    MemorySink sink;
    if (!EncodePng(sink, pixels, palette, pixelsPerMetre)) {
        if (sink.outOfMemory) throw std::bad_alloc();
        throw Error(Status::invalid_argument, "libpng could not write the picture");
    }
    return std::move(sink.bytes);
}
#endif

}  // namespace ecc200::tool

#include "png_picture.h"

#include <png.h>

#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <memory>
#include <new>

#include "api/job_outputs.h"
#include "output/bmp_file.h"
#include "platform/drawing_surface.h"

namespace ecc200::tool {
namespace {

// The one-bit rule of GetDIBits: a colour becomes white (bit 1) exactly
// when r + g + b >= 383.
int BitOf(std::uint32_t colour) {
    const std::uint32_t sum = (colour & 0xFF) + (colour >> 8 & 0xFF) + (colour >> 16 & 0xFF);
    return sum >= 383 ? 1 : 0;
}

png_color PngColour(std::uint32_t colour) {
    return png_color{static_cast<png_byte>(colour & 0xFF), static_cast<png_byte>(colour >> 8 & 0xFF),
                     static_cast<png_byte>(colour >> 16 & 0xFF)};
}

// Palette entry b is the colour whose pixels became bit b. When bar and
// background fall on the same bit, the other entry is black, the pen of the
// frame (the only other thing drawn).
void PaletteFor(const PictureStyle& style, png_color palette[2]) {
    const int backgroundBit = BitOf(style.backgroundColour);
    const int barBit = BitOf(style.barColour);
    palette[1 - backgroundBit] = barBit != backgroundBit ? PngColour(style.barColour) : png_color{0, 0, 0};
    palette[backgroundBit] = PngColour(style.backgroundColour);
}

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

// Encodes bottom-up one-bit rows of `rowBytes` bytes. Only plain data lives
// in this function, since libpng leaves it by longjmp on error.
bool EncodePng(MemorySink& sink, const std::uint8_t* rows, std::uint32_t rowBytes, std::int32_t width,
               std::int32_t height, const png_color palette[2], std::uint32_t pixelsPerMetre) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, AppendToSink, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 1, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, 2);
    png_set_pHYs(png, info, pixelsPerMetre, pixelsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    // The DIB's rows run bottom-up with the same bit order (leftmost pixel
    // in the highest bit) as PNG's; the padding bits are ignored.
    for (std::int32_t y = height - 1; y >= 0; --y) {
        png_write_row(png, const_cast<png_bytep>(rows + static_cast<std::size_t>(y) * rowBytes));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> PngPicture(const SymbolJob& job, std::int32_t& modulePixels) {
    const PictureStyle& style = job.style;
    const std::optional<MonochromeGeometry> geometry = MonochromeGeometryOf(style.width, style.height);
    if (!geometry) {
        errno = EFBIG;
        return std::nullopt;
    }
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(style.width, style.height);
    if (!bitmap) {
        errno = ENOMEM;
        return std::nullopt;
    }
    // Mapped as the BMP output maps its bitmap: one unit per pixel.
    bitmap->SetWindowExtEx(style.width, style.height);
    bitmap->SetWindowOrgEx(0, 0);
    if (!RenderSymbol(job, DrawingTarget{*bitmap, 0, 0}, modulePixels)) {
        errno = EINVAL;
        return std::nullopt;
    }
    // The info header, the two-entry colour table, then the rows.
    constexpr std::size_t kRowsAt = kInfoHeaderSize + kColourTableSize;
    std::vector<std::uint8_t> block(kRowsAt + geometry->imageSize);
    const std::vector<std::uint8_t> header = BitmapInfoHeader(style.width, style.height, *geometry);
    std::copy(header.begin(), header.end(), block.begin());
    bitmap->GetMonochromeDIBits(block.data());
    bitmap.reset();

    png_color palette[2];
    PaletteFor(style, palette);
    const std::int32_t dpi = platform::GetScreenMetrics().logPixelsX;
    const auto pixelsPerMetre = static_cast<std::uint32_t>(std::lround(dpi / 0.0254));
    MemorySink sink;
    if (!EncodePng(sink, block.data() + kRowsAt, geometry->rowBytes, style.width, style.height, palette, pixelsPerMetre)) {
        errno = sink.outOfMemory ? ENOMEM : EIO;
        return std::nullopt;
    }
    return std::move(sink.bytes);
}

}  // namespace ecc200::tool

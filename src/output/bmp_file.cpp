#include "output/bmp_file.h"

#include <cassert>
#include <cstring>
#include <limits>

#include "platform/byte_writer.h"
#include "platform/drawing_surface.h"

namespace ecc200 {

namespace {
constexpr std::uint16_t kBitmapType = 0x4D42;  // "BM"
constexpr std::uint32_t kBiRgb = 0;
// The largest file whose rows are copied into one block even where the
// backend could hand them over as they are.
constexpr std::uint32_t kMostBytesCopied = 64 * 1024;
}  // namespace

std::optional<MonochromeGeometry> MonochromeGeometryOf(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const std::uint64_t rowBytes = ((std::uint64_t{static_cast<std::uint32_t>(width)} + 31) & ~std::uint64_t{31}) / 8;
    const std::uint64_t imageSize = rowBytes * static_cast<std::uint32_t>(height);
    const std::uint64_t fileSize = imageSize + kRowsOffset;
    if (fileSize > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return MonochromeGeometry{static_cast<std::uint32_t>(rowBytes), static_cast<std::uint32_t>(imageSize),
                              static_cast<std::uint32_t>(fileSize)};
}

void WriteBitmapInfoHeader(std::int32_t width, std::int32_t height, const MonochromeGeometry& geometry,
                           std::uint8_t* at) {
    platform::ByteCursor header(at);
    header.u32le(kInfoHeaderSize);     // 0: biSize
    header.i32le(width);               // 4: biWidth
    header.i32le(height);              // 8: biHeight, positive: rows run bottom-up
    header.u16le(1);                   // 12: biPlanes
    header.u16le(1);                   // 14: biBitCount
    header.u32le(kBiRgb);              // 16: biCompression
    header.u32le(geometry.imageSize);  // 20: biSizeImage
    header.i32le(0);                   // 24: biXPelsPerMeter
    header.i32le(0);                   // 28: biYPelsPerMeter
    header.u32le(0);                   // 32: biClrUsed
    header.u32le(0);                   // 36: biClrImportant
    assert(header.position() == at + kInfoHeaderSize);
}

void WriteBitmapFileHeader(const MonochromeGeometry& geometry, std::uint8_t* at) {
    platform::ByteCursor header(at);
    header.u16le(kBitmapType);        // 0: bfType
    header.u32le(geometry.fileSize);  // 2: bfSize
    header.u16le(0);                  // 6: bfReserved1
    header.u16le(0);                  // 8: bfReserved2
    header.u32le(kRowsOffset);        // 10: bfOffBits
    assert(header.position() == at + kFileHeaderSize);
}

std::vector<std::uint8_t> BitmapInfoHeader(std::int32_t width, std::int32_t height, const MonochromeGeometry& geometry) {
    std::vector<std::uint8_t> header(kInfoHeaderSize);
    WriteBitmapInfoHeader(width, height, geometry, header.data());
    return header;
}

std::vector<std::uint8_t> BitmapFileHeader(const MonochromeGeometry& geometry) {
    std::vector<std::uint8_t> header(kFileHeaderSize);
    WriteBitmapFileHeader(geometry, header.data());
    return header;
}

std::unique_ptr<platform::FixedBlock> CaptureMonochromeDib(platform::BitmapContext& bitmap, std::int32_t width,
                                                           std::int32_t height, const MonochromeGeometry& geometry) {
    const std::size_t blockSize = std::size_t{kInfoHeaderSize} + kColourTableSize + geometry.imageSize;
    std::unique_ptr<platform::FixedBlock> block = platform::AllocateFixedBlock(blockSize);
    if (!block) return nullptr;
    WriteBitmapInfoHeader(width, height, geometry, block->data());
    // The conversion fills the colour table and the rows; the header above
    // tells it the format.
    bitmap.GetMonochromeDIBits(block->data());
    return block;
}

MonochromeBmpFile::MonochromeBmpFile() = default;
MonochromeBmpFile::~MonochromeBmpFile() = default;

bool CaptureMonochromeBmp(platform::BitmapContext& bitmap, std::int32_t width, std::int32_t height,
                          const MonochromeGeometry& geometry, MonochromeBmpFile& file) {
    file.pieces.clear();
    file.headers.resize(kFileHeaderSize + kInfoHeaderSize);
    WriteBitmapFileHeader(geometry, file.headers.data());
    // A large file's rows straight from the bitmap where the backend holds
    // them as the file does.
    if (geometry.fileSize > kMostBytesCopied) {
        WriteBitmapInfoHeader(width, height, geometry, file.headers.data() + kFileHeaderSize);
        file.pieces.push_back({file.headers.data(), file.headers.size()});
        if (bitmap.AppendMonochromeDib(file.pieces)) return true;
        file.pieces.clear();
    }
    // A small file's rows, and any the backend does not hold, copied by the
    // one-bit conversion into one block: for a small picture that copy costs
    // less than handing the kernel hundreds of row pieces. A block of the
    // size from an earlier capture is reused.
    const std::size_t blockSize = std::size_t{kInfoHeaderSize} + kColourTableSize + geometry.imageSize;
    if (file.dib && file.dib->size() == blockSize) {
        WriteBitmapInfoHeader(width, height, geometry, file.dib->data());
        bitmap.GetMonochromeDIBits(file.dib->data());
    } else {
        file.dib = CaptureMonochromeDib(bitmap, width, height, geometry);
        if (!file.dib) return false;
    }
    file.pieces.push_back({file.headers.data(), kFileHeaderSize});
    file.pieces.push_back({file.dib->data(), file.dib->size()});
    return true;
}

}  // namespace ecc200

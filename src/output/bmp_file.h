// One-bit-per-pixel BMP files: the monochrome bitmap block (40-byte
// BITMAPINFOHEADER, two-entry colour table, bottom-up rows) and the 14-byte
// BITMAPFILEHEADER in front of it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace ecc200 {

namespace platform {
class BitmapContext;
class FixedBlock;
struct ByteSpan;
}  // namespace platform

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kColourTableSize = 8;  // two RGBQUADs
constexpr std::uint32_t kRowsOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;  // 62

struct MonochromeGeometry {
    std::uint32_t rowBytes;   // 4 * ceil(width / 32)
    std::uint32_t imageSize;  // rowBytes * height
    std::uint32_t fileSize;   // imageSize + 62
};

// The sizes of a width x height picture, or nothing when the picture is
// empty or its image or file size does not fit the format's 32-bit fields.
std::optional<MonochromeGeometry> MonochromeGeometryOf(std::int32_t width, std::int32_t height);

std::vector<std::uint8_t> BitmapInfoHeader(std::int32_t width, std::int32_t height, const MonochromeGeometry& geometry);
std::vector<std::uint8_t> BitmapFileHeader(const MonochromeGeometry& geometry);
// The same headers written at `at` (kInfoHeaderSize, kFileHeaderSize bytes).
void WriteBitmapInfoHeader(std::int32_t width, std::int32_t height, const MonochromeGeometry& geometry, std::uint8_t* at);
void WriteBitmapFileHeader(const MonochromeGeometry& geometry, std::uint8_t* at);

// A BMP file of the bitmap drawn, as the pieces to write: the headers, then
// either the backend's own colour table and rows, or a fixed block that
// GetMonochromeDIBits filled. The pieces point into this value and into
// the bitmap context.
struct MonochromeBmpFile {
    std::vector<std::uint8_t> headers;              // BITMAPFILEHEADER and BITMAPINFOHEADER
    std::unique_ptr<platform::FixedBlock> dib;      // only when the rows are copied
    std::vector<platform::ByteSpan> pieces;

    MonochromeBmpFile();
    ~MonochromeBmpFile();
};

// Fills `file`, reusing its memory (a file captured again at the same size
// allocates nothing); false when the block for copied rows cannot be had
// (smaller allocations throw std::bad_alloc, as everywhere in the outputs).
bool CaptureMonochromeBmp(platform::BitmapContext& bitmap, std::int32_t width, std::int32_t height,
                          const MonochromeGeometry& geometry, MonochromeBmpFile& file);

// Converts the bitmap drawn in `bitmap` into a fixed block holding the
// info header, the colour table and the rows; nothing when the block cannot
// be had.
std::unique_ptr<platform::FixedBlock> CaptureMonochromeDib(platform::BitmapContext& bitmap, std::int32_t width,
                                                           std::int32_t height, const MonochromeGeometry& geometry);

}  // namespace ecc200

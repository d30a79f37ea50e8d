#include "output/png_file.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstring>
#include <new>

#include "output/big_endian.h"
#include "platform/drawing_surface.h"

namespace ecc200 {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::uint8_t kBitDepth = 1;
constexpr std::uint8_t kColourTypePalette = 3;
constexpr std::uint8_t kCompressionDeflate = 0;
constexpr std::uint8_t kFilterMethodAdaptive = 0;
constexpr std::uint8_t kInterlaceNone = 0;
constexpr std::uint8_t kUnitMetre = 1;  // pHYs unit specifier
// Filter type None for a row unlike the one above it (libpng's choice for
// palette images and depths below 8, where prediction gains nothing), Up
// for a row equal to it: every filtered byte is then zero (PNG, ISO/IEC
// 15948, clause 9.2). A symbol's picture repeats each pixel row of a module
// row module_px times, so most rows go as zeros.
constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kFilterUp = 2;
// Deflate's fastest level: on zero rows it loses little. Measured on a
// 20 x 20 symbol at 5 px (120 x 120 pixels): 217 bytes of stream in about
// half the time level 6 took for 212 bytes with filter None throughout.
constexpr int kDeflateLevel = 1;
constexpr int kDeflateWindowBits = 15;  // zlib's default: 32 KB back, rows up to that repeat
constexpr int kDeflateMemLevel = 8;     // zlib's default
// Filtered rows go to deflate in batches of about this many bytes: few
// calls, little memory.
constexpr std::size_t kFilteredBatchBytes = std::size_t{1} << 16;
constexpr std::size_t kChunkLengthSize = 4;
constexpr std::size_t kChunkTypeSize = 4;
constexpr std::size_t kChunkHeaderSize = kChunkLengthSize + kChunkTypeSize;
// PNG's four-byte integers stop at 2^31 - 1.
constexpr std::uint32_t kPngIntMax = 0x7FFFFFFF;
// Each IDAT chunk holds at most this much of the zlib stream; the stream
// may be split anywhere between chunks.
constexpr std::size_t kMostIdatBytes = std::size_t{1} << 20;
// Room added for the zlib stream when the output's capacity has none left.
constexpr std::size_t kLeastRoom = 4096;
constexpr double kMetresPerInch = 0.0254;
constexpr std::uint32_t kWhiteThreshold = 383;  // GetDIBits: white exactly when r + g + b >= 383

// A chunk is appended as its length (patched by EndChunk) and type, then its
// data, then the CRC over type and data. BeginChunk returns where it starts.
std::size_t BeginChunk(std::vector<std::uint8_t>& out, const char (&type)[5]) {
    const std::size_t start = out.size();
    BigEndianWriter(out).u32be(0);
    out.insert(out.end(), type, type + kChunkTypeSize);
    return start;
}

void EndChunk(std::vector<std::uint8_t>& out, std::size_t start) {
    const std::size_t dataSize = out.size() - start - kChunkHeaderSize;
    const std::uint8_t* typeAndData = out.data() + start + kChunkLengthSize;
    const auto crc = static_cast<std::uint32_t>(crc32(0L, typeAndData, static_cast<uInt>(kChunkTypeSize + dataSize)));
    BigEndianWriter writer(out);
    writer.PatchU32be(start, static_cast<std::uint32_t>(dataSize));
    writer.u32be(crc);
}

std::uint8_t OneBitOf(std::uint32_t colour) {
    const std::uint32_t sum = (colour & 0xFF) + (colour >> 8 & 0xFF) + (colour >> 16 & 0xFF);
    return sum >= kWhiteThreshold ? 1 : 0;
}

void AppendRgb(std::vector<std::uint8_t>& out, std::uint32_t colour) {
    // COLORREF 0x00BBGGRR to PNG's red, green, blue.
    for (int shift : {0, 8, 16}) out.push_back(static_cast<std::uint8_t>(colour >> shift & 0xFF));
}

void AppendHeaderChunks(std::vector<std::uint8_t>& out, const MonochromeRows& rows, std::uint32_t barColour,
                        std::uint32_t backgroundColour, std::uint32_t pixelsPerMetre) {
    out.insert(out.end(), kPngSignature.begin(), kPngSignature.end());
    BigEndianWriter writer(out);
    const std::size_t header = BeginChunk(out, "IHDR");
    writer.u32be(static_cast<std::uint32_t>(rows.width));
    writer.u32be(static_cast<std::uint32_t>(rows.height));
    for (std::uint8_t field : {kBitDepth, kColourTypePalette, kCompressionDeflate, kFilterMethodAdaptive, kInterlaceNone}) {
        writer.u8(field);
    }
    EndChunk(out, header);
    // Entry b for bit b: the background's bit holds the background, the
    // other the bars, or the frame's black pen when the bars share the
    // background's bit.
    const std::uint8_t backgroundBit = OneBitOf(backgroundColour);
    const std::uint32_t otherColour = OneBitOf(barColour) != backgroundBit ? barColour : 0x000000;
    const std::size_t palette = BeginChunk(out, "PLTE");
    AppendRgb(out, backgroundBit == 0 ? backgroundColour : otherColour);
    AppendRgb(out, backgroundBit == 0 ? otherColour : backgroundColour);
    EndChunk(out, palette);
    const std::size_t physical = BeginChunk(out, "pHYs");
    writer.u32be(pixelsPerMetre);
    writer.u32be(pixelsPerMetre);
    writer.u8(kUnitMetre);
    EndChunk(out, physical);
}

// The zlib stream of the image data written straight into IDAT chunks at
// the end of `out`: the output grows as deflate needs room, a chunk is
// closed when it is full and when the stream ends.
class IdatWriter {
public:
    IdatWriter(std::vector<std::uint8_t>& out, z_stream_s& stream) : out_(out), stream_(stream) { OpenChunk(); }

    // Deflates `size` bytes; with Z_FINISH, up to the end of the stream.
    // deflate fails (Z_STREAM_ERROR) only on a stream Begin did not ready.
    void Deflate(const std::uint8_t* data, std::size_t size, int flush) {
        stream_.next_in = const_cast<Bytef*>(data);  // zlib's interface predates const; it only reads
        stream_.avail_in = static_cast<uInt>(size);
        for (;;) {
            if (written_ == out_.size()) MakeRoom();
            const std::size_t room = out_.size() - written_;
            stream_.next_out = out_.data() + written_;
            stream_.avail_out = static_cast<uInt>(room);
            const int status = deflate(&stream_, flush);
            assert(status == Z_OK || status == Z_BUF_ERROR || status == Z_STREAM_END);
            written_ += room - stream_.avail_out;
            if (status == Z_STREAM_END) return;
            // Done with this input once it is all taken and deflate did
            // not stop for want of room.
            if (flush != Z_FINISH && stream_.avail_in == 0 && stream_.avail_out != 0) return;
        }
    }

    // Closes the last chunk; `out` then ends with it.
    void Finish() { CloseChunk(); }

private:
    void OpenChunk() {
        chunkStart_ = BeginChunk(out_, "IDAT");
        written_ = out_.size();
    }
    // Drops the room deflate did not use, then ends the chunk.
    void CloseChunk() {
        out_.resize(written_);
        EndChunk(out_, chunkStart_);
    }
    // Room for deflate at the end of `out`: what its capacity still holds
    // (nothing to allocate when the buffer held such a picture before), at
    // least kLeastRoom, never past the chunk's limit.
    void MakeRoom() {
        if (written_ - chunkStart_ - kChunkHeaderSize == kMostIdatBytes) {
            CloseChunk();
            OpenChunk();
        }
        const std::size_t chunkLeft = kMostIdatBytes - (written_ - chunkStart_ - kChunkHeaderSize);
        const std::size_t spare = out_.capacity() - written_;
        out_.resize(written_ + std::min(chunkLeft, std::max(spare, kLeastRoom)));
    }

    std::vector<std::uint8_t>& out_;
    z_stream_s& stream_;
    std::size_t chunkStart_ = 0;
    std::size_t written_ = 0;  // end of the stream so far; out_ may hold room past it
};

// Every row, top to bottom, behind its filter byte, gathered in `filtered`
// and deflated a batch at a time. The bitmap's rows run bottom-up with
// PNG's bit order; only the bytes PNG's row holds are taken.
void DeflateRows(IdatWriter& idat, const MonochromeRows& rows, std::size_t dibRowBytes,
                 std::vector<std::uint8_t>& filtered) {
    const std::size_t pngRowBytes = (static_cast<std::size_t>(rows.width) + 7) / 8;
    const std::uint8_t* above = nullptr;
    filtered.clear();
    for (std::size_t s = rows.spanCount; s-- > 0;) {
        const platform::ByteSpan& span = rows.spans[s];
        for (std::size_t offset = span.size; offset > 0; offset -= dibRowBytes) {
            const std::uint8_t* row = span.data + offset - dibRowBytes;
            if (above != nullptr && (row == above || std::memcmp(row, above, pngRowBytes) == 0)) {
                filtered.push_back(kFilterUp);
                filtered.insert(filtered.end(), pngRowBytes, 0);
            } else {
                filtered.push_back(kFilterNone);
                filtered.insert(filtered.end(), row, row + pngRowBytes);
            }
            above = row;
            if (filtered.size() >= kFilteredBatchBytes) {
                idat.Deflate(filtered.data(), filtered.size(), Z_NO_FLUSH);
                filtered.clear();
            }
        }
    }
    idat.Deflate(filtered.data(), filtered.size(), Z_FINISH);
}

// The rows' spans hold exactly `height` whole rows of GetDIBits' size.
bool RowsMatch(const MonochromeRows& rows, std::size_t dibRowBytes) {
    if (rows.width < 1 || rows.height < 1 || (rows.spans == nullptr && rows.spanCount != 0)) return false;
    std::uint64_t total = 0;
    for (std::size_t s = 0; s < rows.spanCount; ++s) {
        if (rows.spans[s].size % dibRowBytes != 0) return false;
        total += rows.spans[s].size;
    }
    return total == std::uint64_t{dibRowBytes} * static_cast<std::uint32_t>(rows.height);
}

}  // namespace

PngDeflater::PngDeflater() = default;

PngDeflater::~PngDeflater() {
    if (initialised_) deflateEnd(stream_.get());
}

z_stream_s* PngDeflater::Begin() {
    if (initialised_) return deflateReset(stream_.get()) == Z_OK ? stream_.get() : nullptr;
    if (!stream_) {
        stream_.reset(new (std::nothrow) z_stream_s{});
        if (!stream_) return nullptr;
    }
    // zlib's own allocation (zalloc, zfree null).
    initialised_ = deflateInit2(stream_.get(), kDeflateLevel, Z_DEFLATED, kDeflateWindowBits, kDeflateMemLevel,
                                Z_DEFAULT_STRATEGY) == Z_OK;
    return initialised_ ? stream_.get() : nullptr;
}

Outcome AppendPngFile(std::vector<std::uint8_t>& out, const MonochromeRows& rows, std::uint32_t barColour,
                      std::uint32_t backgroundColour, std::int32_t dotsPerInch, PngDeflater& deflater) {
    const double pixelsPerMetre = std::round(dotsPerInch / kMetresPerInch);
    // GetDIBits pads each row to whole 32-bit words.
    const std::size_t dibRowBytes = (static_cast<std::size_t>(std::max(rows.width, 0)) + 31) / 32 * 4;
    if (!RowsMatch(rows, dibRowBytes) || dotsPerInch < 1 || pixelsPerMetre > kPngIntMax) {
        return Failed(Failure::PictureTooLarge);
    }
    const std::size_t originalSize = out.size();
    try {
        z_stream_s* stream = deflater.Begin();
        if (stream == nullptr) return Failed(Failure::OutOfMemory);
        AppendHeaderChunks(out, rows, barColour, backgroundColour, static_cast<std::uint32_t>(pixelsPerMetre));
        IdatWriter idat(out, *stream);
        DeflateRows(idat, rows, dibRowBytes, deflater.filtered);
        idat.Finish();
        EndChunk(out, BeginChunk(out, "IEND"));
        return {};
    } catch (const std::bad_alloc&) {
        out.resize(originalSize);
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200

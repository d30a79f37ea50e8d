// PNG files of the one-bit bitmap: the very pixels GetDIBits gives for the
// BMP output, as a two-entry palette image in the bar and background
// colours, the resolution recorded in pHYs so that a document places the
// picture at its physical size. Chunks are written field by field; zlib
// deflates the image data and computes the chunks' CRCs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/failure.h"

struct z_stream_s;  // zlib's deflate stream

namespace ecc200 {

namespace platform {
struct ByteSpan;
}

// The pixels of a width x height one-bit bitmap as GetDIBits leaves them:
// rows bottom-up, leftmost pixel in the highest bit, each row padded with
// zero bits to 4 bytes. `spans` hold the rows in that order, every span a
// whole number of rows: the rows of one GetMonochromeDIBits block as one
// span, or the pieces of AppendMonochromeDib after its colour table.
struct MonochromeRows {
    const platform::ByteSpan* spans;
    std::size_t spanCount;
    std::int32_t width;
    std::int32_t height;
};


// zlib's deflate state and the rows' buffer, made on the first picture and
// reset for each next one, so that a caller keeping it (one per thread)
// deflates without allocating. One picture at a time; not copied (the state
// is held alone, in a unique_ptr).
class PngDeflater {
public:
    PngDeflater();
    ~PngDeflater();

    // The stream ready for a new picture; null when its memory cannot be had.
    z_stream_s* Begin();

    // The filtered rows on their way to deflate, kept for the next picture.
    std::vector<std::uint8_t> filtered;

private:
    std::unique_ptr<z_stream_s> stream_;
    bool initialised_ = false;
};

// Appends the PNG file to `out`. Palette entry b is the colour whose pixels
// the one-bit conversion made bit b (white exactly when r + g + b >= 383);
// when bar and background fall on the same bit, the other entry is black,
// the frame's pen. `dotsPerInch` goes into pHYs as pixels per metre. On
// failure `out` keeps its size and contents: PictureTooLarge for a width
// or height below 1, rows that do not match them, or a resolution that
// pHYs cannot hold (below 1 dpi, past 2^31 - 1 pixels a metre); OutOfMemory
// when the output or zlib's state cannot be had. An `out` whose capacity held
// the same picture before is not reallocated.
Outcome AppendPngFile(std::vector<std::uint8_t>& out, const MonochromeRows& rows, std::uint32_t barColour,
                      std::uint32_t backgroundColour, std::int32_t dotsPerInch, PngDeflater& deflater);

}  // namespace ecc200

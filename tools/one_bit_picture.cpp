#include "one_bit_picture.h"

namespace ecc200::tool {
namespace {

// BITMAPFILEHEADER and BITMAPINFOHEADER fields (little-endian).
constexpr std::size_t kPixelDataOffset = 10;
constexpr std::size_t kWidthOffset = 18;
constexpr std::size_t kHeightOffset = 22;  // positive: the rows run bottom-up
constexpr std::size_t kHeadersSize = 14 + 40;
constexpr std::uint32_t kRowAlignmentBits = 32;
// GetDIBits' one-bit rule: a colour becomes white (bit 1) exactly when
// r + g + b >= 383.
constexpr int kWhiteThreshold = 383;

std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 | std::uint32_t{bytes[offset + 2]} << 16 |
           std::uint32_t{bytes[offset + 3]} << 24;
}

int BitOf(Rgb colour) { return colour.r + colour.g + colour.b >= kWhiteThreshold ? 1 : 0; }

// Palette entry b is the colour whose pixels became bit b. When bar and
// background fall on the same bit, the other entry is black, the pen of the
// frame (the only other thing drawn).
void PaletteFor(const Picture& picture, Rgb palette[2]) {
    const int backgroundBit = BitOf(picture.background);
    const int barBit = BitOf(picture.bar);
    palette[1 - backgroundBit] = barBit != backgroundBit ? picture.bar : Rgb{0, 0, 0};
    palette[backgroundBit] = picture.background;
}

}  // namespace

OneBitPicture DrawOneBit(const Symbol& symbol, const Picture& picture) {
    OneBitPicture drawn;
    drawn.bmp = render(symbol, picture, Format::bmp);
    if (drawn.bmp.size() < kHeadersSize) throw Error(Status::invalid_argument, "the library drew no bitmap");
    drawn.width = static_cast<std::int32_t>(U32(drawn.bmp, kWidthOffset));
    drawn.height = static_cast<std::int32_t>(U32(drawn.bmp, kHeightOffset));
    drawn.rowBytes = (static_cast<std::uint32_t>(drawn.width) + kRowAlignmentBits - 1) / kRowAlignmentBits * 4;
    drawn.pixelsAt = U32(drawn.bmp, kPixelDataOffset);
    if (drawn.width <= 0 || drawn.height <= 0 ||
        drawn.pixelsAt + std::size_t{drawn.rowBytes} * static_cast<std::size_t>(drawn.height) > drawn.bmp.size()) {
        throw Error(Status::invalid_argument, "the library's bitmap is not one this tool reads");
    }
    PaletteFor(picture, drawn.palette);
    return drawn;
}

}  // namespace ecc200::tool
